// The web page's data: pictures as PNG, Panes as numbers, texts as values.
#include "webpage/WebPageData.h"

#include "imaging/BoardRender.h"
#include "resources/Resources.h"
#include "surface/TextMask.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <set>

namespace qv {
namespace {

// PNG at the strongest compression, in base64; empty for no picture.
QByteArray pngBase64(const QImage& img) {
  if (img.isNull()) return {};
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  img.save(&buffer, "PNG", 0);
  return bytes.toBase64();
}

// Appends "name":"PNG in base64" to an object's text: a picture is encoded
// straight into the page's data, one copy in all.
void appendPicture(QByteArray& out, const char* name, const QImage& img) {
  out += ",\"";
  out += name;
  out += "\":\"";
  out += pngBase64(img);
  out += '"';
}

// A sheet as the part the Panes use (the rest is black): its size, the used
// part's place and the part as PNG, so the page decodes no more than that.
void appendSheet(QByteArray& out, const char* name, const Workspace& ws, bool mask) {
  const QImage used = UsedSheet(ws, mask);
  QRect area;
  for (int n = 1; n <= MaxPanes; ++n) {
    const PaneRecord& d = ws.project.PaneTable[size_t(n)];
    if (isSet(d.InUse) && (!mask || isSet(d.BlackTransparent))) area |= PaneSheetArea(d, used.size());
  }
  out += QStringLiteral(",\"%1\":{\"size\":[%2,%3],\"at\":[%4,%5]")
             .arg(QLatin1String(name)).arg(used.width()).arg(used.height()).arg(area.x()).arg(area.y()).toLatin1();
  appendPicture(out, "png", area.isEmpty() ? QImage() : used.copy(area));
  out += '}';
}

QJsonObject paneJson(const Workspace& ws, int slot, PagePictures pictures) {
  const PaneRecord& p = ws.project.PaneTable[size_t(slot)];
  QJsonArray values;
  for (const PaneField& f : PaneFields())
    if (f.page && f.kind != FieldKind::Text) values.append(qint64(f.number(p)));
  QJsonObject o{{"slot", slot}, {"values", values}, {"text", p.WritingText}, {"font", p.WritingFontName},
                {"address", WebAddress(p.URL)}};
  if (pictures == PagePictures::In && (p.MouseEffect == 2 || p.MouseEffect == 3)) {
    const TextMask t = RenderTextMask(ws.surfaces.picStage.Font, p.Label);
    if (!t.mask.isNull()) o["label"] = QJsonObject{{"x", t.offset.x()}, {"y", t.offset.y()}, {"png", QString::fromLatin1(pngBase64(t.mask))}};
  }
  return o;
}

}  // namespace

QString WebAddress(const QString& url) {
  // As a browser reads an address: tabs and line ends inside are dropped,
  // spaces and control characters around it too.
  static const QRegularExpression inner(QStringLiteral("[\\t\\n\\r]"));
  static const QRegularExpression outer(QStringLiteral("^[\\x00-\\x20]+|[\\x00-\\x20]+$"));
  const QString address = QString(url).remove(inner).remove(outer);
  if (address.isEmpty()) return {};
  // A scheme is letters, digits, "+", "-" or "." before a colon; a colon
  // before digits is a port ("localhost:8080").
  static const QRegularExpression scheme(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*):(?!\\d)"));
  const auto m = scheme.match(address);
  if (!m.hasMatch()) return QStringLiteral("http://") + address;
  const QString name = m.captured(1).toLower();
  return name == u"http" || name == u"https" || name == u"mailto" ? address : QString();
}

QRect PaneSheetArea(const PaneRecord& d, QSize sheet) {
  QRect area(d.SheetX, d.SheetY, d.Width, d.Height);
  if (d.CelCount > 1) {
    const auto within = [](int v, int lo, int hi) { return v >= lo && v <= hi; };
    if (!within(d.CelsAcross, 1, 5) || !within(d.CelsDown, 1, 5) || !within(d.CelWidth, 0, 200) ||
        !within(d.CelHeight, 0, 200))
      return QRect(QPoint(0, 0), sheet);
    area |= QRect(d.SheetX, d.SheetY, d.CelsAcross * d.CelWidth, d.CelsDown * d.CelHeight);
  }
  return area & QRect(QPoint(0, 0), sheet);
}

QImage UsedSheet(const Workspace& ws, bool mask) {
  const QImage& sheet = (mask ? ws.project.picMasks : ws.project.picSprites).Image();
  QImage used(sheet.size(), QImage::Format_RGB32);
  used.fill(Qt::black);
  for (int n = 1; n <= MaxPanes; ++n) {
    const PaneRecord& d = ws.project.PaneTable[size_t(n)];
    if (!isSet(d.InUse) || (mask && !isSet(d.BlackTransparent))) continue;
    const QRect a = PaneSheetArea(d, sheet.size());
    BitBlt(used, a.x(), a.y(), a.width(), a.height(), sheet, a.x(), a.y(), RasterOp::SRCCOPY);
  }
  return used;
}

QByteArray WebPageData(const Workspace& ws, PagePictures pictures) {
  QJsonArray fields, panes;
  for (const PaneField& f : PaneFields())
    if (f.page && f.kind != FieldKind::Text) fields.append(QLatin1String(f.name));
  std::set<Long> soundIds;
  for (int n = 1; n <= MaxPanes; ++n) {
    const PaneRecord& p = ws.project.PaneTable[size_t(n)];
    if (!isSet(p.InUse)) continue;
    panes.append(paneJson(ws, n, pictures));
    if (p.Sound != 0) soundIds.insert(p.Sound);
  }
  QJsonObject sounds;
  for (Long id : soundIds) {
    // Our addition: an own sound of the project, embedded once however many
    // Panes play it.
    const auto own = ws.project.OwnSounds.constFind(id);
    const QByteArray wave = pictures == PagePictures::Out     ? QByteArray()
                            : own != ws.project.OwnSounds.cend() ? own->Wave
                                                                 : LoadResData(id, QStringLiteral("CUSTOM"));
    if (!wave.isEmpty()) sounds[QString::number(id)] = QString::fromLatin1(wave.toBase64());
  }
  const Surface& board = ws.surfaces.picStage;
  const QJsonObject o{
      {"title", ws.project.DocumentTitle()},
      {"board", QJsonArray{board.Width(), board.Height()}},
      // Where a Full Board run puts the Board, which the left bounce uses.
      {"stageLeft", ws.win.picHolder.Left + 1},
      {"pointer", QJsonArray{ws.pointer.MouseX, ws.pointer.MouseY}},
      {"labelColor", ws.project.BoardSettings.LabelColor},
      {"selectionColor", ws.project.BoardSettings.SelectionColor},
      {"fields", fields},
      {"panes", panes},
      {"sounds", sounds},
  };
  QByteArray out = QJsonDocument(o).toJson(QJsonDocument::Compact).replace("<", "\\u003c");
  if (pictures == PagePictures::Out) return out;
  out.chop(1);  // the closing brace: the pictures follow
  {
    // The base picture painted on a copy of the Board (the Board keeps its
    // picture). The Board's own RGB32 image holds no colour space or text
    // that could go into the page.
    Surface stage = board;
    PaintBoardBase(ws, stage);
    appendPicture(out, "base", stage.Image());
  }
  appendSheet(out, "sprites", ws, false);
  appendSheet(out, "masks", ws, true);
  out += '}';
  return out;
}

}  // namespace qv
