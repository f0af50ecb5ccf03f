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

// How the page starts: the run at once, or its first frame held under a
// play button until a click or Space.
enum class PageStart { Now, Click };

// The whole page for the project in the workspace, from its design state.
QByteArray BuildWebPage(const Workspace& ws, PageStart start = PageStart::Now);
// Writes the page to htmlPath safely: on failure an older file stays whole.
Outcome ExportWebPage(const Workspace& ws, const QString& htmlPath, PageStart start = PageStart::Now);
// The menu command: asks for NAME.html in the project's folder and whether
// the page starts on a click, writes the page and offers to open it in the
// browser (xdg-open), warning with the page's path when none could.
Outcome ExportWebPageCommand(Workspace& ws);

}  // namespace qv
