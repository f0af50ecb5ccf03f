// Saving and loading a full project: 50 Panes with every field set, the
// sheets full of pixels and a Background. SaveProject runs through the bench
// platform, whose Wait costs nothing, so the save's closing pause is not
// timed. Its peer writes the same four files' bytes with plain POSIX calls.
#include "BenchSupport.h"

#include "project/ProjectCommands.h"
#include "project/ProjectText.h"
#include "project/RtfWriter.h"
#include "surface/PictureFile.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace qvbench {
namespace {

using qv::Integer;
using qv::QvFalse;
using qv::QvTrue;

const QString ProjectTitle = QStringLiteral("bench.QV1");

// Every field of every Pane gets a value other than a new Pane's, texts
// included characters the project text must escape.
void setAllFields(qv::Workspace& ws) {
  for (int n = 1; n <= qv::MaxPanes; ++n) {
    qv::PaneRecord& p = ws.Pane(n);
    const QString nn = QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
    p.UseWriting = QvTrue;
    p.WritingText = QStringLiteral("Pane %1 writes {braces}, a back\\slash, caf\u00e9, \u20acuro and "
                                   "\u03a9mega across its box.")
                        .arg(n);
    p.WritingFontName = QStringLiteral("Arial");
    p.WritingForeColor = qv::RGB(10 + n, 20, 30);
    p.WritingBackColor = qv::RGB(200, 210 - n, 220);
    p.WritingFontSize = 12;
    p.WritingBold = p.WritingItalic = p.WritingUnderline = QvTrue;
    p.WritingMode = 1;
    p.WritingWidth = 180;
    p.WritingHeight = 60;
    p.Sound = 1;
    p.PictureLoaded = QvTrue;
    p.PictureName = QStringLiteral("Picture_%1.bmp").arg(nn);
    p.UseURL = QvTrue;
    p.URL = QStringLiteral("https://quorvel.example.org/panes/%1/index.html").arg(nn);
    p.Process = Integer(1 + n % 2);
    p.StartValue = 20;
    p.ProcessAmount = 2;
    p.Value = 21;
    p.Layer = Integer(n);
    p.EffectType = 1;
    p.EffectDuration = 5;
    p.Flashing = QvTrue;
    p.MouseEffect = Integer(n % 4);
    p.Visible = QvTrue;
    p.RevealPane = Integer(n % qv::MaxPanes + 1);
    p.RevealValue = 3;
    p.CelWidth = p.CelHeight = 100;
    p.CelsAcross = p.CelsDown = 2;
    p.CelDelay = 1;
    p.CelDelayCount = 1;
    p.CelCount = 4;
    p.CelColumn = p.CelRow = 1;
    p.FlipOnBounds = QvTrue;
    p.Label = QStringLiteral("Layer %1 label").arg(nn);
    p.FlipCode = 2;
    p.Direction = Integer(1 + n % 8);
    p.Collision = 1;
    p.MoveType = Integer(1 + n % 5);
    p.Speed = Integer(1 + n % 3);
    p.MoveDelay = 2;
    p.MoveDelayCount = 1;
    p.CelWrapFlag = 2;
    p.LifeStartValue = 19;
    p.LifeEndValue = 30;
    p.MouseOver = QvFalse;
    p.SpareFlag = QvTrue;
  }
  qv::BoardSettingsRecord& b = ws.BoardSettings;
  b.BoardBackColor = qv::RGB(12, 34, 56);
  b.LabelColor = qv::RGB(255, 255, 0);
  b.SelectionColor = qv::RGB(255, 0, 255);
  b.WirePanes = b.FloatPanes = b.BoardLocked = QvTrue;
}

QTemporaryDir& tempDir() {
  static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/quorvel-bench-XXXXXX"));
  if (!dir.isValid()) {
    std::fprintf(stderr, "no temporary folder: %s\n", qPrintable(dir.errorString()));
    std::abort();
  }
  return dir;
}

QString folder(const QString& name) {
  const QString path = tempDir().filePath(name);
  QDir().mkpath(path);
  return path + QLatin1Char('/');
}

// The project the save writes, its folder set as the save dialog's answer.
BenchWorkspace& saved() {
  static BenchWorkspace b;
  static const bool built = [] {
    buildPaneScene(b.ws, FrameScene());
    setAllFields(b.ws);
    b.platform.filePath = folder(QStringLiteral("ours")) + ProjectTitle;
    return true;
  }();
  (void)built;
  return b;
}

void failOnMessage(const BenchPlatform& platform) {
  if (platform.messages.isEmpty()) return;
  std::fprintf(stderr, "%s\n", qPrintable(platform.messages.join(QLatin1Char('\n'))));
  std::abort();
}

void save() {
  BenchWorkspace& b = saved();
  qv::SaveProject(b.ws);
  failOnMessage(b.platform);
}

// The four files of the saved project and their bytes, as SaveProject makes
// them, computed once.
struct PlainFiles {
  std::vector<std::pair<QByteArray, QByteArray>> files;  // local path, bytes
  PlainFiles() {
    qv::Workspace& ws = saved().ws;
    const QString dir = folder(QStringLiteral("plain"));
    const QString name = ProjectTitle.left(ProjectTitle.size() - 4);
    const QByteArray text = qv::WriteRtf(qv::SerializeProject(ws));
    files = {
        {QFile::encodeName(dir + name + ".QV1"), text},
        {QFile::encodeName(dir + "Back_" + name + ".bmp"),
         qv::EncodeBmp24(ws.surfaces.picBackground.Image())},
        {QFile::encodeName(dir + "Sprites_" + name + ".bmp"),
         qv::EncodeBmp24(ws.surfaces.picSprites.Image())},
        {QFile::encodeName(dir + "Masks_" + name + ".bmp"), qv::EncodeBmp24(ws.surfaces.picMasks.Image())},
    };
  }
};

const PlainFiles& plainFiles() {
  static const PlainFiles f;
  return f;
}

enum class Sync { None, Fsync, Fdatasync };

const char* syncName(Sync s) {
  switch (s) {
    case Sync::None: return "plain writes, no sync";
    case Sync::Fsync: return "plain writes + fsync";
    case Sync::Fdatasync: return "plain writes + fdatasync";
  }
  return "";
}

void plainWrites(Sync sync) {
  for (const auto& [path, bytes] : plainFiles().files) {
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
      std::perror(path.constData());
      std::abort();
    }
    for (qsizetype done = 0; done < bytes.size();) {
      const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
      if (n < 0) {
        std::perror("write");
        std::abort();
      }
      done += n;
    }
    if (sync == Sync::Fsync) ::fsync(fd);
    if (sync == Sync::Fdatasync) ::fdatasync(fd);
    ::close(fd);
  }
}

