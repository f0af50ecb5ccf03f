// The lists and defaults a session starts with.
#include "project/StartDefaults.h"

#include "library/LibraryPicker.h"
#include "properties/BoardProperties.h"
#include "properties/PaneProperties.h"
#include "shell/BoardSizes.h"
#include "shell/Setups.h"

namespace qv {

void FillLists(Workspace& ws) {
  const DialogFillingScope filling(ws.win);
  ws.project.BoardSettings.WirePanes = QvFalse;
  ws.project.BoardSettings.FloatPanes = QvFalse;
  ws.win.Text_Writing.Text.clear();

  ws.project.picSprites.SetSize(1000, 2000);
  ws.project.picMasks.SetSize(1000, 2000);
  ws.pointer.CurrentPane = 1;

  FillPaneDialogLists(ws);
  FillBoardDialogLists(ws);

  // Board defaults.
  BoardSettingsRecord& b = ws.project.BoardSettings;
  b.BoardBackColor = Grey;
  b.UseBackPicture = QvFalse;
  b.BackPictureName = QStringLiteral("none");
  b.BackPicturePath = QStringLiteral("none");
  b.LabelColor = White;
  b.SelectionColor = White;
  b.BoardLocked = QvFalse;

  SetBoardColour(ws, b.BoardBackColor);
  if (isSet(b.UseBackPicture)) ws.surfaces.picStage.SetPicture(ws.project.picBackground.Picture());

  ws.win.Combo_Board = BoardSizeEntries();
  Combo_Board_Click(ws, 2);

  ScanLibraries(ws);

  ws.win.Shape1[0].Visible = false;
  ws.win.Lab_Readouts = IdleReadout;
  ws.win.KeyPreview = false;
}

}  // namespace qv
