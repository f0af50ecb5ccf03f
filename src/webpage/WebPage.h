// Exporting a project as one self-contained web page that plays it as a Full
// Board run does: the page's data, its look and its player inline, nothing
// fetched, a Content-Security-Policy that allows only the page's own script
// and style. The menu item "Export as Web Page ..." is our addition.
#pragma once
#include "model/Outcome.h"
#include "shell/Workspace.h"

namespace qv {

extern const QString ExportWebPageTitle;
extern const QString WebPageFilter;

// The whole page for the project in the workspace, from its design state.
QByteArray BuildWebPage(const Workspace& ws);
// Writes the page to htmlPath safely: on failure an older file stays whole.
Outcome ExportWebPage(const Workspace& ws, const QString& htmlPath);
// The menu command: asks for NAME.html in the project's folder, writes the
// page and offers to open it in the browser.
Outcome ExportWebPageCommand(Workspace& ws);

}  // namespace qv
