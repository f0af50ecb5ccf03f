// The library scan and the picker.
#include "library/LibraryPicker.h"

namespace qv {

void ScanLibraries(Workspace& ws) {
  ws.project.LibrariesPresent = QvFalse;
  ws.dialogs.library.List_Libraries.Clear();
}

}  // namespace qv
