// The clipboard's payload of Panes, and the three commands.
#include "session/Clipboard.h"

#include "editing/PaneCopies.h"
#include "editing/Panes.h"
#include "editing/Selection.h"
#include "imaging/BoardRender.h"
#include "imaging/PaneFrames.h"
#include "session/Drops.h"
#include "shell/Platform.h"
#include "surface/PictureFile.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

namespace qv {

namespace {

constexpr int PayloadVersion = 1;
// The most a payload may hold: 50 Panes' cells, as incompressible as PNG gets.
constexpr qsizetype MaxPayloadBytes = 64 * 1024 * 1024;

QByteArray png(const QImage& img) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  img.save(&buffer, "PNG");
  return bytes;
}

QJsonObject fieldsJson(const PaneRecord& r) {
  QJsonObject o;
  for (const PaneField& f : PaneFields())
    o.insert(QLatin1String(f.name), f.kind == FieldKind::Text ? QJsonValue(f.text(r)) : QJsonValue(qint64(f.number(r))));
  return o;
}

QByteArray encode(const QString& project, const QVector<PaneCopy>& copies) {
  const PaneRecord& first = copies.front().record;
  QJsonArray panes;
  for (const PaneCopy& c : copies) {
    panes.append(QJsonObject{{"slot", c.slot},
                             {"dx", c.record.Left - first.Left},
                             {"dy", c.record.Top - first.Top},
                             {"fields", fieldsJson(c.record)},
                             {"sprite", QString::fromLatin1(png(c.sprite).toBase64())},
                             {"mask", QString::fromLatin1(png(c.mask).toBase64())},
                             {"soundName", c.ownSound ? c.ownSound->Name : QString()},
                             {"sound", c.ownSound ? QString::fromLatin1(c.ownSound->Wave.toBase64()) : QString()}});
  }
  const QJsonObject o{{"version", PayloadVersion}, {"project", project}, {"left", first.Left}, {"top", first.Top},
                      {"panes", panes}};
  return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

// A whole number within bounds from a JSON value; nullopt otherwise.
std::optional<qint64> whole(const QJsonValue& v, qint64 low, qint64 high) {
  if (!v.isDouble()) return std::nullopt;
  const double d = v.toDouble();
  if (!(d >= double(low) && d <= double(high)) || d != std::trunc(d)) return std::nullopt;
  return qint64(d);
}

// A 200 x 200 cell from PNG in base64, read through the picture checks.
std::optional<QImage> cell(const QJsonValue& v) {
  const QByteArray bytes = QByteArray::fromBase64(v.toString().toLatin1());
  const PictureResult read = LoadPictureData(bytes);
  if (!read.ok() || read.image.size() != QSize(CellSize, CellSize)) return std::nullopt;
  return read.image;
}

struct Payload {
  QString project;
  QVector<PaneCopy> copies;
};

std::optional<Payload> decode(const QByteArray& bytes, QString& why) {
  if (bytes.size() > MaxPayloadBytes) return why = QStringLiteral("it is larger than 64 MiB"), std::nullopt;
  QJsonParseError error;
  const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
  const QJsonObject o = doc.object();
  if (error.error != QJsonParseError::NoError || !doc.isObject()) return why = QStringLiteral("it is not a payload of Panes"), std::nullopt;
  const auto version = whole(o["version"], 1, INT32_MAX);
  if (!version) return why = QStringLiteral("it has no version"), std::nullopt;
  if (*version > PayloadVersion) return why = QStringLiteral("a newer Quorvel made it"), std::nullopt;
  const auto left = whole(o["left"], -32768, 32767), top = whole(o["top"], -32768, 32767);
  const QJsonArray panes = o["panes"].toArray();
  if (!left || !top || panes.isEmpty() || panes.size() > MaxPanes) return why = QStringLiteral("its Panes are missing or too many"), std::nullopt;
  Payload out{o["project"].toString(), {}};
  for (const QJsonValue& v : panes) {
    const QJsonObject p = v.toObject();
    const auto slot = whole(p["slot"], 1, MaxPanes);
    const auto dx = whole(p["dx"], -65535, 65535), dy = whole(p["dy"], -65535, 65535);
    const auto sprite = cell(p["sprite"]), mask = cell(p["mask"]);
    if (!slot || !dx || !dy || !sprite || !mask) return why = QStringLiteral("a Pane's place or pictures are damaged"), std::nullopt;
    PaneCopy c{int(*slot), {}, *sprite, *mask, std::nullopt};
    // An own sound comes as any own sound is read: checked, named anew.
    const QByteArray wave = QByteArray::fromBase64(p["sound"].toString().toLatin1());
    if (!wave.isEmpty()) {
      QString bad;
      const auto info = CheckOwnSound(wave, bad);
      if (!info) return why = QStringLiteral("a Pane's sound is damaged: %1").arg(bad), std::nullopt;
      c.ownSound = NamedOwnSound(wave, *info, p["soundName"].toString());
    }
    const QJsonObject fields = p["fields"].toObject();
    for (const PaneField& f : PaneFields()) {
      const QJsonValue value = fields[QLatin1String(f.name)];
      if (value.isUndefined()) continue;  // a field an older Quorvel did not have: its start value
      if (f.kind == FieldKind::Text) {
        f.text(c.record) = ProjectTextOf(value.toString(), f.maxLength());
        continue;
      }
      const bool isLong = f.kind == FieldKind::Long;
      const auto n = whole(value, isLong ? INT32_MIN : -32768, isLong ? INT32_MAX : 32767);
      if (!n) return why = QStringLiteral("the field %1 is damaged").arg(QLatin1String(f.name)), std::nullopt;
      f.setNumber(c.record, *n);
    }
    c.record.InUse = QvTrue;
    c.record.Left = Integer(std::clamp<qint64>(*left + *dx, -32768, 32767));
    c.record.Top = Integer(std::clamp<qint64>(*top + *dy, -32768, 32767));
    if (std::any_of(out.copies.begin(), out.copies.end(), [&](const PaneCopy& k) { return k.slot == c.slot; }))
      return why = QStringLiteral("it holds slot %1 twice").arg(c.slot), std::nullopt;
    out.copies.append(std::move(c));
  }
  return out;
}

// What other programs receive: the Pane's first Cel as it shows, its
// transparent part transparent.
QByteArray shownPicture(const Workspace& ws, int slot) {
  const PaneRecord& p = ws.project.Pane(slot);
  const QRect block(QPoint(p.SheetX, p.SheetY), shownSize(p));
  QImage img = ws.project.picSprites.Image().copy(block).convertToFormat(QImage::Format_ARGB32);
  if (isSet(p.BlackTransparent)) {
    const QImage mask = ws.project.picMasks.Image().copy(block);
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x)
        if ((mask.pixel(x, y) & 0xFFFFFFu) == 0xFFFFFFu) img.setPixel(x, y, 0);
  }
  return png(img);
}

bool paneStandsAt(const Workspace& ws, QPoint at) {
  return std::any_of(ws.project.PaneTable.begin() + 1, ws.project.PaneTable.end(),
                     [&](const PaneRecord& p) { return isSet(p.InUse) && p.Left == at.x() && p.Top == at.y(); });
}

const QString Full = QStringLiteral("The Board holds 50 Panes, the most it can.");

Outcome pasteOurs(Workspace& ws, const QByteArray& bytes) {
  QString why;
  const std::optional<Payload> payload = decode(bytes, why);
  if (!payload) return Outcome::failed({}, QStringLiteral("The Panes on the clipboard could not be read: %1.").arg(why));
  const PaneRecord& first = payload->copies.front().record;
  QPoint offset;
  for (int i = 0; i < 100 && paneStandsAt(ws, QPoint(first.Left, first.Top) + offset); ++i) offset += QPoint(10, 10);
  const QVector<int> placed = PlacePaneCopies(ws, payload->copies, payload->project == ws.session.ProjectIdentity, offset);
  if (placed.isEmpty()) return Outcome::failed({}, Full);
  SetSelection(ws, placed, placed.front());
  RedrawBoard(ws);
  Outcome o = Outcome::done();
  if (const qsizetype left = payload->copies.size() - placed.size())
    o.warn({}, QStringLiteral("%1 of the %2 Panes were left out: %3").arg(left).arg(payload->copies.size()).arg(Full));
  return o;
}

Outcome pastePicture(Workspace& ws, const QByteArray& bytes) {
  if (ws.project.PaneCount >= MaxPanes) return Outcome::failed({}, Full);
  PanePicture pic;
  const Outcome read = ReadPanePictureData(bytes, QStringLiteral("The picture on the clipboard"), pic);
  if (read.hasFailed()) return read;
  const Surface& board = ws.surfaces.picStage;
  const int slot = NewPaneForPicture(ws, pic, {board.Width() / 2, board.Height() / 2}, UniqueLabel(ws, "Pasted"));
  if (!slot) return Outcome::failed({}, Full);
  SetSelection(ws, {}, slot);
  RedrawBoard(ws);
  return read;
}

}  // namespace

