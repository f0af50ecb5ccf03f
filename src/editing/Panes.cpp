// Pane lifecycle: add with defaults, remove after confirmation, composite
// the Board into the Background; the layer list and the Target menu items.
#include "editing/Panes.h"

#include "editing/Selection.h"

#include "imaging/BoardRender.h"
#include "imaging/Sheets.h"
#include "shell/Platform.h"
#include "shell/Setups.h"
#include "shell/TargetMarks.h"

namespace qv {

const QString DefaultPaneUrl = QString::fromLatin1(MakerAddress);

namespace {
// The position and size a new Pane is given.
constexpr int NewLeft = 50, NewTop = 50, NewSize = 100, NewStep = 20;

// Where a new Pane goes: at (50, 50), or, when a Pane already stands there,
// 20 pixels further right and down until the place is free (our addition:
// each new Pane would otherwise hide exactly behind the one before). When
// no such place is left on the Board, at (50, 50).
QPoint newPanePlace(const Workspace& ws) {
  const Surface& board = ws.surfaces.picStage;
  for (QPoint at(NewLeft, NewTop); at.x() + NewSize <= board.Width() && at.y() + NewSize <= board.Height();
       at += QPoint(NewStep, NewStep)) {
    const bool taken = std::any_of(ws.project.PaneTable.begin() + 1, ws.project.PaneTable.end(), [&](const PaneRecord& p) {
      return isSet(p.InUse) && p.Left == at.x() && p.Top == at.y();
    });
    if (!taken) return at;
  }
  return {NewLeft, NewTop};
}
}  // namespace

int AddPane(Workspace& ws) {
  ws.surfaces.picStage.Pointer = MousePointer::Hourglass;
  ws.project.PaneCount = Integer(ws.project.PaneCount + 1);
  if (ws.project.PaneCount >= MaxPanes + 1) {
    ws.project.PaneCount = MaxPanes;
    ws.surfaces.picStage.Pointer = MousePointer::Arrow;
    return 0;
  }
  const int slot = FindFreeSlot(ws);
  if (slot == 0) {  // the count was out of step with the table
    ws.project.PaneCount = Integer(ws.project.PaneCount - 1);
    ws.surfaces.picStage.Pointer = MousePointer::Arrow;
    return 0;
  }
  // The new Pane is the one the sheet procedures work on, as after a hover.
  ws.pointer.CurrentPane = slot;
  AssignSheetSlot(ws, slot);
  const QPoint at = newPanePlace(ws);
  PaneRecord& p = ws.Pane(slot);
  const QImage& picture = ws.surfaces.picResize.Picture();
  PaintPicture(ws.project.picSprites.Image(), picture, p.SheetX, p.SheetY, NewSize, NewSize);
  ws.project.picSprites.TakeImageAsPicture();
  // The new Pane shows in front of everything until the next redraw.
  PaintPicture(ws.surfaces.picStage.Image(), picture, at.x(), at.y(), NewSize, NewSize);
  InitPaneRecord(ws, slot);
  p.Left = Integer(at.x());
  p.Top = Integer(at.y());
  AddZorderItem(ws, slot);
  ws.surfaces.picStage.Pointer = MousePointer::Arrow;
  return slot;
}

Outcome mnu_AddCustomPane_Click(Workspace& ws) { return AddPane(ws) ? Outcome::done() : Outcome::cancelled(); }

namespace {

// Add Pane's value for a field: a value, or Keep (the slot's value stays).
struct KeepValue {};
constexpr KeepValue Keep;
template <typename T, typename V>
void added(T& field, const V& value) {
  field = T(value);
}
template <typename T>
void added(T&, KeepValue) {}

QString NewPictureName(int n) { return QStringLiteral("%1.bmp").arg(n, 2, 10, QLatin1Char('0')); }

}  // namespace

void InitPaneRecord(Workspace& ws, int n) {
  PaneRecord& p = ws.Pane(n);
#define QV_ADDED(Name, Kind, Start, Added, Token, Page, Control) added(p.Name, Added);
  QV_PANE_FIELDS(QV_ADDED)
#undef QV_ADDED
}

Outcome ConfirmRemovePane(Workspace& ws) {
  // Our addition: a selection goes after one question.
  if (const QVector<int> chosen = ChosenPanes(ws); chosen.size() > 1) {
    if (!ws.platform->AskYesNo(QStringLiteral("Remove Panes"),
                               QStringLiteral("Really remove these %1 Panes ?").arg(chosen.size())))
      return Outcome::cancelled();
    RemovePanes(ws, chosen);
    RedrawBoard(ws);
    return Outcome::done();
  }
  const QString title = QStringLiteral("Remove Pane - ") + QString::number(ws.pointer.CurrentPane);
  if (!ws.platform->AskYesNo(title, QStringLiteral("Really remove this Pane ?"))) return Outcome::cancelled();
  RemovePane(ws);
  RedrawBoard(ws);
  return Outcome::done();
}

void RemovePane(Workspace& ws) {
  if (ws.win.Shape1[0].Visible) ws.pointer.CurrentPane = ws.pointer.TargetPane;
  PaneRecord& p = ws.Pane(ws.pointer.CurrentPane);
  p.InUse = QvFalse;
  p.PictureLoaded = QvFalse;
  p.Width = p.Height = p.Left = p.Top = 0;
  p.CelCount = 1;
  AssignSheetSlot(ws, ws.pointer.CurrentPane);
  FreeSheetCells(ws, ws.pointer.CurrentPane);
  auto& list = ws.project.List_Zorder;
  for (int i = 0; i < list.size(); ++i) {
    if (list[i].ItemData == ws.pointer.CurrentPane) {
      list.removeAt(i);
      break;
    }
  }
  ws.project.PaneCount = Integer(std::max(ws.project.PaneCount - 1, 0));
  ws.win.Shape1[0].Visible = false;
  // No box or Fast Icon stays over the Pane that is gone (our addition: they
  // would stay until the pointer moves).
  HideHoverMarks(ws);
  ws.pointer.Dragging = QvFalse;
  ws.win.Lab_Readouts = IdleReadout;
  ws.pointer.HoverFound = QvFalse;
  DisablePaneMenus(ws);
}

void RemovePanes(Workspace& ws, const QVector<int>& panes) {
  for (int n : panes) {
    ws.win.Shape1[0].Visible = false;
    ws.pointer.CurrentPane = n;
    RemovePane(ws);
  }
  ClearSelection(ws);
}

Outcome CompositePanes(Workspace& ws) {
  if (!ws.platform->AskYesNo(QStringLiteral("Composite Panes - "),
                             QStringLiteral("Really duplicate Panes to the Background ?")))
    return Outcome::cancelled();
  ws.project.picBackground.SetSize(ws.surfaces.picStage.Width(), ws.surfaces.picStage.Height());
  ws.project.picBackground.SetPicture(ws.surfaces.picStage.Image());
  return Outcome::done();
}

void List_Zorder_Click(Workspace& ws, int row) {
  if (isSet(ws.win.DialogFilling) || row < 0 || row >= ws.project.List_Zorder.size()) return;
  ws.win.List_ZorderIndex = row;
  const int slot = ws.project.List_Zorder[row].ItemData;
  ClearSelection(ws);
  ws.pointer.CurrentPane = slot;
  ws.pointer.Dragging = QvFalse;
  ws.win.Shape1[0].Visible = ws.win.Shape1[1].Visible = true;
  ws.win.Frame_ListZ.Visible = false;
  PlaceTargetBox(ws, slot);
  ws.pointer.TargetPane = Integer(slot);
  PlaceHoverBox(ws, slot);
  EnablePaneMenus(ws);
}


}  // namespace qv
