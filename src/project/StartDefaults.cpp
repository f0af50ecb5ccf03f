// The lists and defaults a session starts with.
#include "project/StartDefaults.h"

#include "library/LibraryPicker.h"
#include "properties/BoardProperties.h"
#include "properties/PaneProperties.h"
#include "shell/BoardSizes.h"
#include "shell/Setups.h"

namespace qv {

void FillLists(Workspace& ws) {
  ws.win.DialogFilling = QvTrue;
  ws.BoardSettings.WirePanes = QvFalse;
  ws.BoardSettings.FloatPanes = QvFalse;
  ws.pointer.TargetSelection = QvFalse;
  ws.win.Text_Writing.Text.clear();

  ws.surfaces.picSprites.SetSize(1000, 2000);
  ws.surfaces.picMasks.SetSize(1000, 2000);
  ws.pointer.CurrentPane = 1;

  FillPaneDialogLists(ws);
  FillBoardDialogLists(ws);

  // Board defaults.
  BoardSettingsRecord& b = ws.BoardSettings;
  b.BoardBackColor = Grey;
  b.UseBackPicture = QvFalse;
  b.BackPictureName = QStringLiteral("none");
  b.BackPicturePath = QStringLiteral("none");
  b.LabelColor = White;
  b.SelectionColor = White;
  b.BoardLocked = QvFalse;

  ws.surfaces.picStage.SetBackColor(b.BoardBackColor);
  if (isSet(b.UseBackPicture)) ws.surfaces.picStage.SetPicture(ws.surfaces.picBackground.Picture());

  ws.win.Combo_Board = BoardSizeEntries();
  Combo_Board_Click(ws, 2);

  ScanLibraries(ws);

  ws.win.Shape1[0].Visible = false;
  ws.win.Lab_Readouts = IdleReadout;
  ws.win.KeyPreview = false;
  ws.win.DialogFilling = QvFalse;
}

}  // namespace qv