Outcome CopyPanesToClipboard(Workspace& ws) {
  const QVector<int> chosen = ChosenPanes(ws);
  if (chosen.isEmpty()) return Outcome::cancelled();
  const int target = ChosenTarget(ws);
  ws.platform->SetClipboardData({{PanesMimeType, encode(ws.session.ProjectIdentity, CopyPanes(ws, chosen))},
                                 {QStringLiteral("image/png"), shownPicture(ws, chosen.contains(target) ? target : chosen.front())}});
  return Outcome::done();
}

Outcome CutPanes(Workspace& ws) {
  const QVector<int> chosen = ChosenPanes(ws);
  const Outcome o = CopyPanesToClipboard(ws);
  if (!o.succeeded()) return o;
  RemovePanes(ws, chosen);
  RedrawBoard(ws);
  return o;
}

Outcome PastePanes(Workspace& ws) {
  if (const QByteArray ours = ws.platform->ClipboardData(PanesMimeType); !ours.isEmpty()) return pasteOurs(ws, ours);
  for (const char* type : {"image/png", "image/bmp", "image/jpeg", "image/gif"})
    if (const QByteArray bytes = ws.platform->ClipboardData(QLatin1String(type)); !bytes.isEmpty()) return pastePicture(ws, bytes);
  return Outcome::failed({}, QStringLiteral("The clipboard holds no Panes and no picture."));
}

}  // namespace qv
