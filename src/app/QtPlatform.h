// The platform services for the desktop app: Qt message boxes, file and
// colour dialogs, sound from memory, the desktop's URL handler and fonts.
#pragma once
#include "shell/Platform.h"

#include <QPointer>
#include <memory>

class QAudioOutput;
class QBuffer;
class QMediaPlayer;
class QWidget;

namespace qv {

class Settings;
class WindowHost;

// "Description|pattern;pattern" filters become "Description (pattern pattern)";
// several description|pattern pairs become several Qt filters.
QString qtFileFilter(const QString& filter);

class QtPlatform : public Platform {
 public:
  QtPlatform();
  ~QtPlatform() override;

  // The window that owns the dialogs and is refreshed before events run.
  void setMainWindow(QWidget* window, WindowHost* host);
  // The kept settings (the recent projects and the last folder); none in tests.
  void setSettings(Settings* settings) { settings_ = settings; }

  bool AskYesNo(const QString& title, const QString& text) override;
  SaveChoice AskSaveChanges(const QString& title, const QString& text) override;
  void ShowMessage(const QString& title, const QString& text, const QString& details) override;
  std::optional<FileChoice> OpenFileDialog(const QString& title, const QString& filter,
                                           const QString& startFolder) override;
  std::optional<FileChoice> SaveFileDialog(const QString& title, const QString& filter,
                                           const QString& startFolder) override;
  std::optional<Long> ChooseColor(Long start) override;
  void PlaySound(const QByteArray& wave) override;
  void StopSound() override;
  void OpenUrl(const QString& url) override;
  ProgramResult RunProgram(const QString& program, const QStringList& args, int waitMs) override;
  QStringList ScreenFonts() override;
  void Wait(int ms) override;
  void ProcessEvents() override;
  QString ProgramFolder() override;
  RecoverChoice AskRecover(const QString& title, const QString& text) override;
  QString LastProjectFolder() override;
  void ProjectUsed(const QString& path) override;
  QByteArray ClipboardData(const QString& mimeType) override;
  void SetClipboardData(const QVector<std::pair<QString, QByteArray>>& data) override;

  // The sound player, once a sound was asked for.
  const QMediaPlayer* player() const { return player_.get(); }

 private:
  std::optional<FileChoice> fileDialog(bool save, const QString& title, const QString& filter,
                                       const QString& startFolder);

  QPointer<QWidget> window_;
  WindowHost* host_ = nullptr;
  Settings* settings_ = nullptr;
  QString lastFolder_;
  // Created on the first sound; the buffer holds the bytes while they play.
  std::unique_ptr<QMediaPlayer> player_;
  std::unique_ptr<QAudioOutput> audio_;
  std::unique_ptr<QBuffer> soundBuffer_;
};

}  // namespace qv
