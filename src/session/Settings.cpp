// The settings file and the recent projects.
#include "session/Settings.h"

#include "project/ProjectCommands.h"
#include "session/Commands.h"
#include "shell/Platform.h"
#include "shell/Workspace.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace qv {

namespace {

constexpr qint64 MaxSettingsBytes = 1024 * 1024;

QString xdgFolder(const char* variable, const char* fallback) {
  const QString set = qEnvironmentVariable(variable);
  return QDir::isAbsolutePath(set) ? set : QDir::home().filePath(QLatin1String(fallback));
}

bool isProjectPath(const QString& path) {
  return QDir::isAbsolutePath(path) && path.endsWith(QLatin1String(".QV1"), Qt::CaseInsensitive);
}

}  // namespace

QString ConfigFolder() { return xdgFolder("XDG_CONFIG_HOME", ".config"); }
QString StateFolder() { return xdgFolder("XDG_STATE_HOME", ".local/state"); }
QString SettingsFile(const QString& configFolder) { return QDir(configFolder).filePath("quorvel/quorvel.conf"); }

Settings::Settings(QString file) : file_(std::move(file)) {
  if (const QString why = read(); !why.isEmpty()) {
    warning_ = QStringLiteral("quorvel: the settings file %1 %2; it is ignored and left as it is.").arg(file_, why);
    writable_ = false;
    interval_ = DefaultRecoveryInterval;
    recent_.clear();
    folder_.clear();
  }
}

QString Settings::read() {
  const QFileInfo info(file_);
  if (!info.exists() && !info.isSymLink()) return {};
  QFile f(file_);
  if (!info.isFile()) return QStringLiteral("is not a plain file");
  if (info.size() > MaxSettingsBytes) return QStringLiteral("is larger than 1 MiB");
  if (!f.open(QIODevice::ReadOnly)) return QStringLiteral("cannot be read (%1)").arg(f.errorString());
  const QSettings s(file_, QSettings::IniFormat);
  // Sections are parsed when first looked at: every key is, so that damage
  // anywhere shows in the status.
  (void)s.allKeys();
  if (s.status() != QSettings::NoError) return QStringLiteral("is damaged");
  const QVariant value = s.value("recovery/interval", DefaultRecoveryInterval);
  bool number = false;
  const int interval = value.toInt(&number);
  if (!number) return QStringLiteral("is damaged: recovery/interval is no number");
  interval_ = interval == 0 ? 0 : std::clamp(interval, 5, 3600);
  if (interval_ != interval)
    warning_ = QStringLiteral("quorvel: %1: recovery/interval %2 is outside 5 to 3600 (0 keeps no copies); %3 is used.")
                   .arg(file_)
                   .arg(interval)
                   .arg(interval_);
  for (const QString& p : s.value("recent/projects").toStringList())
    if (isProjectPath(p) && !recent_.contains(p) && recent_.size() < MaxRecentProjects) recent_ << p;
  folder_ = s.value("recent/folder").toString();
  return {};
}

QString Settings::LastFolder() const {
  return QDir::isAbsolutePath(folder_) && QFileInfo(folder_).isDir() ? folder_ : QString();
}

void Settings::ProjectUsed(const QString& path) {
  const QString file = QFileInfo(path).absoluteFilePath();
  recent_.removeAll(file);
  recent_.prepend(file);
  while (recent_.size() > MaxRecentProjects) recent_.removeLast();
  folder_ = QFileInfo(file).absolutePath();
  write();
}

void Settings::Forget(const QString& path) {
  recent_.removeAll(path);
  write();
}

QString Settings::TakeWarning() { return std::exchange(warning_, QString()); }

void Settings::write() {
  if (!writable_) return;
  QDir().mkpath(QFileInfo(file_).absolutePath());
  QSettings s(file_, QSettings::IniFormat);
  s.setValue("recent/projects", recent_);
  s.setValue("recent/folder", folder_);
  s.sync();
  if (s.status() != QSettings::NoError) {
    warning_ = QStringLiteral("quorvel: the settings file %1 could not be written.").arg(file_);
    writable_ = false;
  }
}

Outcome OpenRecentProject(Workspace& ws, Settings& settings, const QString& path) {
  Outcome outcome = Outcome::done();
  if (!QFileInfo(path).isFile()) {
    settings.Forget(path);
    outcome = Outcome::failed(path, QStringLiteral("The project is no longer there; it was taken off the recent projects."));
  } else if (outcome = SaveChangesFirst(ws, QStringLiteral("Load a Project")); outcome.succeeded()) {
    try {
      outcome = FinishLoad(ws, LoadProjectFile(ws, fileChoiceFromPath(path)));
    } catch (const SlotOutOfRange& e) {
      outcome = Outcome::failed(path, QString::fromLatin1(e.what()));
    }
  }
  ReportOutcome(ws, Command::LoadsProject, outcome);
  return outcome;
}

}  // namespace qv
