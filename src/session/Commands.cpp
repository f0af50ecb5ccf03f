// The dispatcher, the key tables' lookup, the report, and the window events.
#include "session/Commands.h"

#include "editing/Panes.h"
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

// The command a key names, by its key-down or character code.
std::optional<Command> commandForKey(int CommandRow::*code, int value) {
  if (value == 0) return std::nullopt;
  for (const CommandRow& row : CommandTable())
    if (row.*code == value) return row.id;
  return std::nullopt;
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
  Outcome outcome = Outcome::done();
  try {
    outcome = row.handler(ws);
  } catch (const SlotOutOfRange& e) {
    // The command stops where a slot number outside 0..50 was met.
    outcome = Outcome::failed(QString(), QString::fromLatin1(e.what()));
  }
  // The Board is redrawn when it grew (our addition): Panes beyond its old
  // edges show at once.
  RedrawIfBoardGrew(ws, before);
  ReportOutcome(ws, c, outcome);
  return outcome;
}

bool KeyMayRun(const Workspace& ws, Command c) {
  const CommandRow& row = RowOf(c);
  if (row.gate == Gate::Always) return true;
  if (isSet(ws.run.Running)) return false;
  switch (row.gate) {
    case Gate::Enabled: return ws.win.menuEnabled(c);
    case Gate::FlipEnabled: return ws.win.menuEnabled(Command::Flip);
    case Gate::RoomForPane: return ws.project.PaneCount < MaxPanes;
    default: return true;
  }
}

bool MainKeyDown(Workspace& ws, int code) { return runKey(ws, commandForKey(&CommandRow::keyDown, code)); }

bool MainKeyPress(Workspace& ws, int code) { return runKey(ws, commandForKey(&CommandRow::keyChar, code)); }

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
  ws.win.Shape1[0].Visible = true;
  ws.pointer.TargetPane = Integer(ws.pointer.CurrentPane);
  PlaceTargetBox(ws);
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
  Outcome outcome = Outcome::done();
  try {
    outcome = FinishLoad(ws, LoadProjectFile(ws, fileChoiceFromPath(QFileInfo(path).absoluteFilePath())));
  } catch (const SlotOutOfRange& e) {
    outcome = Outcome::failed(path, QString::fromLatin1(e.what()));
  }
  ReportOutcome(ws, Command::LoadsProject, outcome);
  return outcome;
}

}  // namespace qv
