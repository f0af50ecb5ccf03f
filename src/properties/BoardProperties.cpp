// The Board properties dialog and the help browser on its first tab.
#include "properties/BoardProperties.h"

#include "imaging/Background.h"
#include "imaging/BoardRender.h"
#include "imaging/Pictures.h"
#include "properties/PaneProperties.h"
#include "resources/HelpTexts.h"
#include "shell/Platform.h"
#include "shell/WindowHost.h"
#include "surface/PictureFile.h"

#include <QFileInfo>

namespace qv {

const QString Authors = QStringLiteral("the Quorvel team");

namespace {

BoardDialogState& dlg(Workspace& ws) { return ws.dialogs.board; }

const QStringList ColourNames = {"Black", "White", "Red", "Green", "Blue", "Define"};

// A colour list's choice: a named colour into the swatch, or "Define"
// (the last entry) opens the colour dialog for that swatch.
void colourChosen(Workspace& ws, const ListState& list, Long& swatch, ColorTarget target) {
  if (isSet(ws.win.DialogFilling)) return;
  const int i = list.Index;
  const int define = list.Entries.size() - 1;
  if (i == define) {
    General_ColorChoice(ws, target);
  } else if (i >= 0 && i < define) {
    swatch = i == 5 ? Grey : NamedColour(i);
  }
}

void showBoardDialog(Workspace& ws) {
  LoadBoardProperties(ws);
  ws.windows->ShowDialog(DialogKind::Board);
  RedrawBoard(ws);
}

}  // namespace

QString BoardTabInfo(int tab) {
  switch (tab) {
    case 0: return QStringLiteral("Select a Topic, then select a Reference. More detailed help on ") + QString::fromLatin1(MakerAddress);
    case 1:
      return QStringLiteral(
          "Assigned property values for the Board, which may help during Design; Label Color activates in RunMode.");
    case 2: return QStringLiteral("Presentation of the Board.");
    case 3: return QStringLiteral("Quorvel v1.0 : By ") + Authors;
    default: return {};
  }
}

void FillBoardDialogLists(Workspace& ws) {
  BoardDialogState& d = dlg(ws);
  d.Combo_Help.Fill(QStringList{QStringLiteral("<< Topics >>")} + HelpTopics(), 0);
  Combo_Help_Click(ws);
  d.List_Help.Clear();
  d.Text_Help.clear();
  d.Combo_BackColType.Fill({"Black", "White", "Red", "Green", "Blue", "Grey", "Define"}, 6);
  Combo_BackColType_Click(ws);
  d.Combo_LabelCol.Fill(ColourNames, 5);
  Combo_LabelCol_Click(ws);
  d.Combo_SelectionColor.Fill(ColourNames, 5);
  Combo_SelectionColor_Click(ws);
  d.picLabelCol = d.picBoxSelectColor = White;
}

void mnu_EditBoard_Click(Workspace& ws) { showBoardDialog(ws); }

void mnu_Help_Click(Workspace& ws) {
  dlg(ws).Tab = 0;
  dlg(ws).Label1 = QStringLiteral("Select a Topic, then select a Reference.");
  showBoardDialog(ws);
}

void LoadBoardProperties(Workspace& ws) {
  BoardDialogState& d = dlg(ws);
  const BoardSettingsRecord& b = ws.project.BoardSettings;
  const DialogFillingScope filling(ws.win);
  d.picSwatch = b.BoardBackColor;
  d.Combo_BackColType.Index = 6;
  d.picLabelCol = b.LabelColor;
  d.Combo_LabelCol.Index = 5;
  d.picBoxSelectColor = b.SelectionColor;
  d.Combo_SelectionColor.Index = 5;
  d.Text_BackPicture.Text = b.BackPicturePath;
  Option_UseBackPicture_Click(ws, isSet(b.UseBackPicture) ? 1 : 0);
  ws.project.BoardOptions.Option_BoardMove = isSet(b.BoardLocked) ? 0 : 1;
  // Selecting a Wire option runs its click, which disables or enables the
  // Float "Yes": a Float "Yes" left disabled by a Wire "Yes" clicked before
  // a cancel is usable again when the Board opens with Wire "No".
  if (isSet(b.WirePanes)) {
    Option_WirePanes_Click(ws, 1);
    ws.project.BoardSettings.FloatPanes = QvFalse;
  } else {
    if (isSet(b.FloatPanes)) {
      ws.project.BoardOptions.Option_FloatPanes = 1;
      ws.project.BoardSettings.WirePanes = QvFalse;
    } else {
      ws.project.BoardOptions.Option_FloatPanes = 0;
    }
    Option_WirePanes_Click(ws, 0);
  }
}

void ApplyBoardProperties(Workspace& ws) {
  BoardDialogState& d = dlg(ws);
  BoardSettingsRecord& b = ws.project.BoardSettings;
  b.LabelColor = d.picLabelCol;
  b.SelectionColor = d.picBoxSelectColor;
  b.BoardBackColor = d.picSwatch;
  SetBoardColour(ws, b.BoardBackColor);

  if (d.Option_UseBackPicture == 1) {
    if (b.BackPictureName != QLatin1String("none")) {
      // A picture with transparent pixels lies over the Board's colour.
      const PictureResult r = LoadPicture(b.BackPicturePath, toQRgb(b.BoardBackColor));
      if (!r.ok()) {
        // No message here: the picture setting is cleared and the rest of
        // the settings stay as they were.
        b.BackPictureName = QStringLiteral("none");
        b.UseBackPicture = QvFalse;
        return;
      }
      b.BackPictureName = ShortPictureName(QFileInfo(b.BackPicturePath).fileName()) + ".bmp";
      b.UseBackPicture = QvTrue;
      FitBackgroundToBoard(ws, r.image);
    }
  } else {
    b.UseBackPicture = QvFalse;
  }

  if (ws.project.BoardOptions.Option_WirePanes == 1) {
    ws.project.BoardOptions.Option_FloatPanesYesEnabled = false;
    ws.project.BoardOptions.Option_FloatPanes = 0;
    b.FloatPanes = QvFalse;
    b.WirePanes = QvTrue;
  } else {
    b.WirePanes = QvFalse;
    ws.project.BoardOptions.Option_FloatPanesYesEnabled = true;
    b.FloatPanes = toFlag(ws.project.BoardOptions.Option_FloatPanes == 1);
  }
  if (ws.project.BoardOptions.Option_FloatPanes == 1) {
    b.FloatPanes = QvTrue;
    b.WirePanes = QvFalse;
    ws.project.BoardOptions.Option_WirePanes = 0;
  }
  b.BoardLocked = toFlag(ws.project.BoardOptions.Option_BoardMove != 1);
  // A black Board is shown in a near black, so that black Panes made
  // transparent still show against it; the setting keeps black.
  if (ws.project.BoardColour == Black) SetBoardColour(ws, RGB(2, 2, 2));
}

void Button_frmBoard_Click(Workspace& ws, int index) {
  switch (index) {
    case 0: ws.windows->HideDialog(DialogKind::Board); break;
    case 1:
      ApplyBoardProperties(ws);
      ws.windows->HideDialog(DialogKind::Board);
      break;
    case 2: OpenPictureFile(ws, PictureTarget::Background); break;
    case 3: General_ColorChoice(ws, ColorTarget::Board); break;
    case 4: General_ColorChoice(ws, ColorTarget::Label); break;
    case 5: General_ColorChoice(ws, ColorTarget::SelectionBox); break;
    default: break;
  }
}

void frmBoard_SSTab1_Click(Workspace& ws, int tab) {
  dlg(ws).Tab = tab;
  dlg(ws).Label1 = BoardTabInfo(tab);
}

void Combo_BackColType_Click(Workspace& ws) {
  colourChosen(ws, dlg(ws).Combo_BackColType, dlg(ws).picSwatch, ColorTarget::Board);
}

void Combo_LabelCol_Click(Workspace& ws) { colourChosen(ws, dlg(ws).Combo_LabelCol, dlg(ws).picLabelCol, ColorTarget::Label); }

void Combo_SelectionColor_Click(Workspace& ws) {
  colourChosen(ws, dlg(ws).Combo_SelectionColor, dlg(ws).picBoxSelectColor, ColorTarget::SelectionBox);
}

// A swatch click is a choice of "Define" in its list; the dialog opens again
// even when the list already shows "Define".
void picSwatch_Click(Workspace& ws) {
  dlg(ws).Combo_BackColType.Index = 6;
  Combo_BackColType_Click(ws);
}

void picLabelCol_Click(Workspace& ws) {
  dlg(ws).Combo_LabelCol.Index = 5;
  Combo_LabelCol_Click(ws);
}

void picBoxSelectColor_Click(Workspace& ws) {
  dlg(ws).Combo_SelectionColor.Index = 5;
  Combo_SelectionColor_Click(ws);
}

void General_ColorChoice(Workspace& ws, ColorTarget target) {
  BoardDialogState& d = dlg(ws);
  const auto chosen = ws.platform->ChooseColor(d.ColorDialogColor);
  if (!chosen) return;
  d.ColorDialogColor = *chosen;
  switch (target) {
    case ColorTarget::Board: d.picSwatch = *chosen; break;
    case ColorTarget::Label: d.picLabelCol = *chosen; break;
    case ColorTarget::SelectionBox: d.picBoxSelectColor = *chosen; break;
    default: break;
  }
}

void Option_UseBackPicture_Click(Workspace& ws, int index) {
  dlg(ws).Option_UseBackPicture = index;
  dlg(ws).Text_BackPicture.Red = index != 1;
}

void Option_WirePanes_Click(Workspace& ws, int index) {
  BoardDialogState& d = dlg(ws);
  ws.project.BoardOptions.Option_WirePanes = index;
  ws.project.BoardOptions.Option_FloatPanesYesEnabled = index != 1;
  if (index == 1) ws.project.BoardOptions.Option_FloatPanes = 0;
}

void Option_FloatPanes_Click(Workspace& ws, int index) {
  BoardDialogState& d = dlg(ws);
  // "Yes" cannot be chosen while Wire is "Yes" (the button is disabled).
  if (index == 1 && !ws.project.BoardOptions.Option_FloatPanesYesEnabled) return;
  ws.project.BoardOptions.Option_FloatPanes = index;
}

void Option_BoardMove_Click(Workspace& ws, int index) { ws.project.BoardOptions.Option_BoardMove = index; }

void Combo_Help_Click(Workspace& ws) {
  BoardDialogState& d = dlg(ws);
  d.HelpTopic = std::max(d.Combo_Help.Index, 0);
  d.List_Help.Fill(HelpReferences(d.HelpTopic));
}

void List_Help_Click(Workspace& ws) {
  BoardDialogState& d = dlg(ws);
  if (d.List_Help.Index < 0) return;
  d.Text_Help = LoadResString(100 + 10 * d.HelpTopic + d.List_Help.Index);
}

}  // namespace qv
