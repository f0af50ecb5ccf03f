// The platform of the headless tool: file dialogs answer with the paths given
// on the command line, questions are answered Yes, messages go to stderr, and
// sound, web addresses and waiting do nothing.
#pragma once
#include "shell/Platform.h"

#include <QStringList>

namespace qv {

class CliPlatform : public Platform {
 public:
  QString openPath;
  QString savePath;
  QStringList messages;

  bool AskYesNo(const QString&, const QString&) override { return true; }
  void ShowMessage(const QString& title, const QString& text) override;
  std::optional<FileChoice> OpenFileDialog(const QString&, const QString&, const QString&) override;
  std::optional<FileChoice> SaveFileDialog(const QString&, const QString&, const QString&) override;
  std::optional<Long> ChooseColor(Long) override { return std::nullopt; }
  void PlaySound(const QByteArray&) override {}
  void StopSound() override {}
  void OpenUrl(const QString&) override {}
  QStringList ScreenFonts() override { return {QStringLiteral("MS Sans Serif")}; }
  void Wait(int) override {}
  void ProcessEvents() override {}
  QString ProgramFolder() override;
};

}  // namespace qv
