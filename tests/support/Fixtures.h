// Helpers shared by the engine tests: colours and pixels, data files of
// cases, quorvel-cli runs, Panes placed in given slots with recognisable
// pictures, Cels, movements, and driving the run loop and the pointer the way
// the window does. With Qt Test and Qt Core; `using namespace qv` finds them.
#pragma once
#include "editing/Panes.h"
#include "imaging/BoardRender.h"
#include "imaging/Sheets.h"
#include "resources/Resources.h"
#include "runmode/RunLoop.h"
#include "runmode/StageMouse.h"
#include "session/Commands.h"
#include "session/Headless.h"
#include "surface/WaveFile.h"
#include "shell/Setups.h"

#include <QImage>
#include <QtTest>
#include <memory>

namespace qv::fixtures {

constexpr Long Red = RGB(200, 0, 0), Blue = RGB(0, 0, 200), Green = RGB(0, 150, 0), Yellow = RGB(210, 200, 20),
               Purple = RGB(120, 20, 200);

inline Long px(const QImage& img, int x, int y) { return fromQRgb(img.pixel(x, y)); }
inline Long stagePx(Workspace& ws, int x, int y) { return px(ws.surfaces.picStage.Image(), x, y); }

inline void fill(QImage& img, int x, int y, int w, int h, Long c) {
  for (int j = std::max(y, 0); j < std::min(y + h, img.height()); ++j)
    for (int i = std::max(x, 0); i < std::min(x + w, img.width()); ++i) img.setPixel(i, j, toQRgb(c));
}

// A picture of random colours from a seed.
inline QImage randomImage(int w, int h, quint32 seed) {
  QImage img(w, h, QImage::Format_RGB32);
  QRandomGenerator rng(seed);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.setPixel(x, y, 0xff000000u | (rng.generate() & 0xffffffu));
  return img;
}

inline QByteArray readFile(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool writeFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// The rows of a test's data file: each line up to a '#' note, trimmed;
// empty rows are left out. Fewer or more rows than the test counts on fail
// it, so a lost file or row tests less only loudly (a count of -1: the
// caller counts them itself).
inline QList<QByteArray> dataRows(const QString& path, int count = -1) {
  QList<QByteArray> rows;
  for (const QByteArray& line : readFile(path).split('\n'))
    if (const QByteArray row = line.split('#').first().trimmed(); !row.isEmpty()) rows << row;
  if (count >= 0 && rows.size() != count)
    QTest::qFail(qPrintable(QStringLiteral("%1 has %2 rows, not %3").arg(path).arg(rows.size()).arg(count)), __FILE__, __LINE__);
  return rows;
}

// The rows of numbers in a test's data file, separated by commas.
inline QList<QList<int>> numberRows(const QString& path, int count) {
  QList<QList<int>> rows;
  for (const QByteArray& line : dataRows(path, count)) {
    QList<int> row;
    for (const QByteArray& n : line.split(',')) row << n.trimmed().toInt();
    rows << row;
  }
  return rows;
}

// A WAVE file of a sine tone at 0.8 of full scale, every channel alike.
inline QByteArray toneWave(int rate, int channels, int ms, double hz) {
  QByteArray pcm;
  for (qint64 i = 0; i < qint64(rate) * ms / 1000; ++i) {
    const qint16 v = qint16(std::lround(26214 * std::sin(2 * M_PI * hz * double(i) / rate)));
    for (int c = 0; c < channels; ++c) pcm.append(reinterpret_cast<const char*>(&v), 2);
  }
  return EncodeWave(pcm, channels, rate);
}

// The rows of a data file whose fields are separated by '|', each trimmed.
inline QList<QStringList> fieldRows(const QString& path, int count) {
  QList<QStringList> rows;
  for (const QByteArray& line : dataRows(path, count)) {
    rows << QString::fromUtf8(line).split('|');
    for (QString& field : rows.last()) field = field.trimmed();
  }
  return rows;
}

// Writes a number little-endian over width bytes at `at`, as file formats
// hold it.
inline void putLE(QByteArray& b, qint64 at, quint64 v, int width = 4) {
  for (int i = 0; i < width; ++i) b[at + i] = char(v >> (8 * i));
}

// A started program's exit code (-1 for a crash or a hang) and its output.
struct Ran {
  int code;
  QByteArray out, err;
};

inline Ran finish(QProcess& p, int waitMs = 90'000) {
  if (!p.waitForFinished(waitMs)) p.kill();
  p.waitForFinished();
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(), p.readAllStandardError()};
}

// A program (quorvel-cli unless named) started with the arguments,
// "NAME=value" settings added to its environment; and run to its end.
inline std::unique_ptr<QProcess> startCli(const QStringList& args, const QStringList& settings = {},
                                          const QString& program = qEnvironmentVariable("QUORVEL_CLI")) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const QString& v : settings) env.insert(v.section('=', 0, 0), v.section('=', 1));
  auto p = std::make_unique<QProcess>();
  p->setProcessEnvironment(env);
  p->start(program, args);
  return p;
}
inline Ran runCli(const QStringList& args, const QStringList& settings = {}) { return finish(*startCli(args, settings)); }

