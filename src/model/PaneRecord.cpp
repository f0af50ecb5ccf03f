// The field table of PaneRecord and the project text's order, made from the
// field list.
#include "model/PaneRecord.h"

#include <algorithm>

namespace qv {

const std::array<PaneField, PaneFieldCount>& PaneFields() {
#define QV_PANE_ROW(Name, Kind, Start, Added, Token, Page, Control) \
  PaneField{#Name, FieldKind::Kind, &PaneRecord::Name, Token, QV_PAGE_##Page},
#define QV_PAGE_Page true
#define QV_PAGE_NoPage false
  static const std::array<PaneField, PaneFieldCount> fields = {QV_PANE_FIELDS(QV_PANE_ROW)};
#undef QV_PANE_ROW
#undef QV_PAGE_Page
#undef QV_PAGE_NoPage
  return fields;
}

const std::vector<const PaneField*>& PaneTokenFields() {
  static const std::vector<const PaneField*> fields = [] {
    std::vector<const PaneField*> out;
    for (const PaneField& f : PaneFields())
      if (f.token > 0) out.push_back(&f);
    std::sort(out.begin(), out.end(), [](const PaneField* a, const PaneField* b) { return a->token < b->token; });
    return out;
  }();
  return fields;
}

int PaneField::maxLength() const {
  const QLatin1String n(name);
  return n == QLatin1String("Label") ? MaxLabelLength : n == QLatin1String("WritingText") ? MaxWritingLength
         : n == QLatin1String("URL")  ? MaxUrlLength : MaxNameLength;
}

qint64 PaneField::number(const PaneRecord& r) const {
  if (auto p = std::get_if<0>(&member)) return r.**p;
  if (auto p = std::get_if<1>(&member)) return r.**p;
  return 0;
}

void PaneField::setNumber(PaneRecord& r, qint64 v) const {
  if (auto p = std::get_if<0>(&member)) r.**p = Integer(v);
  else if (auto p = std::get_if<1>(&member)) r.**p = Long(v);
}

const PaneField* PaneFieldByName(const QString& name) {
  for (const auto& f : PaneFields())
    if (name == QLatin1String(f.name)) return &f;
  return nullptr;
}

}  // namespace qv
