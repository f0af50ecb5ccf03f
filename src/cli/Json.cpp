// Tables as JSON: numbers for Integer and Long fields, booleans for Flags
// (true only for the set value), strings for Text.
#include "cli/Json.h"

#include "project/ProjectText.h"

namespace qv {

QJsonArray PanesJson(const std::array<PaneRecord, SlotCount>& table) {
  QJsonArray panes;
  // Slot 0 too: a project file may name it, and the dump shows what loaded.
  for (int n = 0; n <= MaxPanes; ++n) {
    PaneRecord r = table[size_t(n)];
    if (!isSet(r.InUse)) continue;
    QJsonObject o;
    o["Slot"] = n;
    for (const PaneField& f : PaneFields()) {
      const QString name = QLatin1String(f.name);
      switch (f.kind) {
        case FieldKind::Text: o[name] = f.text(r); break;
        case FieldKind::Flag: o[name] = isSet(Flag(f.number(r))); break;
        default: o[name] = double(f.number(r)); break;
      }
    }
    panes.append(o);
  }
  return panes;
}

QJsonObject BoardSettingsJson(const BoardSettingsRecord& b) {
  QJsonObject o;
  o["BackPictureName"] = b.BackPictureName;
  o["BackPicturePath"] = b.BackPicturePath;
  o["BoardBackColor"] = double(b.BoardBackColor);
  o["LabelColor"] = double(b.LabelColor);
  o["SelectionColor"] = double(b.SelectionColor);
  o["UseBackPicture"] = isSet(b.UseBackPicture);
  o["WirePanes"] = isSet(b.WirePanes);
  o["FloatPanes"] = isSet(b.FloatPanes);
  o["BoardLocked"] = isSet(b.BoardLocked);
  return o;
}

QJsonArray ZorderJson(const QVector<ZorderEntry>& zorder) {
  QJsonArray list;
  for (const auto& e : zorder) list.append(QJsonObject{{"Text", e.Text}, {"ItemData", e.ItemData}});
  return list;
}

QByteArray TraceLine(int frame, const std::array<PaneRecord, SlotCount>& table) {
  // Place, direction, flip code, Cel, Value, visibility, flash and hover.
  static const QList<const PaneField*> fields = [] {
    QList<const PaneField*> f;
    for (const char* name : {"Left", "Top", "Direction", "FlipCode", "CelColumn", "CelRow", "SheetX", "SheetY", "Value",
                             "Visible", "Flashing", "MouseOver"})
      f << PaneFieldByName(QLatin1String(name));
    return f;
  }();
  QByteArray line = "{\"Frame\":" + QByteArray::number(frame) + ",\"Panes\":[";
  for (int n = 1; n <= MaxPanes; ++n) {
    const PaneRecord& p = table[size_t(n)];
    if (!isSet(p.InUse)) continue;
    if (!line.endsWith('[')) line += ',';
    line += "{\"Slot\":" + QByteArray::number(n);
    for (const PaneField* f : fields) line += ",\"" + QByteArray(f->name) + "\":" + QByteArray::number(qint64(f->number(p)));
    line += '}';
  }
  return line + "]}\n";
}

}  // namespace qv
