// The dispatcher, the key tables' lookup, the report, and the window events.
#include "session/Commands.h"

#include "editing/Panes.h"
#include "editing/Selection.h"
#include "runmode/StageMouse.h"
#include "imaging/BoardRender.h"
#include "imaging/Pictures.h"
#include "project/ProjectCommands.h"
#include "properties/PaneProperties.h"
#include "session/CommandTable.h"
#include "shell/BoardSizes.h"
#include "shell/Platform.h"
#include "shell/Setups.h"

#include <QDir>
#include <QFileInfo>

namespace qv {
namespace {

QSize boardSize(const Workspace& ws) { return {ws.surfaces.picStage.Width(), ws.surfaces.picStage.Height()}; }

// The command a key names, by its key-down or character code (a key-down
// code with the keys held with it).
std::optional<Command> commandForKey(int CommandRow::*code, int value, int shift = -1) {
  if (value == 0) return std::nullopt;
  for (const CommandRow& row : CommandTable())
    if (row.*code == value && (shift < 0 || row.keyDownShift < 0 || row.keyDownShift == shift)) return row.id;
  return std::nullopt;
}

// Whether the commands for chosen Panes have Panes to act on (our
// addition); nullopt for every other command.
std::optional<bool> choiceAllows(const Workspace& ws, Command c) {
  using C = Command;
  switch (c) {
    case C::Paste: return true;
    case C::SelectAll: return CountPanesInUse(ws) > 0;
    case C::DuplicatePane: case C::Order: case C::BringToFront: case C::BringForward: case C::SendBackward:
    case C::SendToBack: return ChosenTarget(ws) != 0;
    case C::Cut: case C::Copy: case C::NudgeLeft: case C::NudgeUp: case C::NudgeRight: case C::NudgeDown:
    case C::NudgeLeft10: case C::NudgeUp10: case C::NudgeRight10: case C::NudgeDown10: return !ChosenPanes(ws).isEmpty();
    case C::Align: case C::AlignLeft: case C::AlignCentres: case C::AlignRight: case C::AlignTop: case C::AlignMiddles:
    case C::AlignBottom: return ChosenPanes(ws).size() >= 2;
    case C::DistributeHorizontally: case C::DistributeVertically: return ChosenPanes(ws).size() >= 3;
    default: return std::nullopt;
  }
}

// A drag step still open (its release never came) ends before anything else.
void closeOpenStep(Workspace& ws) {
  while (ws.history.IsOpen()) ws.history.Commit(ws, QStringLiteral("Move Pane"));
}

bool runKey(Workspace& ws, std::optional<Command> c) {
  if (!c || !KeyMayRun(ws, *c)) return false;
  RunCommand(ws, *c);
  return true;
}

}  // namespace

Outcome RunCommand(Workspace& ws, Command c) {
  const CommandRow& row = RowOf(c);
  if (!row.handler) return Outcome::done();
  const QSize before = boardSize(ws);
  closeOpenStep(ws);
  if (!row.joinsRun) ws.history.Seal();
  if (row.changesProject) ws.history.Begin(ws);
  Outcome outcome = Outcome::done();
  try {
    outcome = row.handler(ws);
  } catch (const SlotOutOfRange& e) {
    // The command stops where a slot number outside 0..50 was met.
    outcome = Outcome::failed(QString(), QString::fromLatin1(e.what()));
  }
  if (row.changesProject)
    ws.history.Commit(ws, QString::fromLatin1(row.stepName ? row.stepName : row.caption), row.joinsRun);
  ShowSelectionBoxes(ws);
  // The Board is redrawn when it grew (our addition): Panes beyond its old
  // edges show at once.
  RedrawIfBoardGrew(ws, before);
  ReportOutcome(ws, c, outcome);
  return outcome;
}

bool MenuItemEnabled(const Workspace& ws, Command c) {
  if (c == Command::Undo) return !ws.history.UndoName().isNull();
  if (c == Command::Redo) return !ws.history.RedoName().isNull();
  if (const auto allowed = choiceAllows(ws, c)) return *allowed;
  return ws.win.menuEnabled(c);
}

QString MenuItemCaption(const Workspace& ws, Command c) {
  const QString caption = QString::fromLatin1(RowOf(c).caption);
  const QString step = c == Command::Undo ? ws.history.UndoName() : c == Command::Redo ? ws.history.RedoName() : QString();
  return step.isEmpty() ? caption : caption + ' ' + step;
}

bool KeyMayRun(const Workspace& ws, Command c) {
  const CommandRow& row = RowOf(c);
  // Until a project is open (the intro) the window takes no keys but Quit's
  // (our addition).
  if (!ws.win.KeyPreview && row.gate != Gate::DesignOrIntro) return false;
  if (row.gate == Gate::Always) return true;
  if (isSet(ws.run.Running)) return false;
  switch (row.gate) {
    case Gate::Enabled: return MenuItemEnabled(ws, c);
    case Gate::FlipEnabled: return ws.win.menuEnabled(Command::Flip);
    case Gate::RoomForPane: return ws.project.PaneCount < MaxPanes;
    default: return true;
  }
}

bool MainKeyDown(Workspace& ws, int code, int shift) {
  return runKey(ws, commandForKey(&CommandRow::keyDown, code, shift));
}

bool MainKeyPress(Workspace& ws, int code, bool shift) {
  // Shift makes no other key: a character without a Shift row is itself.
  std::optional<Command> c = shift ? commandForKey(&CommandRow::keyCharShifted, code) : std::nullopt;
  return runKey(ws, c ? c : commandForKey(&CommandRow::keyChar, code));
}

void BoardMouseDown(Workspace& ws, int button, double x, double y, int shift) {
  closeOpenStep(ws);
  const bool design = !isSet(ws.run.Running);
  if (design) ws.history.Begin(ws);
  picStage_MouseDown(ws, button, x, y, shift);
  // A right press ends where it began: the layer list or the Board sizes.
  if (design && button == RightButton) closeOpenStep(ws);
}

void BoardMouseUp(Workspace& ws, int button, double x, double y) {
  picStage_MouseUp(ws, button, x, y);
  closeOpenStep(ws);
}

QString MainWindowTitle(const Workspace& ws) {
  const QString app = QStringLiteral("Quorvel");
  if (ws.win.picIntro.Visible) return app;
  const QString& name = ws.project.DocumentName;
  return (name.isEmpty() ? QStringLiteral("Untitled") : name) + (ws.history.Unsaved() ? " * — " : " — ") + app;
}

bool MainWindowMayClose(Workspace& ws) {
  const Outcome o = SaveChangesFirst(ws, QStringLiteral("Quorvel"));
  ReportOutcome(ws, Command::SaveProject, o);
  return o.succeeded();
}

void ReportOutcome(Workspace& ws, Command c, const Outcome& outcome) {
  const CommandRow& row = RowOf(c);
  const QString title = QString::fromLatin1(row.reportTitle ? row.reportTitle : row.caption);
  const auto line = [](const Problem& p) {
    return p.file.isEmpty() ? p.reason : QDir::toNativeSeparators(p.file) + "\n" + p.reason;
  };
  QStringList lines;
  if (outcome.hasFailed()) lines << line(outcome.failure());
  for (const Problem& p : outcome.warnings()) lines << line(p);
  if (lines.isEmpty()) return;
  const QString text = lines.join(QStringLiteral("\n\n"));
  if (row.reportText) ws.platform->ShowMessage(title, QString::fromLatin1(row.reportText), text);
  else ws.platform->ShowMessage(title, text);
}

Outcome FastIconClick(Workspace& ws, int index) {
  for (auto& icon : ws.win.Img_FastIcons) icon.Visible = false;
  // A Fast Icon acts on its own Pane alone.
  ClearSelection(ws);
  ws.win.Shape1[0].Visible = true;
  ws.pointer.TargetPane = Integer(ws.pointer.CurrentPane);
  PlaceTargetBox(ws, ws.pointer.TargetPane);
  EnablePaneMenus(ws);
  ws.surfaces.picStage.Pointer = MousePointer::Hourglass;
  Outcome outcome = Outcome::done();
  switch (index) {
    case 0: outcome = FastIconLoadPicture(ws); break;
    case 1: FastIconResize(ws); break;
    case 2: FastIconEdit(ws); break;
    case 3: outcome = ConfirmRemovePane(ws); break;
    default: break;
  }
  ws.surfaces.picStage.Pointer = MousePointer::Arrow;
  return outcome;
}

void Label_IntroChoice_Click(Workspace& ws, int index) {
  if (index == 0) IntroBlankNewProject(ws);
  else RunCommand(ws, Command::LoadsProject);
}

void Lab_Generic_Click(Workspace& ws) {
  // Our addition: the label's tooltip promises the Target's properties.
  if (ws.win.menuEnabled(Command::EditPane)) RunCommand(ws, Command::EditPane);
}

void Combo_Board_Chosen(Workspace& ws, int index) {
  const QSize before = boardSize(ws);
  Combo_Board_Click(ws, index);
  RedrawIfBoardGrew(ws, before);
}

void MainWindowResized(Workspace& ws) {
  const QSize before = boardSize(ws);
  LayoutMainWindow(ws);
  RedrawIfBoardGrew(ws, before);
}

Outcome OpenProjectAtStart(Workspace& ws, const QString& path) {
  // A project recovered at start has unsaved changes: the save question
  // comes first (our addition).
  Outcome outcome = SaveChangesFirst(ws, QStringLiteral("Load a Project"));
  try {
    if (outcome.succeeded())
      outcome = FinishLoad(ws, LoadProjectFile(ws, fileChoiceFromPath(QFileInfo(path).absoluteFilePath())));
  } catch (const SlotOutOfRange& e) {
    outcome = Outcome::failed(path, QString::fromLatin1(e.what()));
  }
  ReportOutcome(ws, Command::LoadsProject, outcome);
  return outcome;
}

}  // namespace qv
