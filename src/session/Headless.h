// A session without windows: a workspace served by a platform with scripted
// answers and a log of every call, and a window host that keeps lists as
// values. The command-line tool, the tests and the benchmarks all use it.
#pragma once
#include "shell/Platform.h"
#include "shell/WindowHost.h"
#include "shell/Workspace.h"

#include <QMap>
#include <QQueue>
#include <QStringList>

namespace qv {

class HeadlessPlatform : public Platform {
 public:
  // One entry per call, e.g. "AskYesNo|Remove Pane - 3|Really remove this Pane ?".
  QStringList log;
  // Answers used in order. With no answer left a question gets
  // answerWhenUnscripted and a dialog is cancelled.
  QQueue<bool> yesNoAnswers;
  bool answerWhenUnscripted = false;
  // Answers to the save question, in order; Cancel when none is left.
  QQueue<SaveChoice> saveAnswers;
  // Answers to the recovery question, in order; Later when none is left.
  QQueue<RecoverChoice> recoverAnswers;
  // What LastProjectFolder gives, and the projects noted as used.
  QString lastProjectFolder;
  QStringList usedProjects;
  QQueue<std::optional<FileChoice>> fileAnswers;
  QQueue<std::optional<Long>> colorAnswers;
  QStringList fonts = {"MS Sans Serif", "DejaVu Sans"};
  QByteArray lastSound;
  QString lastUrl;
  // What RunProgram reports, in order; a program that ended with 0 when none is left.
  QQueue<ProgramResult> programResults;
  int waitedMs = 0;
  QString programFolder = "/opt/quorvel/";
  // The clipboard: its data by MIME type.
  QMap<QString, QByteArray> clipboard;

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
  QStringList ScreenFonts() override { return fonts; }
  void Wait(int ms) override { waitedMs += ms; }
  void ProcessEvents() override {}
  QString ProgramFolder() override { return programFolder; }
  RecoverChoice AskRecover(const QString& title, const QString& text) override;
  QString LastProjectFolder() override { return lastProjectFolder; }
  void ProjectUsed(const QString& path) override { usedProjects << path; }
  QByteArray ClipboardData(const QString& mimeType) override { return clipboard.value(mimeType); }
  void SetClipboardData(const QVector<std::pair<QString, QByteArray>>& data) override;

  // The log entries that start with a prefix.
  QStringList calls(const QString& prefix) const;
};

// A fresh workspace laid out as at start-up: lists filled, the 800 x 600
// Board below the bar, the intro still showing.
struct HeadlessSession {
  HeadlessSession();
  HeadlessPlatform platform;
  HeadlessWindowHost windows;
  Workspace ws;
};

}  // namespace qv
