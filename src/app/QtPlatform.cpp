// Qt implementations of the platform services.
#include "app/QtPlatform.h"

#include "session/Settings.h"
#include "shell/WindowHost.h"

#include <QApplication>
#include <QAudioOutput>
#include <QBuffer>
#include <QClipboard>
#include <QColorDialog>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QMediaPlayer>
#include <QMimeData>
#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <QTimer>
#include <QUrl>

namespace qv {

QString qtFileFilter(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString desc = parts[i].trimmed();
    QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (auto& p : patterns) p = p.trimmed();
    patterns.removeAll(QString());
    if (patterns.isEmpty()) continue;
    // Qt reads the patterns from the last bracket pair of the text, so a
    // bracket pair already in the description is replaced.
    desc.remove(QRegularExpression(QStringLiteral("\\s*\\([^()]*\\)\\s*$")));
    if (desc.isEmpty()) desc = patterns.join(QLatin1Char(' '));
    out << desc + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
  }
  return out.join(QStringLiteral(";;"));
}

namespace {

// Without a window manager nothing gives the keys back when a dialog
// closes: the window that had them (the main window, or the dialog this one
// was opened from) takes them again (our addition).
class KeysBack {
 public:
  explicit KeysBack(QWidget* main)
      : to_(QApplication::activeModalWidget() ? QApplication::activeModalWidget() : main) {}
  ~KeysBack() {
    if (to_ && to_->isVisible()) to_->activateWindow();
  }
  KeysBack(const KeysBack&) = delete;
  KeysBack& operator=(const KeysBack&) = delete;

 private:
  QPointer<QWidget> to_;
};

// A message box wide enough to show its whole title: a window manager cuts
// a title longer than the box ("Activity : End Application" over a short
// question). The box fixes its own size when shown, from its layout's
// minimum, so an empty row of that width joins its layout; the text keeps
// the width it needs beside it.
int exec(QMessageBox& box) {
  const int title = box.fontMetrics().horizontalAdvance(box.windowTitle()) * 5 / 4 + 120;
  if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
    grid->addItem(new QSpacerItem(title, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                  grid->columnCount());
  const KeysBack back(box.parentWidget());
  return box.exec();
}

}  // namespace

QtPlatform::QtPlatform() = default;

QtPlatform::~QtPlatform() {
  if (player_) player_->stop();
}

void QtPlatform::setMainWindow(QWidget* window, WindowHost* host) {
  window_ = window;
  host_ = host;
}

bool QtPlatform::AskYesNo(const QString& title, const QString& text) {
  QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, window_);
  box.setDefaultButton(QMessageBox::No);
  box.setEscapeButton(QMessageBox::No);
  return exec(box) == QMessageBox::Yes;
}

SaveChoice QtPlatform::AskSaveChanges(const QString& title, const QString& text) {
  QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                  window_);
  box.button(QMessageBox::Discard)->setText(QStringLiteral("Don't Save"));
  box.setDefaultButton(QMessageBox::Save);
  box.setEscapeButton(QMessageBox::Cancel);
  switch (exec(box)) {
    case QMessageBox::Save: return SaveChoice::Save;
    case QMessageBox::Discard: return SaveChoice::DontSave;
    default: return SaveChoice::Cancel;
  }
}

RecoverChoice QtPlatform::AskRecover(const QString& title, const QString& text) {
  QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, window_);
  QPushButton* recover = box.addButton(QStringLiteral("Recover"), QMessageBox::AcceptRole);
  QPushButton* discard = box.addButton(QStringLiteral("Discard"), QMessageBox::DestructiveRole);
  QPushButton* later = box.addButton(QStringLiteral("Later"), QMessageBox::RejectRole);
  box.setDefaultButton(recover);
  // Esc and the window's close button keep the copy for the next start.
  box.setEscapeButton(later);
  exec(box);
  return box.clickedButton() == recover ? RecoverChoice::Recover
         : box.clickedButton() == discard ? RecoverChoice::Discard
                                          : RecoverChoice::Later;
}

QString QtPlatform::LastProjectFolder() { return settings_ ? settings_->LastFolder() : QString(); }

void QtPlatform::ProjectUsed(const QString& path) {
  if (settings_) settings_->ProjectUsed(path);
}

void QtPlatform::ShowMessage(const QString& title, const QString& text, const QString& details) {
  QMessageBox box(QMessageBox::Information, title, text, QMessageBox::Ok, window_);
  if (!details.isEmpty()) box.setInformativeText(details);
  exec(box);
}

