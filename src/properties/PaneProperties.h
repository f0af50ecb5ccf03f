// The Pane properties dialog (frmPanes) as engine procedures over its
// controls' values (ws.dialogs.panes): opening it for the Target Pane,
// loading the Pane into the controls, the numeric boxes' key filter and
// change rule, the Popular Values menu, the Writing font and colour
// handlers, and storing the controls into the Pane on accept.
#pragma once
#include "model/Outcome.h"
#include "shell/Workspace.h"

#include <optional>

namespace qv {

// The info line under the tabs, by tab.
QString PaneTabInfo(int tab);
// The rules of numeric box k (Text_Val(k)).
struct ValBoxRule {
  int maximum;         // clamp while typing (box 5: not validated)
  int minimum;         // raised to on accept (0: none)
  bool zeroBecomesOne;  // the key "0" types "1"
  bool refuseFourToNine;
  int popular;         // Popular Values enabled: 0 none, 1 "05" only, 2 all
  int length;          // the characters the box holds
};
const ValBoxRule& ValBoxRuleOf(int k);

// Fills the dialog's lists at start-up and for New Project, each selection
// running its list's handler as a user's choice would.
void FillPaneDialogLists(Workspace& ws);

// Opening: Edit (caption set), Resize (tab 1 selected, info line set), and
// the Fast Icons' two ways (Resize leaves the caption as it was; Edit also
// redraws the Board after the dialog closed).
void mnu_EditPane_Click(Workspace& ws);
void mnu_ResizePane_Click(Workspace& ws);
void FastIconResize(Workspace& ws);
void FastIconEdit(Workspace& ws);

void FillRevealList(Workspace& ws);
void LoadPaneProperties(Workspace& ws, int slot);
// Stores the controls into the Target Pane's record in sixteen steps, with
// the rescale of its picture when its size changed; redraws the Board.
void UpdatePaneProperties(Workspace& ws);
// Button_frmPanes(index): 1 "a c c e p t" stores, 0 "cancel" does not; both
// hide the dialog.
void Button_frmPanes_Click(Workspace& ws, int index);
void SSTab1_Click(Workspace& ws, int tab);

// Numeric boxes. The key a user types into box k: passed on (perhaps
// changed) or refused. Backspace and Enter pass.
std::optional<QChar> Text_Val_KeyPress(Workspace& ws, int k, QChar key);
// The change rule after every change of box k's text (typing, pasting, code).
void Text_Val_Change(Workspace& ws, int k, const QString& text);
// Text put into box k between the head and the tail of its text (typed,
// pasted or dropped): every character through the key filter, the letters
// left out, what does not fit the box's length cut, then the change rule.
// The box's new text, or nullopt when every key was refused (the box stays);
// typed, when given, gets how many characters went in.
std::optional<QString> Text_Val_Insert(Workspace& ws, int k, const QString& head, const QString& inserted,
                                       const QString& tail, qsizetype* typed = nullptr);
// The number a box holds: digits only, 0 when empty, at most the maximum.
int ValNumber(const PaneDialogState& d, int k);
// Right button on box k: remembers the box; the enabled Popular Values items.
std::array<bool, 6> Text_Val_MouseDown(Workspace& ws, int k);
// Popular Values item (0 "05" .. 5 "99") into the box last used.
void mnuPopularValues_Click(Workspace& ws, int item);

// The separator character of the project text is refused in the free-text
// boxes (Label, URL, Writing).
void Text_Label_Change(Workspace& ws, const QString& text);
void Text_URL_Change(Workspace& ws, const QString& text);
// A key typed into the Writing box: false when refused; any key makes the
// Writing "Active".
bool Text_Writing_KeyPress(Workspace& ws, QChar key);
void Text_Writing_Change(Workspace& ws, const QString& text);

// The sound list (our addition to "none" and "Ding!"): "Load a sound ...",
// then the project's own sounds and those loaded since the dialog opened,
// by name; each entry's item data is the Sound value it stores.
constexpr int LoadSoundEntry = 2;
void FillSoundList(Workspace& ws);
// Selects the entry that stores the Sound value; none when no entry does.
void SelectSound(Workspace& ws, Long sound);
// A choice in the sound list: "Load a sound ..." asks for a sound file and
// selects it as a new entry, or selects the entry chosen before again when
// the dialog was cancelled or the file gave no sound (which a message says).
void Combo_Sound_Click(Workspace& ws);
// A sound file into the list as "Load a sound ..." takes it, selected.
Outcome LoadSoundIntoList(Workspace& ws, const QString& path);
// Accept: the Pane's Sound from the list; a loaded sound it plays joins the
// project.
void StoreSound(Workspace& ws, PaneRecord& p);

void Combo_ValueType_Click(Workspace& ws);
void Combo_EffectType_Change(Workspace& ws);
void Option_UseURL_Click(Workspace& ws, int index);
void cmbFontNameTXT_Click(Workspace& ws);
void cmbFontSizeTXT_Click(Workspace& ws);
void cmbStyleTXT_Click(Workspace& ws);
void cmbFontColorTXT_Click(Workspace& ws);
void cmbBackColorTXT_Click(Workspace& ws);
void ColorSwatchTXT_Click(Workspace& ws);
// The colour dialog for the Writing's text or background colour.
void writingColorChoice(Workspace& ws, ColorTarget target);

// The five named colours of the colour lists, by index.
Long NamedColour(int index);

}  // namespace qv
