// Entering RunMode, the frame step and Stop.
#include "runmode/RunLoop.h"

#include "editing/Selection.h"
#include "imaging/BoardPainter.h"
#include "imaging/BoardRender.h"
#include "imaging/Flip.h"
#include "imaging/Sheets.h"
#include "runmode/Movement.h"
#include "shell/Setups.h"

namespace qv {

void CopyPanesForRun(Workspace& ws) {
  for (int i = 1; i <= MaxPanes; ++i) {
    const PaneRecord& d = ws.project.PaneTable[size_t(i)];
    PaneRecord& r = ws.RunPaneTable[size_t(i)];
    // These four keep what the run table held.
    const Flag flashing = r.Flashing, mouseOver = r.MouseOver, spare = r.SpareFlag;
    const Integer wrap = r.CelWrapFlag;
    r = d;
    r.Flashing = flashing;
    r.MouseOver = mouseOver;
    r.SpareFlag = spare;
    r.CelWrapFlag = wrap;
    r.Value = d.StartValue;
    r.CelColumn = 1;
    r.CelRow = 1;
    r.MoveDelayCount = d.MoveDelay;
    if (d.CelCount > 1) {
      r.Width = d.CelWidth;
      r.Height = d.CelHeight;
    }
  }
}

void PrepareFullBoard(Workspace& ws) {
  ws.run.SavedWidth = ws.surfaces.picStage.Width();
  ws.run.SavedHeight = ws.surfaces.picStage.Height();
  ws.win.picFastMenu.Visible = false;
  ws.surfaces.picStage.Top = ws.win.picHolder.Top;
  ws.surfaces.picStage.Left = ws.win.picHolder.Left + 1;
  ws.win.Picture1.Left = ws.surfaces.picStage.Left;
  ws.win.Picture1.Top = ws.surfaces.picStage.Top;
  ws.win.Picture1.Visible = true;
  for (auto& icon : ws.win.Img_FastIcons) icon.Visible = false;
}

void PrepareRunControls(Workspace& ws) {
  ws.win.Shape1[0].Visible = false;
  ws.win.Shape1[1].Visible = false;
  ws.win.Frame_ListZ.Visible = false;
  HideDesignIcons(ws);
  ws.win.Img_IconStrip[5].Visible = true;
  for (auto& icon : ws.win.Img_FastIcons) icon.Visible = false;
}

namespace {

void startRun(Workspace& ws) {
  ClearSelection(ws);
  PrepareRunControls(ws);
  if (ws.run.LoopActive) {
    // Run in Design while running restarts the run: the mirrors made so far
    // are undone first, so the fresh copy's flip codes match the sheets.
    RestoreFlipsAfterRun(ws);
  }
  CopyPanesForRun(ws);
  ws.run.Running = QvTrue;
  RunProject(ws);
}

}  // namespace

void mnu_RunFullscreen_Click(Workspace& ws) {
  ws.surfaces.picStage.Left = 0;
  ws.surfaces.picStage.Top = 0;
  PrepareFullBoard(ws);
  ws.run.FullBoard = true;
  startRun(ws);
}

void mnu_RunInWindow_Click(Workspace& ws) { startRun(ws); }

void RunProject(Workspace& ws) {
  ws.win.Lab_Readouts = QStringLiteral("Project is Running");
  ws.run.FirstFrameDone = 0;
  ws.run.LoopActive = true;
}

namespace {

// The Lifespan gate, of moving and of the Cels alike: a Pane that counts up
// lives while Start <= Value < End, one that counts down while
// End < Value <= Start, one without a process always.
bool lifespanAllows(const PaneRecord& p) {
  switch (p.Process) {
    case 0: return true;
    case 1: return p.LifeStartValue <= p.Value && p.Value < p.LifeEndValue;
    case 2: return p.LifeEndValue < p.Value && p.Value <= p.LifeStartValue;
    default: return false;
  }
}

void move(Workspace& ws, int slot, const PaneRecord& p) {
  switch (p.MoveType) {
    case 1: case 2: MoveHorizontal(ws, slot); break;
    case 3: case 4: MoveVertical(ws, slot); break;
    case 5: MoveDiagonal(ws, slot); break;
    default: break;
  }
}

void drawCel(Workspace& ws, BoardPainter& painter, int i, const PaneRecord& p, int x, int y, int w, int h) {
  const bool flashing = isSet(ws.RunPane(ws.run.CollisionPane).Flashing);
  const QRect block = PaneBlock(ws.project.PaneTable[size_t(i)]);
  if (!flashing)
    painter.DrawPane(x, y, w, h, p.SheetX, p.SheetY, isSet(p.BlackTransparent), block);
  else
    painter.Draw({SheetDraw::Ink::Or, x, y, w, h, p.SheetX, p.SheetY, block});
}

void advanceCel(Workspace& ws, int i, PaneRecord& p) {
  const PaneRecord& d = ws.project.PaneTable[size_t(i)];
  p.SheetX = Integer(p.SheetX + p.CelWidth);
  if (p.CelColumn == p.CelsAcross) {
    p.CelColumn = 1;
    p.SheetX = d.SheetX;
    p.CelRow = Integer(p.CelRow + 1);
    p.SheetY = Integer(p.SheetY + p.CelHeight);
    p.CelWrapFlag = 2;
  }
  if (p.CelRow > p.CelsDown) {
    p.CelRow = 1;
    p.CelColumn = 1;
    p.SheetY = d.SheetY;
    p.SheetX = d.SheetX;
    p.CelWrapFlag = 2;
  }
  if (p.CelWrapFlag != 2) p.CelColumn = Integer(p.CelColumn + 1);
}

void mouseEffect(Workspace& ws, BoardPainter& painter, int i, const PaneRecord& p, int x, int y, int w, int h) {
  Surface& stage = ws.surfaces.picStage;
  stage.ForeColor = ws.project.BoardSettings.LabelColor;
  stage.CurrentX = x + 2;
  stage.CurrentY = y + 2;
  if (isSet(p.MouseOver)) {
    if (p.MouseEffect == 2 || p.MouseEffect == 3) painter.Print(p.Label);
    if (p.MouseEffect == 1 || p.MouseEffect == 2) {
      const Long c = ws.project.BoardSettings.SelectionColor;
      painter.Line(x, y, x + w, y, c);
      painter.Line(x, y, x, y + h, c);
      painter.Line(x, y + h, x + w, y + h, c);
      painter.Line(x + w, y, x + w, y + h, c);
    }
  } else if (isSet(p.UseWriting) && ws.pointer.CurrentPane == i && ws.win.Text_Writing.Visible) {
    // A Writing box opened by a click closes once the pointer is over no Pane.
    ws.win.Text_Writing.Visible = false;
    ws.win.Button_Url.Visible = false;
  }
}

void runFrame(Workspace& ws, BoardPainter& painter) {
  for (int i = MaxPanes; i >= 1; --i) {
    PaneRecord& p = ws.RunPaneTable[size_t(i)];
    p.CelWrapFlag = 0;
    p.MouseOver = QvFalse;
    bool celsAnimate = false;
    // A free slot is not processed and does not become CurrentPane: between
    // frames CurrentPane must still name the Pane the last hover test found
    // (a click acts on it), else the last Pane the frame processed.
    if (!isSet(p.InUse)) continue;
    ws.pointer.CurrentPane = i;
    if (ws.run.FirstFrameDone == 0) FlipPaneOnBounds(ws, i);
    if (p.Collision == 1) TestCollisions(ws, i);

    if (p.MoveDelayCount > 0) p.MoveDelayCount = Integer(p.MoveDelayCount - 1);
    if (p.MoveDelayCount <= 0) {
      p.MoveDelayCount = p.MoveDelay;
      if (lifespanAllows(p)) move(ws, i, p);
    }
    if (p.Collision == 1) TestCollisions(ws, i);

    const int x = p.Left, y = p.Top;
    int w = p.Width, h = p.Height;
    if (p.CelCount > 1) {
      celsAnimate = true;
      w = p.CelWidth;
      h = p.CelHeight;
      p.Width = Integer(w);
      p.Height = Integer(h);
    }
    if (isSet(p.Visible)) drawCel(ws, painter, i, p, x, y, w, h);

    if (p.CelDelayCount > 0) p.CelDelayCount = Integer(p.CelDelayCount - 1);
    if (p.CelDelayCount < 1) {
      p.CelDelayCount = p.CelDelay;
      if (celsAnimate && lifespanAllows(p)) advanceCel(ws, i, p);
    }

    HoverPaneAt(ws);
    mouseEffect(ws, painter, i, p, x, y, w, h);

    PaneRecord& f = ws.RunPane(ws.run.CollisionPane);
    if (f.EffectDuration > 0) f.EffectDuration = Integer(f.EffectDuration - 1);
    if (f.EffectDuration < 1) f.Flashing = QvFalse;
  }
}

}  // namespace

void RunFrame(Workspace& ws) {
  BoardPainter painter(ws, BoardPainter::Start::OverBoard);
  runFrame(ws, painter);
}

bool RunLoopPass(Workspace& ws) {
  if (!ws.run.LoopActive) return false;
  {
    // The base picture restored, then the frame.
    BoardPainter painter(ws, BoardPainter::Start::FromBase);
    runFrame(ws, painter);
  }
  ws.run.FirstFrameDone = 1;
  if (!isSet(ws.run.Running)) {
    // The loop ends after the pass that saw Stop, so the last frame's mirrors
    // are undone too.
    ws.run.LoopActive = false;
    RestoreFlipsAfterRun(ws);
    RedrawBoard(ws);
    // Only the run loop closes a Writing box; one still open would stay over
    // the Design Board for good.
    ws.win.Text_Writing.Visible = false;
    ws.win.Button_Url.Visible = false;
    // The last frame's hover tests wrote over the readout Stop set.
    ws.win.Lab_Readouts = QStringLiteral("Stopped");
    return false;
  }
  return true;
}

void StopRun(Workspace& ws, StopForm form) {
  ws.run.Running = QvFalse;
  ws.win.Lab_Readouts = QStringLiteral("Stopped");
  ShowDesignIcons(ws);
  switch (form) {
    case StopForm::StopIcon:
      ws.win.Picture1.Visible = false;
      break;
    case StopForm::FullBoardStopIcon:
      RestoreDesignStage(ws);
      break;
    case StopForm::EscKey:
      // Esc also clears a Design selection (our addition).
      ClearSelection(ws);
      // Esc is the usual way out of a Full Board run: it gives the Board back
      // its Design place and size as the Full Board Stop icon does (our
      // addition; otherwise the bar would cover the Board's top rows).
      if (ws.run.FullBoard) RestoreDesignStage(ws);
      ws.win.Picture1.Visible = false;
      ws.win.picFastMenu.Visible = true;
      break;
  }
  ws.run.FullBoard = false;
}

}  // namespace qv
