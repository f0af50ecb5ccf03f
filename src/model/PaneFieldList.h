// Every Pane field, described once, in the record's declared order. The
// record, its field table, the project text's order, Add Pane's values, the
// exported page's data, the JSON of quorvel-cli and the Pane dialog's load
// and store are all made from this list; adding a field is adding a row
// (and its behaviour), as docs/design.md's "Adding a Pane field" shows.
//
//   X(Name, Kind, Start, Added, Token, Page, Control)
//
// Kind     Integer, Long, Flag or Text (model/Types.h).
// Start    its value in a table's start state (a free slot).
// Added    what Add Pane gives it (an expression over the slot n), or Keep:
//          it keeps what the slot held.
// Token    its place in a Pane's group of the project text, 1..59 after the
//          slot number; 0 when the file does not hold it.
// Page     Page when the exported page carries it, else NoPage.
// Control  the Pane dialog's control that shows and edits it:
//          Box(box)           a number box (Text_Val_k), with its rules
//          List(control)      a list's selected index
//          Option(control)    an option pair (0 "No", 1 "Yes")
//          Text(control)      a text box
//          Look(member)       a part of the Writing's look
//          Writing(control)   one of the above, stored only while the
//                             Writing is "Active"
//          Own                loaded and stored by code of its own
//          None               not in the dialog (the store may derive it)
// Only the columns a layer needs are expanded there: the Control column is
// read by the Pane dialog's code alone, Added by Add Pane's alone.
#pragma once

// clang-format off
#define QV_PANE_FIELDS(X) \
  X(InUse,            Flag,    QvFalse, QvTrue,               0, Page,   None) \
  X(Left,             Integer, 0,       NewLeft,              1, Page,   None) \
  X(Top,              Integer, 0,       NewTop,               2, Page,   None) \
  X(Width,            Integer, 0,       NewSize,              3, Page,   Own) \
  X(Height,           Integer, 0,       NewSize,              4, Page,   Own) \
  X(BlackTransparent, Flag,    QvFalse, QvFalse,              5, Page,   Own) \
  X(SheetX,           Integer, 0,       SheetCellOrigin(n).x(), 6, Page, None) \
  X(SheetY,           Integer, 0,       SheetCellOrigin(n).y(), 7, Page, None) \
  X(UseWriting,       Flag,    QvFalse, QvFalse,              8, Page,   Option(Option_UseWriting)) \
  X(WritingText,      Text,    {},      QStringLiteral("none"), 9, Page, Writing(Look(Text))) \
  X(WritingFontName,  Text,    {},      QStringLiteral("MS Sans Serif"), 10, Page, Writing(Look(FontName))) \
  X(WritingForeColor, Long,    0,       Black,               11, Page,   Writing(Look(ForeColor))) \
  X(WritingBackColor, Long,    0,       White,               12, Page,   Writing(Look(BackColor))) \
  X(WritingFontSize,  Integer, 0,       10,                  13, Page,   Writing(Look(FontSize))) \
  X(WritingBold,      Flag,    QvFalse, QvFalse,             14, Page,   Writing(Look(Bold))) \
  X(WritingItalic,    Flag,    QvFalse, QvFalse,             15, Page,   Writing(Look(Italic))) \
  X(WritingUnderline, Flag,    QvFalse, QvFalse,             16, Page,   Writing(Look(Underline))) \
  X(WritingMode,      Integer, 0,       0,                   17, Page,   Writing(List(Combo_Writing))) \
  X(WritingWidth,     Integer, 0,       NewSize,             18, Page,   Writing(Box(WritingWidthBox))) \
  X(WritingHeight,    Integer, 0,       NewSize,             19, Page,   Writing(Box(WritingHeightBox))) \
  X(Sound,            Long,    0,       0,                   20, Page,   Own) \
  X(PictureLoaded,    Flag,    QvFalse, QvFalse,             21, NoPage, None) \
  X(PictureName,      Text,    {},      NewPictureName(n),   22, NoPage, None) \
  X(UseURL,           Flag,    QvFalse, QvFalse,             23, Page,   Own) \
  X(URL,              Text,    {},      DefaultPaneUrl,      24, Page,   Own) \
  X(Process,          Integer, 0,       0,                   25, Page,   List(Combo_ValueType)) \
  X(StartValue,       Integer, 0,       20,                  26, Page,   Box(StartValueBox)) \
  X(ProcessAmount,    Integer, 0,       1,                   27, Page,   Box(ProcessAmountBox)) \
  X(Value,            Integer, 0,       Keep,                28, Page,   None) \
  X(Layer,            Integer, 0,       n,                   29, NoPage, None) \
  X(EffectType,       Integer, 0,       0,                   31, Page,   List(Combo_EffectType)) \
  X(EffectDuration,   Integer, 0,       0,                   32, Page,   Box(EffectDurationBox)) \
  X(Flashing,         Flag,    QvFalse, Keep,                30, Page,   None) \
  X(MouseEffect,      Integer, 0,       1,                   33, Page,   List(Combo_EffectsMouse)) \
  X(Visible,          Flag,    QvFalse, QvTrue,              34, Page,   Option(Option_IsVisible)) \
  X(RevealPane,       Integer, 0,       0,                   35, Page,   Own) \
  X(RevealValue,      Integer, 0,       1,                   36, Page,   Box(RevealValueBox)) \
  X(CelWidth,         Integer, 0,       0,                   38, Page,   None) \
  X(CelHeight,        Integer, 0,       0,                   39, Page,   None) \
  X(CelsAcross,       Integer, 0,       1,                   40, Page,   Box(CelsAcrossBox)) \
  X(CelsDown,         Integer, 0,       1,                   41, Page,   Box(CelsDownBox)) \
  X(CelDelay,         Integer, 0,       0,                   42, Page,   Box(CelDelayBox)) \
  X(CelDelayCount,    Integer, 0,       0,                   43, Page,   None) \
  X(CelCount,         Integer, 1,       1,                   44, Page,   None) \
  X(CelColumn,        Integer, 0,       Keep,                45, Page,   None) \
  X(CelRow,           Integer, 0,       Keep,                46, Page,   None) \
  X(FlipOnBounds,     Flag,    QvFalse, QvFalse,             37, Page,   Option(Option_CanFlip)) \
  X(Label,            Text,    {},      NewPictureName(n),   47, Page,   Text(Text_Label)) \
  X(FlipCode,         Integer, 0,       1,                   48, Page,   None) \
  X(Direction,        Integer, 0,       0,                   49, Page,   None) \
  X(Collision,        Integer, 0,       1,                   50, Page,   List(Combo_CollisionType)) \
  X(MoveType,         Integer, 0,       0,                   51, Page,   List(Combo_AnimationType)) \
  X(Speed,            Integer, 0,       1,                   52, Page,   Box(SpeedBox)) \
  X(MoveDelay,        Integer, 0,       0,                   53, Page,   Box(MoveDelayBox)) \
  X(MoveDelayCount,   Integer, 0,       Keep,                54, Page,   None) \
  X(CelWrapFlag,      Integer, 0,       Keep,                55, Page,   None) \
  X(LifeStartValue,   Integer, 0,       19,                  56, Page,   Box(LifeStartValueBox)) \
  X(LifeEndValue,     Integer, 0,       10,                  57, Page,   Box(LifeEndValueBox)) \
  X(MouseOver,        Flag,    QvFalse, QvFalse,             58, Page,   None) \
  X(SpareFlag,        Flag,    QvFalse, QvFalse,             59, Page,   None)
// clang-format on
