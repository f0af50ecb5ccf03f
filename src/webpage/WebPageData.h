// What the web page plays: the Board, its base picture, the sheet blocks the
// Panes use, the Labels as pictures, the sounds and the Pane records, as one
// JSON document for the page's data block.
#pragma once
#include "shell/Workspace.h"

#include <QByteArray>
#include <QImage>
#include <QRect>

namespace qv {

// The address the page's URL button opens for a Pane's URL: one that names
// http, https or mailto as it is, one without a scheme after "http://" as
// OpenPaneUrl builds it; empty (no button) for any other scheme.
QString WebAddress(const QString& url);

// The part of a sheet the run can read or mirror for a Pane: its design
// block and every Cel. Values no dialog gives (a Cel grid outside 1..5) may
// read anywhere: then the whole sheet.
QRect PaneSheetArea(const PaneRecord& d, QSize sheet);

// The sheet with only the Panes' areas kept (the mask sheet: only those of
// Transparent Panes); every other pixel is black. The sheets are read as
// they are: in Design, where the command is offered, as designed.
QImage UsedSheet(const Workspace& ws, bool mask);

// Whether the data holds the pictures (Board base, sheets, Labels) and sounds:
// the page needs them, the run's rules do not (quorvel-cli export --data-dir).
enum class PagePictures { In, Out };

// The page's data as JSON, every "<" written as \u003c so that no text of
// the project can end the block it stands in.
QByteArray WebPageData(const Workspace& ws, PagePictures pictures = PagePictures::In);

}  // namespace qv
