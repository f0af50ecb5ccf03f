// Saving and loading a full project: 50 Panes with every field set, the
// sheets full of pixels and a Background. SaveProject runs in a headless
// session, whose Wait costs nothing, so the save's closing pause is not
// timed. Its peer writes the same four files' bytes with plain POSIX calls.
#include "BenchSupport.h"

#include "project/ProjectCommands.h"
#include "project/ProjectText.h"
#include "project/RtfWriter.h"
#include "surface/PictureFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

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
  qv::BoardSettingsRecord& b = ws.project.BoardSettings;
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

// Runs a project command once, its file dialog answered with `path`; the
// outcome's failure as text, empty when it succeeded.
template <class Command>
std::string runWithFile(qv::HeadlessSession& s, Command command, const QString& path) {
  s.platform.fileAnswers.enqueue(qv::fileChoiceFromPath(path));
  const qv::Outcome outcome = command(s.ws);
  if (outcome.succeeded()) return {};
  return (outcome.failure().file + QStringLiteral(": ") + outcome.failure().reason).toStdString();
}

// The project the save writes, saved once already, and where it goes.
struct Saved {
  qv::HeadlessSession s;
  QString path = folder(QStringLiteral("ours")) + ProjectTitle;
  std::string failure;
  Saved() {
    buildPaneScene(s);
    setAllFields(s.ws);
    failure = runWithFile(s, qv::SaveProject, path);
  }
};

Saved& saved() {
  static Saved s;
  return s;
}

// The four files of the saved project and their bytes, as SaveProject makes
// them, computed once.
struct PlainFiles {
  std::vector<std::pair<QByteArray, QByteArray>> files;  // local path, bytes
  PlainFiles() {
    qv::Workspace& ws = saved().s.ws;
    const QString dir = folder(QStringLiteral("plain"));
    const QString name = ProjectTitle.left(ProjectTitle.size() - 4);
    files = {
        {QFile::encodeName(dir + name + ".QV1"), qv::WriteRtf(qv::SerializeProject(ws))},
        {QFile::encodeName(dir + "Back_" + name + ".bmp"),
         qv::EncodeBmp24(ws.project.picBackground.Image())},
        {QFile::encodeName(dir + "Sprites_" + name + ".bmp"),
         qv::EncodeBmp24(ws.project.picSprites.Image())},
        {QFile::encodeName(dir + "Masks_" + name + ".bmp"),
         qv::EncodeBmp24(ws.project.picMasks.Image())},
    };
  }
};

const PlainFiles& plainFiles() {
  static const PlainFiles f;
  return f;
}

enum class Sync { None, Fsync, Fdatasync };

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

// The saved files that differ from the plain writes' bytes, empty when none.
std::string compareSavedFiles() {
  const qv::ProjectFiles ours = qv::ProjectFilesOf(saved().s.ws);
  const QString paths[] = {ours.text, ours.back, ours.sprites, ours.masks};
  std::string differ;
  for (size_t i = 0; i < 4; ++i) {
    QFile f(paths[i]);
    if (!f.open(QIODevice::ReadOnly) || f.readAll() != plainFiles().files[i].second)
      differ += ' ' + QFileInfo(paths[i]).fileName().toStdString();
  }
  return differ;
}

// A second session the saved project is loaded into.
struct Loaded {
  qv::HeadlessSession s;
  std::string failure = runWithFile(s, qv::LoadProject, saved().path);
};

Loaded& loaded() {
  static Loaded l;
  return l;
}

// What of the saved project the load did not bring back, empty when nothing.
std::string compareLoaded() {
  const qv::Workspace& from = saved().s.ws;
  const qv::Workspace& to = loaded().s.ws;
  int panes = 0;
  for (int n = 1; n <= qv::MaxPanes; ++n) panes += from.project.PaneTable[size_t(n)] != to.project.PaneTable[size_t(n)];
  std::string differ;
  if (to.project.PaneCount != qv::MaxPanes)
    differ += " PaneCount " + std::to_string(to.project.PaneCount) + ';';
  if (panes) differ += ' ' + std::to_string(panes) + " Pane records;";
  if (!(from.project.BoardSettings.BoardBackColor == to.project.BoardSettings.BoardBackColor &&
        from.project.BoardSettings.LabelColor == to.project.BoardSettings.LabelColor))
    differ += " Board settings;";
  if (from.project.picSprites.Image() != to.project.picSprites.Image()) differ += " sprite sheet;";
  if (from.project.picMasks.Image() != to.project.picMasks.Image()) differ += " mask sheet;";
  if (from.project.picBackground.Image() != to.project.picBackground.Image()) differ += " Background;";
  return differ;
}

// Skips the benchmark with `what` and `why` unless `why` is empty.
bool skipped(benchmark::State& state, const char* what, const std::string& why) {
  if (!why.empty()) state.SkipWithError((what + why).c_str());
  return !why.empty();
}

void BM_SaveProject(benchmark::State& state) {
  Saved& sv = saved();
  static const std::string differ = compareSavedFiles();
  if (skipped(state, "save failed: ", sv.failure) ||
      skipped(state, "saved files differ from the plain writes' bytes:", differ))
    return;
  for (auto _ : state)
    if (skipped(state, "save failed: ", runWithFile(sv.s, qv::SaveProject, sv.path))) break;
  sv.s.platform.log.clear();
}
BENCHMARK(BM_SaveProject)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PlainWrites(benchmark::State& state, Sync sync) {
  plainFiles();
  for (auto _ : state) plainWrites(sync);
}
BENCHMARK_CAPTURE(BM_PlainWrites, no_sync, Sync::None)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_PlainWrites, fsync, Sync::Fsync)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_PlainWrites, fdatasync, Sync::Fdatasync)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The parts of a save: the project text and one sheet's bitmap bytes.
void BM_ProjectText(benchmark::State& state) {
  qv::Workspace& ws = saved().s.ws;
  for (auto _ : state) benchmark::DoNotOptimize(qv::WriteRtf(qv::SerializeProject(ws)));
}
BENCHMARK(BM_ProjectText)->Unit(benchmark::kMicrosecond);

void BM_EncodeSheetBmp(benchmark::State& state) {
  const QImage& sheet = saved().s.ws.project.picSprites.Image();
  for (auto _ : state) benchmark::DoNotOptimize(qv::EncodeBmp24(sheet));
}
BENCHMARK(BM_EncodeSheetBmp)->Unit(benchmark::kMicrosecond);

void BM_LoadProject(benchmark::State& state) {
  Loaded& ld = loaded();
  static const std::string differ = compareLoaded();
  if (skipped(state, "load failed: ", ld.failure) ||
      skipped(state, "loaded project differs from the saved one:", differ))
    return;
  for (auto _ : state)
    if (skipped(state, "load failed: ", runWithFile(ld.s, qv::LoadProject, saved().path))) break;
  ld.s.platform.log.clear();
}
BENCHMARK(BM_LoadProject)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qvbench
