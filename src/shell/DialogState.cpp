// The dialogs' controls as they are when the dialogs are first made.
#include "shell/DialogState.h"

namespace qv {

PaneDialogState::PaneDialogState() {
  // The boxes' design texts, box 0 to 15.
  const char* const design[ValBoxCount] = {"99", "99", "99", "1",  "1",   "99",  "1",   "1",
                                           "1",  "200", "200", "99", "0", "200", "200", "1"};
  for (int k = 0; k < ValBoxCount; ++k) Text_Val[size_t(k)].Text = QString::fromLatin1(design[k]);
  Label1 = QStringLiteral("Constants which change the properties of a Pane.");
  Text_Writing.Text = QStringLiteral("none");
}

BoardDialogState::BoardDialogState() {
  Label1 = QStringLiteral(
      "Assigned property values for the Board, which may help during Design; Label Color activates in RunMode.");
}

LibraryDialogState::LibraryDialogState() {
  Label1 = QStringLiteral("Select a resident Library. Libraries are scanned for during Application loadup.");
  // The previews are 200 x 200 boxes in a light grey until a bitmap shows.
  for (Surface* box : {&picLibraryPreview, &picImagePreview}) {
    box->BackColor = RGB(240, 240, 240);
    box->SetSize(200, 200);
  }
}

}  // namespace qv
