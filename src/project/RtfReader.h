// Reads any rich-text (RTF) document back to its plain text, as a RichEdit
// control's text would hold it.
#pragma once
#include "project/RtfCodePages.h"

#include <QByteArray>
#include <QString>

namespace qv {

struct RtfReadResult {
  bool ok = false;
  QString text;                    // the document's plain text
  // The code page the document's default text is decoded in: that of the
  // default font when its \fcharset names one, else the declared \ansicpg.
  int codePage = DefaultCodePage;
  QString error;                   // why the bytes are no document, when !ok
};

// Tolerant reader: groups, ignorable and unknown destinations are skipped,
// \par \line \sect \page give "\n", \tab "\t", \'hh is decoded in the code
// page of the current font (its \fcharset) or else of the document, \uN
// skips the \ucN fallback characters that follow it. The paragraph mark that
// ends the document adds no character, so WriteRtf's output reads back to
// the text it was given (with "\r\n" and "\r" line breaks as "\n").
// Anything after the closing brace is ignored; a truncated document gives
// the text read so far. Linear in the input; nesting uses no recursion, and
// no memory of its own: only groups that change something are remembered.
RtfReadResult ReadRtf(const QByteArray& bytes);

}  // namespace qv