// The settings that preload the fault injector (tests/cli/fault_shim.c)
// watching dir. A sanitizer runtime asks to be loaded first; the shim only
// wraps libc.
inline QStringList faultShim(const QString& dir) {
  return {"LD_PRELOAD=" + qEnvironmentVariable("QUORVEL_FAULT_SHIM"), "QV_FAULT_DIR=" + dir,
          "ASAN_OPTIONS=" + qEnvironmentVariable("ASAN_OPTIONS") + ":verify_asan_link_order=0"};
}

// Every entry of a folder, hidden ones included, with its bytes.
inline QMap<QString, QByteArray> snapshot(const QString& dir) {
  QMap<QString, QByteArray> s;
  for (const QString& name : QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
    s[name] = readFile(QDir(dir).filePath(name));
  return s;
}

inline QRect rectOf(const ControlState& c) { return QRect(c.Left, c.Top, c.Width, c.Height); }
inline QRect boardOf(const Workspace& ws) {
  const Surface& s = ws.surfaces.picStage;
  return QRect(s.Left, s.Top, s.Width(), s.Height());
}

// The design's sheets and table, as a run must leave them.
struct Design {
  explicit Design(Workspace& ws)
      : sprites(ws.project.picSprites.Image().copy()), masks(ws.project.picMasks.Image().copy()), table(ws.project.PaneTable) {}
  bool matches(Workspace& ws) const {
    return ws.project.picSprites.Image() == sprites && ws.project.picMasks.Image() == masks && ws.project.PaneTable == table;
  }
  QImage sprites, masks;
  PaneTableArray table;
};

// Gives every field of a record a value different from its default: Left
// -15 - seed, other numbers from the seed (at the ends of their range for an
// even seed), every Flag True, texts with their name.
inline void fillPane(PaneRecord& r, int seed) {
  for (size_t i = 0; i < PaneFields().size(); ++i) {
    const PaneField& f = PaneFields()[i];
    const int k = int(i) + 1;
    switch (f.kind) {
      case FieldKind::Integer: f.integer(r) = Integer(seed % 2 ? seed * 100 + k : -32768 + seed + k); break;
      case FieldKind::Long: f.longValue(r) = seed % 2 ? 1000000 * seed + k : INT32_MIN + k; break;
      case FieldKind::Flag: f.integer(r) = QvTrue; break;
      case FieldKind::Text: f.text(r) = QString::fromUtf8("%1 %2 Ζωή é 😀 {\\}").arg(f.name).arg(seed); break;
    }
  }
  r.Left = Integer(-15 - seed);
}

// Gives the record's number fields their values: "Field=value ...".
inline PaneRecord& setFields(PaneRecord& r, const QString& fields) {
  for (const QString& f : fields.split(' ', Qt::SkipEmptyParts)) PaneFieldByName(f.section('=', 0, 0))->setNumber(r, f.section('=', 1).toLongLong());
  return r;
}

// A Board of the given size and colour with solid blocks painted in order:
// the expected picture of a redraw.
inline QImage boardModel(QSize size, Long back, std::initializer_list<std::pair<QRect, Long>> blocks) {
  QImage img(size, QImage::Format_RGB32);
  img.fill(toQRgb(back));
  for (const auto& [r, c] : blocks) fill(img, r.x(), r.y(), r.width(), r.height(), c);
  return img;
}

// A colour that differs for every pixel of a block and never is pure black
// or white, so every mirroring shows: (x, y) of slot n.
inline Long patternAt(int slot, int x, int y) {
  return RGB(10 + (x * 3 + slot) % 240, 10 + (y * 5 + slot * 7) % 240, 10 + (x + y + slot) % 240);
}

// Gives slot n a Pane with the new-Pane defaults at (left, top), size w x h
// (its Writing box the same size), painted with the slot's pattern, and
// counts it.
inline PaneRecord& placePane(Workspace& ws, int slot, int left, int top, int w, int h) {
  ws.pointer.CurrentPane = slot;
  InitPaneRecord(ws, slot);
  PaneRecord& p = ws.Pane(slot);
  p.Left = Integer(left);
  p.Top = Integer(top);
  p.Width = p.WritingWidth = Integer(w);
  p.Height = p.WritingHeight = Integer(h);
  ws.project.PaneCount = Integer(ws.project.PaneCount + 1);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) ws.project.picSprites.Image().setPixel(p.SheetX + x, p.SheetY + y, toQRgb(patternAt(slot, x, y)));
  return p;
}

