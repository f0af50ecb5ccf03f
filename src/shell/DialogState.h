// The controls of the three dialogs as plain values. The dialogs are made
// once and then only shown and hidden, so their controls keep what they show
// between openings: these values live as long as the workspace. The engine's
// procedures load, change and store them; the dialogs only show them and
// hand the user's edits back.
#pragma once
#include "model/Types.h"
#include "surface/Surface.h"
#include "surface/WaveFile.h"

#include <QStringList>
#include <QVector>
#include <array>

namespace qv {

// A list or combo box: its entries, their item data and the selected entry
// (-1 for none).
struct ListState {
  QStringList Entries;
  QVector<int> ItemData;
  int Index = -1;

  void Fill(const QStringList& entries, int selected = -1) {
    Entries = entries;
    ItemData = QVector<int>(entries.size(), 0);
    Index = selected;
  }
  void Clear() { Fill({}); }
  void Add(const QString& text, int itemData = 0) {
    Entries << text;
    ItemData << itemData;
  }
  int SelectedData() const { return Index >= 0 && Index < ItemData.size() ? ItemData[Index] : 0; }
};

// A text box's text and whether its text shows red (RGB 255,0,0) or black.
struct TextState {
  QString Text;
  bool Red = false;
};

// The look of a Writing box: text, font and colours.
struct WritingLook {
  QString Text;
  QString FontName;
  double FontSize = 10;
  bool Bold = false, Italic = false, Underline = false;
  Long ForeColor = Black;
  Long BackColor = White;
};

// The Pane dialog's number boxes, Text_Val_0 .. Text_Val_15, by what they
// hold (box 5 holds nothing).
enum ValBox : int {
  StartValueBox, LifeStartValueBox, LifeEndValueBox, SpeedBox, MoveDelayBox, UnusedBox, ProcessAmountBox,
  CelsDownBox, CelsAcrossBox, HeightBox, WidthBox, RevealValueBox, EffectDurationBox, WritingWidthBox,
  WritingHeightBox, CelDelayBox, ValBoxCount
};

// Which colour a colour dialog edits: the Writing's text or background, the
// Board's colour, the Label colour or the selection box colour.
enum class ColorTarget : uint8_t { WritingText = 3, WritingBack = 4, Board = 5, Label = 7, SelectionBox = 9 };

// frmPanes, "Pane : Properties - Layer n".
struct PaneDialogState {
  QString Caption;
  int Tab = 1;  // SSTab1: 0 Writing, 1 Assigned, 2 Data, 3 Effects, 4 Animation
  QString Label1;
  std::array<TextState, ValBoxCount> Text_Val;
  QString Text_Label;
  TextState Text_URL;
  // Option pairs by the selected index: 0 "No" / "Inactive", 1 "Yes" / "Active".
  int Option_UseURL = 0;
  int Option_IsVisible = 1;
  int Option_MakeTransparent = 0;
  int Option_CanFlip = 0;
  int Option_UseWriting = 0;
  ListState List1;
  ListState Combo_ValueType, Combo_Sound, Combo_AnimationType, Combo_CollisionType, Combo_EffectType,
      Combo_EffectsMouse, Combo_Writing, cmbStyleTXT, cmbFontNameTXT, cmbFontSizeTXT, cmbFontColorTXT,
      cmbBackColorTXT;
  WritingLook Text_Writing;
  // Our addition: the sounds loaded with "Load a sound ..." since the dialog
  // opened (the project takes the one accept stores), and the Sound value of
  // the entry chosen before, which a cancelled or failed load selects again.
  OwnSoundMap LoadedSounds;
  Long SoundShown = 0;
  Long ColorSwatchTXT = White;
  // The numeric box last typed in, changed or right-clicked.
  int PopularValueBox = 0;
  // The colour the colour dialog starts from: the one it gave last.
  Long ColorDialogColor = Black;
  PaneDialogState();
};

// frmBoard, "Board Globals".
struct BoardDialogState {
  int Tab = 1;  // 0 Help, 1 Assigned, 2 Ground, 3 About
  QString Label1;
  ListState Combo_Help, List_Help;
  QString Text_Help;
  int HelpTopic = 0;
  ListState Combo_BackColType, Combo_LabelCol, Combo_SelectionColor;
  Long picSwatch = Grey, picLabelCol = White, picBoxSelectColor = White;
  TextState Text_BackPicture;
  int Option_UseBackPicture = 0;
  // The option pairs Board Move, Float and Wire are the project's
  // (Project::BoardOptions).
  Long ColorDialogColor = Black;
  BoardDialogState();
};

// frmLibrary, "Panes - Available Libraries :".
struct LibraryDialogState {
  int Tab = 0;  // 0 Library, 1 Image
  QString Label1;
  ListState List_Libraries, List_Images;
  Surface picLibraryPreview, picImagePreview;
  QString ImageName;
  LibraryDialogState();
};

struct DialogStates {
  PaneDialogState panes;
  BoardDialogState board;
  LibraryDialogState library;
};

}  // namespace qv
