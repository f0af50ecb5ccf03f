// The Board properties dialog (frmBoard, "Board Globals") and its help
// browser as engine procedures over the dialog's control values
// (ws.dialogs.board): loading the Board settings into the controls, the
// colour lists and swatches, the option pairs with the Wire / Float rule,
// the help topics and references, and applying the controls on accept.
#pragma once
#include "shell/Workspace.h"

namespace qv {

// The authors, as the About tab names them.
extern const QString Authors;
QString BoardTabInfo(int tab);

// Fills the dialog's lists at start-up and for New Project.
void FillBoardDialogLists(Workspace& ws);

// Opening by Edit Properties (Board menu) and by Help (F1): the dialog
// shows modally; the Board is redrawn when it closes.
void mnu_EditBoard_Click(Workspace& ws);
void mnu_Help_Click(Workspace& ws);

void LoadBoardProperties(Workspace& ws);
void ApplyBoardProperties(Workspace& ws);
// Button_frmBoard(index): 0 cancel, 1 accept, 2 browse for a Background
// picture, 3 / 4 / 5 the colour dialog for the Board / Label / box colour.
void Button_frmBoard_Click(Workspace& ws, int index);
void frmBoard_SSTab1_Click(Workspace& ws, int tab);

void Combo_BackColType_Click(Workspace& ws);
void Combo_LabelCol_Click(Workspace& ws);
void Combo_SelectionColor_Click(Workspace& ws);
void picSwatch_Click(Workspace& ws);
void picLabelCol_Click(Workspace& ws);
void picBoxSelectColor_Click(Workspace& ws);
// The colour dialog for the swatch of a colour; cancel changes nothing.
void General_ColorChoice(Workspace& ws, ColorTarget target);

void Option_UseBackPicture_Click(Workspace& ws, int index);
void Option_WirePanes_Click(Workspace& ws, int index);
void Option_FloatPanes_Click(Workspace& ws, int index);
void Option_BoardMove_Click(Workspace& ws, int index);

void Combo_Help_Click(Workspace& ws);
void List_Help_Click(Workspace& ws);

}  // namespace qv