std::optional<FileChoice> QtPlatform::fileDialog(bool save, const QString& title, const QString& filter,
                                                 const QString& startFolder) {
  QFileDialog dialog(window_, title);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::ReadOnly, false);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (save) dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setNameFilter(qtFileFilter(filter));
  // A name typed without an extension gets the filter's ("garden" saves as
  // garden.QV1); a name with one keeps it.
  if (save) dialog.setDefaultSuffix(QFileInfo(filter.section('|', 1, 1).section(';', 0, 0)).suffix());
  // Without a start folder the dialog opens where it was last used. A save
  // may propose a file: its folder opens with the name filled in.
  const QFileInfo start(startFolder);
  const bool proposed = save && !startFolder.isEmpty() && !start.isDir() && !start.suffix().isEmpty();
  QString folder = !proposed ? startFolder : startFolder.contains('/') ? start.path() : QString();
  if (folder.isEmpty()) folder = lastFolder_;
  if (!folder.isEmpty()) dialog.setDirectory(folder);
  if (proposed) dialog.selectFile(start.fileName());
  const KeysBack back(window_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty() || files.first().isEmpty()) return std::nullopt;
  const QString path = QDir::toNativeSeparators(files.first());
  lastFolder_ = QFileInfo(files.first()).absolutePath();
  if (QFileInfo(path).fileName().isEmpty()) return std::nullopt;
  return fileChoiceFromPath(path);
}

std::optional<FileChoice> QtPlatform::OpenFileDialog(const QString& title, const QString& filter,
                                                     const QString& startFolder) {
  return fileDialog(false, title, filter, startFolder);
}

std::optional<FileChoice> QtPlatform::SaveFileDialog(const QString& title, const QString& filter,
                                                     const QString& startFolder) {
  return fileDialog(true, title, filter, startFolder);
}

std::optional<Long> QtPlatform::ChooseColor(Long start) {
  const KeysBack back(window_);
  const QColor c = QColorDialog::getColor(toQColor(start), window_);
  if (!c.isValid()) return std::nullopt;
  return fromQRgb(c.rgb());
}

void QtPlatform::PlaySound(const QByteArray& wave) {
  StopSound();
  // Without an audio device the player simply stays silent.
  if (wave.isEmpty()) return;
  // A fresh player for every sound: a player handed a new source while its
  // last one still plays now and then ends the new one in a stream error.
  player_.reset();
  audio_ = std::make_unique<QAudioOutput>();
  player_ = std::make_unique<QMediaPlayer>();
  player_->setAudioOutput(audio_.get());
  // The player reads from the buffer while it plays, so the buffer and its
  // bytes live until the next sound replaces them.
  soundBuffer_ = std::make_unique<QBuffer>();
  soundBuffer_->setData(wave);
  soundBuffer_->open(QIODevice::ReadOnly);
  player_->setSourceDevice(soundBuffer_.get(), QUrl(QStringLiteral("sound.wav")));
  player_->play();
}

void QtPlatform::StopSound() {
  if (!player_) return;
  player_->stop();
  player_->setSourceDevice(nullptr);
  soundBuffer_.reset();
}

void QtPlatform::OpenUrl(const QString& url) {
  const QUrl target = QUrl::fromUserInput(url.trimmed());
  if (target.isValid() && !target.isEmpty()) QDesktopServices::openUrl(target);
}

ProgramResult QtPlatform::RunProgram(const QString& program, const QStringList& args, int waitMs) {
  // Without a parent, and deleted only once it ends: a program still running
  // after the wait (xdg-open keeps a browser it started in the foreground)
  // goes on, also after Quorvel quits.
  auto* process = new QProcess;
  process->setStandardOutputFile(QProcess::nullDevice());
  process->setStandardErrorFile(QProcess::nullDevice());
  QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
  process->start(program, args);
  if (!process->waitForStarted(waitMs)) {
    process->deleteLater();
    return {ProgramResult::Kind::NotStarted};
  }
  // The window is painted while it waits; its input waits too.
  ProgramResult result{ProgramResult::Kind::StillRunning};
  QEventLoop wait;
  QObject::connect(process, &QProcess::finished, &wait, [&](int code, QProcess::ExitStatus how) {
    result = {ProgramResult::Kind::Ended, how == QProcess::NormalExit ? code : -1};
    wait.quit();
  });
  QTimer::singleShot(waitMs, &wait, &QEventLoop::quit);
  wait.exec(QEventLoop::ExcludeUserInputEvents);
  return result;
}

QStringList QtPlatform::ScreenFonts() {
  // A family that several foundries make is listed once, without the
  // foundry's tag ("C059 [UKWN]" is C059).
  QStringList names;
  for (const QString& family : QFontDatabase::families()) {
    const QString name = family.section(QStringLiteral(" ["), 0, 0);
    if (!names.contains(name)) names << name;
  }
  return names;
}

void QtPlatform::Wait(int ms) {
  if (ms > 0) QThread::msleep(static_cast<unsigned long>(ms));
}

void QtPlatform::ProcessEvents() {
  if (host_) host_->Refresh();
  QCoreApplication::processEvents();
}

QByteArray QtPlatform::ClipboardData(const QString& mimeType) {
  // Raw bytes only: a picture from another program is read through the
  // engine's own checks, never through Qt's conversion of it.
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  return data && data->hasFormat(mimeType) ? data->data(mimeType) : QByteArray();
}

void QtPlatform::SetClipboardData(const QVector<std::pair<QString, QByteArray>>& data) {
  auto* mime = new QMimeData;
  for (const auto& [type, bytes] : data) mime->setData(type, bytes);
  QGuiApplication::clipboard()->setMimeData(mime);
}

QString QtPlatform::ProgramFolder() { return QCoreApplication::applicationDirPath() + QLatin1Char('/'); }

}  // namespace qv
