// The operating-system services the engine uses: message boxes, file and
// colour dialogs, sound, web addresses, screen fonts, waiting and events.
#pragma once
#include "model/Types.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>
#include <utility>

namespace qv {

// A file chosen in a file dialog: the full path and the file title
// (the name without its folder).
struct FileChoice {
  QString path;
  QString title;
};

// Builds a FileChoice from a full path.
FileChoice fileChoiceFromPath(const QString& path);

// The answers to "Save changes to NAME?".
enum class SaveChoice { Save, DontSave, Cancel };
// The answers to the recovery question at start (our addition): Later keeps
// the copy for the next start.
enum class RecoverChoice { Recover, Discard, Later };

// How a program run by RunProgram went: it ended with an exit status, it
// was still running when the wait was over (it is left to run), or it could
// not be started.
struct ProgramResult {
  enum class Kind { Ended, StillRunning, NotStarted };
  Kind kind = Kind::Ended;
  int exitStatus = 0;
};

class Platform {
 public:
  virtual ~Platform() = default;
  // Yes/No question with a question icon and No as the default; true on Yes.
  virtual bool AskYesNo(const QString& title, const QString& text) = 0;
  // Save / Don't Save / Cancel, with a warning icon and Save as the default.
  virtual SaveChoice AskSaveChanges(const QString& title, const QString& text) = 0;
  // A message with an OK button only; details (the file and the reason, say)
  // go below the text when given.
  virtual void ShowMessage(const QString& title, const QString& text, const QString& details = {}) = 0;
  // File dialogs. The filter is "Description|pattern"; nullopt on cancel.
  // The start is a folder, or for a save a proposed file (a name ending in
  // the filter's extension, with or without its folder).
  virtual std::optional<FileChoice> OpenFileDialog(const QString& title, const QString& filter,
                                                   const QString& startFolder) = 0;
  virtual std::optional<FileChoice> SaveFileDialog(const QString& title, const QString& filter,
                                                   const QString& startFolder) = 0;
  // Colour chooser starting from a colour; nullopt on cancel.
  virtual std::optional<Long> ChooseColor(Long start) = 0;
  // Plays a complete WAVE file from memory without waiting; stops any earlier one.
  virtual void PlaySound(const QByteArray& wave) = 0;
  virtual void StopSound() = 0;
  // Hands an address to the desktop's handler.
  virtual void OpenUrl(const QString& url) = 0;
  // Runs a program and waits at most waitMs for it to end.
  virtual ProgramResult RunProgram(const QString& program, const QStringList& args, int waitMs) = 0;
  virtual QStringList ScreenFonts() = 0;
  // Pauses the program without processing events.
  virtual void Wait(int ms) = 0;
  // Lets pending window events run.
  virtual void ProcessEvents() = 0;
  // The program's own folder (the load dialog's start folder).
  virtual QString ProgramFolder() = 0;

  // Our addition: what is kept between runs. Without kept settings (the
  // CLI, the tests) there is no last folder and nothing is noted.
  // Recover / Discard / Later, with a question icon and Recover the default.
  virtual RecoverChoice AskRecover(const QString& title, const QString& text) = 0;
  // The folder a project was last opened from or saved to, while it is
  // there; empty for none.
  virtual QString LastProjectFolder() { return {}; }
  // A project was opened or saved at path: it heads the recent projects.
  virtual void ProjectUsed(const QString& path) { (void)path; }
  // The system clipboard: the bytes it offers under a MIME type (empty when
  // none), and putting data on it under several types at once in place of
  // what it held.
  virtual QByteArray ClipboardData(const QString& mimeType) = 0;
  virtual void SetClipboardData(const QVector<std::pair<QString, QByteArray>>& data) = 0;
};

}  // namespace qv
