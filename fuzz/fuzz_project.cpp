// libFuzzer target: the rich-text reader, then the project text reader on
// what it produced, and the project text reader on the raw bytes as Latin-1;
// the own sounds a load reads for the text name every one a Pane holds.
#include "shell/Workspace.h"
#include "project/ProjectText.h"
#include "project/RtfReader.h"

#include <array>
#include <cstddef>
#include <utility>
#include <cstdint>

namespace {

// Building a Workspace allocates every picture surface; one is built once and
// the state ParseProject writes is put back to its fresh values per input.
qv::Workspace& workspace() {
  static qv::Workspace* ws = [] {
    auto* w = new qv::Workspace;
    w->surfaces.picStage.SetSize(8, 8);  // keeps the background repaint cheap
    return w;
  }();
  return *ws;
}

void reset(qv::Workspace& ws) {
  ws.project.PaneTable = {};
  ws.project.BoardSettings = {};
  ws.project.PaneCount = 0;
  ws.pointer.CurrentPane = 1;
  ws.project.List_Zorder.clear();
}

void parse(const QString& text, QChar separator) {
  qv::Workspace& ws = workspace();
  reset(ws);
  const qv::ParseResult r = qv::ParseProject(ws, text, separator);
  // What the reader reports must agree with what it stored.
  if (r.complete && r.failedToken != -1) __builtin_trap();
  if (!r.complete && (r.failedToken < 0 || r.failedToken >= r.tokensRead)) __builtin_trap();
  if (ws.pointer.CurrentPane < 0 || ws.pointer.CurrentPane > qv::MaxPanes) __builtin_trap();
  // Each Pane read is listed once, and no text it holds is longer than its
  // field allows.
  std::array<bool, qv::SlotCount> listed{};
  for (const auto& e : ws.project.List_Zorder) {
    if (!qv::validSlot(e.ItemData) || !qv::isSet(ws.project.PaneTable[size_t(e.ItemData)].InUse)) __builtin_trap();
    if (std::exchange(listed[size_t(e.ItemData)], true)) __builtin_trap();
    for (const qv::PaneField& f : qv::PaneFields())
      if (f.kind == qv::FieldKind::Text && f.text(ws.project.PaneTable[size_t(e.ItemData)]).size() > f.maxLength()) __builtin_trap();
  }
  const QList<qv::Long> sounds = qv::OwnSoundsOfText(text, separator);
  for (const qv::PaneRecord& p : ws.project.PaneTable)
    if (qv::isSet(p.InUse) && p.Sound >= 1000 && !sounds.contains(p.Sound)) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
  const qv::RtfReadResult rtf = qv::ReadRtf(bytes);
  if (rtf.ok) parse(rtf.text, qv::SeparatorForCodePage(rtf.codePage));
  else if (rtf.error.isEmpty()) __builtin_trap();
  parse(QString::fromLatin1(bytes), qv::FieldSeparator);
  return 0;
}