// Files SaveProject wrote that differ from the plain writes' bytes.
std::string compareSavedFiles() {
  const qv::ProjectFiles ours = qv::ProjectFilesOf(saved().ws);
  const QString paths[] = {ours.text, ours.back, ours.sprites, ours.masks};
  std::string differ;
  for (size_t i = 0; i < 4; ++i) {
    QFile f(paths[i]);
    if (!f.open(QIODevice::ReadOnly) || f.readAll() != plainFiles().files[i].second)
      differ += ' ' + QFileInfo(paths[i]).fileName().toStdString();
  }
  return differ.empty() ? "saved files byte-identical to the plain writes' bytes"
                        : std::string("saved files DIFFER from the plain writes' bytes:") + differ;
}

// A second workspace the saved project is loaded into.
BenchWorkspace& loaded() {
  static BenchWorkspace b;
  static const bool ready = [] {
    save();
    b.platform.filePath = saved().platform.filePath;
    return true;
  }();
  (void)ready;
  return b;
}

void load() {
  BenchWorkspace& b = loaded();
  qv::LoadProject(b.ws);
  failOnMessage(b.platform);
}

// What of the saved project the load did not bring back.
std::string compareLoaded() {
  const qv::Workspace& from = saved().ws;
  const qv::Workspace& to = loaded().ws;
  int panes = 0;
  for (int n = 1; n <= qv::MaxPanes; ++n) panes += from.PaneTable[size_t(n)] != to.PaneTable[size_t(n)];
  std::string differ;
  if (to.PaneCount != qv::MaxPanes) differ += " PaneCount " + std::to_string(to.PaneCount) + ';';
  if (panes) differ += ' ' + std::to_string(panes) + " Pane records;";
  if (!(from.BoardSettings.BoardBackColor == to.BoardSettings.BoardBackColor &&
        from.BoardSettings.LabelColor == to.BoardSettings.LabelColor))
    differ += " Board settings;";
  if (from.picSprites.Image() != to.picSprites.Image()) differ += " sprite sheet;";
  if (from.picMasks.Image() != to.picMasks.Image()) differ += " mask sheet;";
  if (from.picBackground.Image() != to.picBackground.Image()) differ += " Background;";
  return differ.empty() ? "loaded project equals the saved one"
                        : std::string("loaded project DIFFERS from the saved one:") + differ;
}

void BM_SaveProject(benchmark::State& state) {
  for (auto _ : state) save();
}
BENCHMARK(BM_SaveProject)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PlainWrites(benchmark::State& state) {
  const auto sync = Sync(state.range(0));
  for (auto _ : state) plainWrites(sync);
  state.SetLabel(syncName(sync));
}
BENCHMARK(BM_PlainWrites)
    ->Arg(int(Sync::None))
    ->Arg(int(Sync::Fsync))
    ->Arg(int(Sync::Fdatasync))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The parts of a save: the project text and one sheet's bitmap bytes.
void BM_ProjectText(benchmark::State& state) {
  qv::Workspace& ws = saved().ws;
  for (auto _ : state) benchmark::DoNotOptimize(qv::WriteRtf(qv::SerializeProject(ws)));
}
BENCHMARK(BM_ProjectText)->Unit(benchmark::kMicrosecond);

void BM_EncodeSheetBmp(benchmark::State& state) {
  const QImage& sheet = saved().ws.surfaces.picSprites.Image();
  for (auto _ : state) benchmark::DoNotOptimize(qv::EncodeBmp24(sheet));
}
BENCHMARK(BM_EncodeSheetBmp)->Unit(benchmark::kMicrosecond);

void BM_LoadProject(benchmark::State& state) {
  for (auto _ : state) load();
}
BENCHMARK(BM_LoadProject)->Unit(benchmark::kMillisecond);

const int saveRace = registerRace({
    .title = "SaveProject",
    .contenders =
        {
            {"SaveProject", save, false},
            {syncName(Sync::Fsync), [] { plainWrites(Sync::Fsync); }, true},
            {syncName(Sync::Fdatasync), [] { plainWrites(Sync::Fdatasync); }, true},
            {syncName(Sync::None), [] { plainWrites(Sync::None); }, true},
        },
    .check = compareSavedFiles,
    .maxRatio = 1.5,
    .targetPeer = syncName(Sync::Fsync),
    .rounds = 30,
    .warmup = 2,
    .wallClock = true,
    .peerLabel = "plain",
});

const int loadRace = registerRace({
    .title = "LoadProject",
    .contenders = {{"LoadProject", load, false}},
    .check = compareLoaded,
    .maxMeanMicros = 100'000,
    .rounds = 30,
    .warmup = 2,
});

}  // namespace
}  // namespace qvbench
