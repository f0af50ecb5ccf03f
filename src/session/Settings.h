// Our addition: what Quorvel keeps between runs of the app (never of
// quorvel-cli), in an INI file: the recovery interval, the recent projects
// and the last folder a project was opened from or saved to.
//
//   [recovery]
//   interval=30                 ; seconds, 5 to 3600; 0 keeps no copies
//   [recent]
//   projects=/home/a/garden.QV1, ...   ; newest first, at most 8
//   folder=/home/a
#pragma once
#include "model/Outcome.h"

#include <QStringList>

namespace qv {

struct Workspace;

// XDG_CONFIG_HOME or ~/.config, XDG_STATE_HOME or ~/.local/state (a
// relative path in either variable is ignored, as the XDG rules say).
QString ConfigFolder();
QString StateFolder();
// The settings file: CONFIG/quorvel/quorvel.conf.
QString SettingsFile(const QString& configFolder);

constexpr int DefaultRecoveryInterval = 30;
constexpr int MaxRecentProjects = 8;

class Settings {
 public:
  // Reads the file. One that cannot be read or is damaged is ignored (the
  // defaults hold) and left as it is; warning() says why.
  explicit Settings(QString file);

  int RecoveryInterval() const { return interval_; }
  // The recent projects, newest first.
  const QStringList& Recent() const { return recent_; }
  // The last folder a project was used in, while it is a folder.
  QString LastFolder() const;
  // A project opened or saved: it heads the list, its folder is the last.
  void ProjectUsed(const QString& path);
  // A recent project taken off the list.
  void Forget(const QString& path);
  // What was wrong with the file, for standard error; empty when nothing.
  QString TakeWarning();

 private:
  // Reads the file; why it is ignored, or empty.
  QString read();
  void write();

  QString file_;
  bool writable_ = true;
  int interval_ = DefaultRecoveryInterval;
  QStringList recent_;
  QString folder_;
  QString warning_;
};

// The intro's recent project clicked: opened as Load opens it, after the
// save question; one that no longer exists is taken off the list with a
// message.
Outcome OpenRecentProject(Workspace& ws, Settings& settings, const QString& path);

}  // namespace qv