inline PaneRecord& placeSolid(Workspace& ws, int slot, int left, int top, int w, int h, Long c) {
  PaneRecord& p = placePane(ws, slot, left, top, w, h);
  fill(ws.project.picSprites.Image(), p.SheetX, p.SheetY, w, h, c);
  return p;
}

// Turns the Pane into a cx x cy Cel grid; with colours, Cel k (reading
// order) is painted colours[k].
inline void makeCels(Workspace& ws, int slot, int cx, int cy, int delay = 0, QList<Long> colours = {}) {
  PaneRecord& p = ws.Pane(slot);
  p.CelsAcross = Integer(cx);
  p.CelsDown = Integer(cy);
  p.CelCount = Integer(cx * cy);
  p.CelWidth = CelSize(p.Width, cx);
  p.CelHeight = CelSize(p.Height, cy);
  p.CelDelay = Integer(delay);
  for (int k = 0; k < colours.size(); ++k)
    fill(ws.project.picSprites.Image(), p.SheetX + k % cx * p.CelWidth, p.SheetY + k / cx * p.CelHeight, p.CelWidth,
         p.CelHeight, colours[k]);
}

// Makes the Pane Transparent: black cuts (every pixel with x % 4 == 0 or the
// top-left 5 x 5 corner) and its mask built from them.
inline void makeTransparent(Workspace& ws, int slot) {
  PaneRecord& p = ws.Pane(slot);
  for (int y = 0; y < p.Height; ++y)
    for (int x = 0; x < p.Width; ++x)
      if (x % 4 == 0 || (x < 5 && y < 5)) fill(ws.project.picSprites.Image(), p.SheetX + x, p.SheetY + y, 1, 1, Black);
  p.BlackTransparent = QvTrue;
  BuildPaneMask(ws, slot);
}

// Gives the Pane a movement as the Pane dialog applies it.
inline PaneRecord& setMove(PaneRecord& p, int moveType, int speed, bool flip) {
  p.MoveType = p.Direction = Integer(moveType);
  if (moveType == 5) p.FlipCode = 1;
  p.Speed = Integer(speed);
  p.FlipOnBounds = toFlag(flip);
  return p;
}

// The Pane's block of the sprite (mask) sheet.
inline QImage sheetBlock(Workspace& ws, int slot, bool mask = false) {
  const PaneRecord& d = ws.Pane(slot);
  return (mask ? ws.project.picMasks : ws.project.picSprites).Image().copy(d.SheetX, d.SheetY, d.Width, d.Height);
}

// picResize at rest: 200 x 200, no AutoSize, showing bitmap 101.
inline bool picResizeAtRest(const Workspace& ws) {
  const QImage def = LoadResPicture(DefaultPanePictureId);
  const Surface& r = ws.surfaces.picResize;
  return r.Image() == def && r.Picture() == def && !r.AutoSize;
}

inline void passes(Workspace& ws, int n) {
  for (int i = 0; i < n; ++i) RunLoopPass(ws);
}

// Moves the pointer and lets a pass run its hover tests.
inline void hoverAt(Workspace& ws, double x, double y) {
  picStage_MouseMove(ws, 0, x, y);
  RunLoopPass(ws);
}

inline void clickAt(Workspace& ws, double x, double y, int button = 1) {
  hoverAt(ws, x, y);
  picStage_MouseDown(ws, button, x, y);
}

// Stop and let the loop run its last pass.
inline void stopAndEnd(Workspace& ws, StopForm form = StopForm::StopIcon) {
  StopRun(ws, form);
  while (RunLoopPass(ws)) {
  }
}

}  // namespace qv::fixtures

namespace qv {
using namespace fixtures;
}
