// A platform with scripted answers and a log of every call, for tests.
#pragma once
#include "shell/Workspace.h"
#include "shell/Platform.h"
#include "shell/WindowHost.h"

#include <QQueue>
#include <QStringList>
#include <memory>

namespace qv {

class FakePlatform : public Platform {
 public:
  // One entry per call, e.g. "AskYesNo|Remove Pane - 3|Really remove this Pane ?".
  QStringList log;
  // Answers used in order; when empty, AskYesNo says No and dialogs cancel.
  QQueue<bool> yesNoAnswers;
  QQueue<std::optional<FileChoice>> fileAnswers;
  QQueue<std::optional<Long>> colorAnswers;
  QStringList fonts = {"MS Sans Serif", "DejaVu Sans"};
  QByteArray lastSound;
  QString lastUrl;
  int waitedMs = 0;
  QString programFolder = "/opt/quorvel/";

  bool AskYesNo(const QString& title, const QString& text) override;
  void ShowMessage(const QString& title, const QString& text) override;
  std::optional<FileChoice> OpenFileDialog(const QString& title, const QString& filter,
                                           const QString& startFolder) override;
  std::optional<FileChoice> SaveFileDialog(const QString& title, const QString& filter,
                                           const QString& startFolder) override;
  std::optional<Long> ChooseColor(Long start) override;
  void PlaySound(const QByteArray& wave) override;
  void StopSound() override;
  void OpenUrl(const QString& url) override;
  QStringList ScreenFonts() override { return fonts; }
  void Wait(int ms) override { waitedMs += ms; }
  void ProcessEvents() override {}
  QString ProgramFolder() override { return programFolder; }

  // The log entries that start with a prefix.
  QStringList calls(const QString& prefix) const;
};

// A fresh workspace with a fake platform and a headless window host, laid
// out as at start-up (lists filled, 800 x 600 Board below the bar).
struct TestBench {
  TestBench();
  FakePlatform platform;
  HeadlessWindowHost windows;
  Workspace ws;
};

}  // namespace qv
