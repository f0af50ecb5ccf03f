// dump, render, resave, drop, set, play and export: each loads a project as the Load
// command does, in a session without windows, and reports its outcome as an exit code.
#include "cli/Commands.h"

#include "cli/Json.h"
#include "imaging/BoardRender.h"
#include "library/LibraryModules.h"
#include "library/ResourceModule.h"
#include "project/ProjectBytes.h"
#include "project/ProjectCommands.h"
#include "properties/PaneProperties.h"
#include "properties/PaneSettings.h"
#include "runmode/RunLoop.h"
#include "runmode/StageMouse.h"
#include "session/Drops.h"
#include "session/Headless.h"
#include "shell/Setups.h"
#include "surface/PictureFile.h"
#include "surface/SafeFiles.h"
#include "webpage/WebPage.h"
#include "webpage/WebPageData.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

namespace qv::cli {
namespace {

void say(const QString& text) { std::fprintf(stderr, "quorvel-cli: %s\n", qPrintable(text)); }

int badArguments(const QString& why) {
  say(why);
  return ExitBadArguments;
}

int failed(const QString& file, const QString& reason) {
  say(QDir::toNativeSeparators(file) + ": " + reason);
  return ExitFailed;
}

// The one place a command's outcome becomes an exit code: a failure names
// its file and reason, a command that did its work says each warning; a
// cancelled command (a question no one could answer) did not do its work.
int exitCodeOf(const Outcome& o) {
  if (o.hasFailed()) return failed(o.failure().file, o.failure().reason);
  if (o.wasCancelled()) {
    say(QStringLiteral("the command was cancelled"));
    return ExitFailed;
  }
  for (const Problem& w : o.warnings()) say(QStringLiteral("warning: ") + QDir::toNativeSeparators(w.file) + ": " + w.reason);
  return o.warnings().isEmpty() ? ExitDone : ExitDamaged;
}

// A project file is named NAME.QV1, the suffix in any case (the files used
// are NAME.QV1 and the bitmaps named after NAME); any other name would be
// read or written under a name the user did not give.
bool isProjectPath(const QString& path) {
  const QString name = QFileInfo(path).fileName();
  return name.size() > 4 && name.endsWith(QLatin1String(".QV1"), Qt::CaseInsensitive);
}

// A command's arguments: its name first (so that the usage line shows it),
// then the file names and options it declares.
struct Parser : QCommandLineParser {
  Parser(const QString& command, const QString& description, bool projects = true)
      : command(command), projects(projects) {
    setApplicationDescription(description);
    addHelpOption();
    addPositionalArgument(command, {}, command);
  }
  // The file names after the command's name.
  QStringList files() const { return positionalArguments().mid(1); }
  // Parses the words after the command's name; an exit code when the command
  // should not run (its help was asked for, or the arguments are wrong). With
  // more, fileCount is the least number of file names.
  std::optional<int> parseArgs(const QStringList& args, int fileCount, bool more = false) {
    if (!parse(QStringList{QStringLiteral("quorvel-cli"), command} + args)) return badArguments(errorText());
    if (isSet(QStringLiteral("help"))) {
      std::fputs(qPrintable(helpText()), stdout);
      return ExitDone;
    }
    if (files().size() != fileCount && !(more && files().size() > fileCount))
      return badArguments(QStringLiteral("%1 takes %2%3 file name(s); see quorvel-cli %1 --help")
                              .arg(command, more ? QStringLiteral("at least ") : QString()).arg(fileCount));
    for (const QString& file : files())
      if (projects && !isProjectPath(file))
        return badArguments(QStringLiteral("%1: a project file is named NAME.QV1").arg(QDir::toNativeSeparators(file)));
    return std::nullopt;
  }
  QString command;
  bool projects;  // the file names are project files
};

// Boards from 32 x 32 to 4096 x 4096 (our addition): a larger one only costs
// time and memory, in the page several times more than here.
constexpr int MinBoardSide = 32, MaxBoardSide = 4096;

const QCommandLineOption BoardOption(QStringLiteral("board"),
                                     QStringLiteral("Board size from 32x32 to 4096x4096 (default 800x600)."),
                                     QStringLiteral("WxH"), QStringLiteral("800x600"));

// The --board size, or nothing when it is no WxH within the limits.
std::optional<QSize> parseBoard(const Parser& p) {
  static const QRegularExpression re(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$"));
  const auto m = re.match(p.value(BoardOption));
  const auto within = [](int v) { return v >= MinBoardSide && v <= MaxBoardSide; };
  if (!m.hasMatch() || !within(m.captured(1).toInt()) || !within(m.captured(2).toInt())) {
    say(QStringLiteral("--board takes WxH from %1x%1 to %2x%2, e.g. 800x600").arg(MinBoardSide).arg(MaxBoardSide));
    return std::nullopt;
  }
  return QSize(m.captured(1).toInt(), m.captured(2).toInt());
}

// The file each project writes into a folder: DIR/NAME.suffix. Two projects
// of one name would write one file: then nothing.
std::optional<QStringList> outputFiles(const QStringList& projects, const QString& dir, const QString& suffix) {
  QStringList out;
  for (const QString& project : projects) {
    const QString file = QDir(dir).filePath(QFileInfo(project).completeBaseName() + suffix);
    if (out.contains(file)) {
      badArguments(QStringLiteral("%1: two projects would write it").arg(QDir::toNativeSeparators(file)));
      return std::nullopt;
    }
    out << file;
  }
  return out;
}

// A session at start-up, the intro left for a blank project.
struct Session : HeadlessSession {
  Session() {
    platform.answerWhenUnscripted = true;
    IntroBlankNewProject(ws);
  }
  // The Board size for the run or the render, kept by every later layout.
  void setBoard(QSize size) {
    ws.surfaces.picStage.SetSize(size.width(), size.height());
    LayoutMainWindow(ws);
  }
  // Loads as the Load command does. Failures and warnings go to stderr; the
  // exit code so far: done, damaged, or failed (then the command stops).
  int load(const QString& path) {
    platform.fileAnswers.enqueue(fileChoiceFromPath(QDir::cleanPath(QFileInfo(path).absoluteFilePath())));
    return exitCodeOf(mnu_LoadsProject_Click(ws));
  }
  // Lays the Board out at --board, then loads the command's project file:
  // the exit code so far, or the one to stop with.
  int loadOnBoard(const Parser& p, int file = 0) {
    const auto board = parseBoard(p);
    if (!board) return ExitBadArguments;
    setBoard(*board);
    return load(p.files()[file]);
  }
};

// Writes a file safely: a failed write keeps any older file. Empty, or the
// reason it failed.
QString writeBytes(const QString& path, const QByteArray& bytes) {
  const Outcome written = WriteFileSafely(path, bytes);
  return written.succeeded() ? QString() : written.failure().reason;
}

// A picture file is written in the format its name ends in: .png or .bmp
// (a 24-bit bitmap, as Quorvel saves them).
bool isPicturePath(const QString& path) {
  return path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive) ||
         path.endsWith(QLatin1String(".bmp"), Qt::CaseInsensitive);
}

// Quality is Qt's PNG scale: -1 its default compression, 80 a fast one.
QString writePicture(const QString& path, const QImage& img, int quality = -1) {
  if (path.endsWith(QLatin1String(".bmp"), Qt::CaseInsensitive)) return writeBytes(path, EncodeBmp24(img));
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!img.save(&buffer, "PNG", quality)) return QStringLiteral("the picture could not be encoded");
  return writeBytes(path, bytes);
}

int dump(const QStringList& args) {
  Parser p(QStringLiteral("dump"), QStringLiteral("Loads a project as the Load command does and prints it as JSON."));
  p.addPositionalArgument(QStringLiteral("project"), QStringLiteral("The project file (.QV1)."));
  if (const auto code = p.parseArgs(args, 1)) return *code;
  Session s;
  const int loaded = s.load(p.files()[0]);
  if (loaded == ExitFailed) return loaded;
  QJsonObject o;
  o["PaneCount"] = s.ws.project.PaneCount;
  o["Panes"] = PanesJson(s.ws.project.PaneTable);
  o["BoardSettings"] = BoardSettingsJson(s.ws.project.BoardSettings);
  o["Zorder"] = ZorderJson(s.ws.project.List_Zorder);
  // Our addition: the own sounds, only when the project has any.
  QJsonArray sounds;
  for (auto it = s.ws.project.OwnSounds.cbegin(); it != s.ws.project.OwnSounds.cend(); ++it) {
    QString why;
    const auto w = ReadWave(it.value().Wave, why);
    if (!w) continue;
    sounds.append(QJsonObject{{"Sound", it.key()},
                              {"File", QFileInfo(OwnSoundFile(s.ws.project.ProjectFolder, s.ws.project.ProjectName, it.key())).fileName()},
                              {"Name", it.value().Name},
                              {"Seconds", std::round(w->seconds() * 1000) / 1000},
                              {"Format", QStringLiteral("PCM %1-bit, %2 Hz, %3 channel%4")
                                             .arg(w->bits).arg(w->rate).arg(w->channels).arg(w->channels > 1 ? "s" : "")}});
  }
  if (!sounds.isEmpty()) o["Sounds"] = sounds;
  std::fputs(QJsonDocument(o).toJson(QJsonDocument::Indented).constData(), stdout);
  return loaded;
}

int render(const QStringList& args) {
  Parser p(QStringLiteral("render"), QStringLiteral("Loads a project and writes its Board picture as PNG or BMP."));
  p.addPositionalArgument(QStringLiteral("project"), QStringLiteral("The project file (.QV1)."));
  const QCommandLineOption out(QStringLiteral("out"), QStringLiteral("The picture to write: FILE.png or FILE.bmp."),
                               QStringLiteral("FILE"));
  p.addOption(out);
  p.addOption(BoardOption);
  if (const auto code = p.parseArgs(args, 1)) return *code;
  if (!isPicturePath(p.value(out))) return badArguments(QStringLiteral("render needs --out FILE.png or FILE.bmp"));
  Session s;
  const int loaded = s.loadOnBoard(p);
  if (loaded != ExitDone && loaded != ExitDamaged) return loaded;
  RedrawBoard(s.ws);
  if (const QString why = writePicture(p.value(out), s.ws.surfaces.picStage.Image()); !why.isEmpty())
    return failed(p.value(out), why);
  return loaded;
}

int resave(const QStringList& args) {
  Parser p(QStringLiteral("resave"), QStringLiteral("Loads a project, then saves it under a new name as the Save command does."));
  p.addPositionalArgument(QStringLiteral("project"), QStringLiteral("The project file (.QV1)."));
  p.addPositionalArgument(QStringLiteral("out"), QStringLiteral("The new project file (.QV1)."));
  if (const auto code = p.parseArgs(args, 2)) return *code;
  Session s;
  const int loaded = s.load(p.files()[0]);
  if (loaded == ExitFailed) return loaded;
  s.platform.fileAnswers.enqueue(fileChoiceFromPath(QDir::cleanPath(QFileInfo(p.files()[1]).absoluteFilePath())));
  // Read-only project files are never replaced without a person's Yes.
  s.platform.answerWhenUnscripted = false;
  const int saved = exitCodeOf(SaveProject(s.ws));
  return saved == ExitFailed ? saved : std::max(loaded, saved);
}

int drop(const QStringList& args) {
  Parser p(QStringLiteral("drop"),
           QStringLiteral("Loads a project, drops a picture file on its Board as the app does (on a Pane it loads into "
                          "that Pane, on free space it becomes a new Pane there), then saves it under a new name."));
  p.addPositionalArgument(QStringLiteral("project"), QStringLiteral("The project file (.QV1)."));
  p.addPositionalArgument(QStringLiteral("out"), QStringLiteral("The new project file (.QV1)."));
  const QCommandLineOption picture(QStringLiteral("picture"), QStringLiteral("The picture file to drop."),
                                   QStringLiteral("FILE"));
  const QCommandLineOption at(QStringLiteral("at"), QStringLiteral("Where it is let go, in Board pixels."),
                              QStringLiteral("X,Y"));
  p.addOption(picture);
  p.addOption(at);
  p.addOption(BoardOption);
  if (const auto code = p.parseArgs(args, 2)) return *code;
  static const QRegularExpression re(QStringLiteral("^(-?\\d{1,6}),(-?\\d{1,6})$"));
  const auto m = re.match(p.value(at));
  if (!m.hasMatch() || p.value(picture).isEmpty())
    return badArguments(QStringLiteral("drop needs --picture FILE and --at X,Y"));
  // The app loads a dropped project; here the project is the first name.
  if (isProjectPath(p.value(picture))) return badArguments(QStringLiteral("drop takes a picture, not a project"));
  Session s;
  const int loaded = s.loadOnBoard(p);
  if (loaded == ExitFailed || loaded == ExitBadArguments) return loaded;
  const int dropped = exitCodeOf(DropFile(s.ws, p.value(picture), QPoint(m.captured(1).toInt(), m.captured(2).toInt())));
  if (dropped == ExitFailed) return dropped;
  s.platform.fileAnswers.enqueue(fileChoiceFromPath(QDir::cleanPath(QFileInfo(p.files()[1]).absoluteFilePath())));
  s.platform.answerWhenUnscripted = false;
  const int saved = exitCodeOf(SaveProject(s.ws));
  return saved == ExitFailed ? saved : std::max({loaded, dropped, saved});
}

// Our addition: Pane fields set from a script, through the Pane dialog's
// controls and rules (properties/PaneSettings), then saved in place.
int set(const QStringList& args) {
  Parser p(QStringLiteral("set"), QStringLiteral(
      "Loads a project, sets fields of one Pane as its Pane dialog sets them, with the dialog's own checks,\n"
      "then saves the project over itself as Save does. FIELD is a field the dialog sets, as dump names it;\n"
      "Sound=none, Sound=Ding!, Sound=NAME (an own sound of the project) or Sound=FILE (a WAV, OGG, Opus,\n"
      "MP3 or FLAC file); Picture=FILE loads a picture as Load a Picture does. A value the dialog refuses\n"
      "exits 2 and nothing is written; a value it changes (cut, clamped, raised to a minimum) is stored\n"
      "so, with a warning, and exits 3."), false);
  p.addPositionalArgument(QStringLiteral("project"), QStringLiteral("The project file (.QV1)."));
  p.addPositionalArgument(QStringLiteral("settings"), QStringLiteral("FIELD=VALUE, one or more."), QStringLiteral("FIELD=VALUE..."));
  const QCommandLineOption pane(QStringLiteral("pane"), QStringLiteral("The Pane's slot, 1..50."), QStringLiteral("N"));
  p.addOption(pane);
  if (const auto code = p.parseArgs(args, 2, true)) return *code;
  const QString project = p.files()[0];
  if (!isProjectPath(project))
    return badArguments(QStringLiteral("%1: a project file is named NAME.QV1").arg(QDir::toNativeSeparators(project)));
  bool number = false;
  const int slot = p.value(pane).toInt(&number);
  if (!number || slot < 1 || slot > MaxPanes) return badArguments(QStringLiteral("set needs --pane N, N in 1..50"));
  Session s;
  // The Writing's font list holds the fonts there are, as in the app.
  s.platform.fonts = QFontDatabase::families();
  FillPaneDialogLists(s.ws);
  const int loaded = s.load(project);
  if (loaded == ExitFailed) return loaded;
  if (!isSet(s.ws.Pane(slot).InUse)) return badArguments(QStringLiteral("slot %1 holds no Pane").arg(slot));
  const QVector<FieldSetting> settings = SetPaneFields(s.ws, slot, p.files().mid(1));
  int code = ExitDone;
  for (const FieldSetting& f : settings)
    if (f.result == FieldSetting::Result::Refused) code = badArguments(QStringLiteral("%1=%2 is refused: %3").arg(f.field, f.value, f.rule));
  if (code != ExitDone) return code;
  for (const FieldSetting& f : settings) {
    if (f.result != FieldSetting::Result::Clamped) continue;
    const PaneField* field = PaneFieldByName(f.field);
    const PaneRecord& r = s.ws.Pane(slot);
    // As the project keeps it.
    const QString kept = field->kind == FieldKind::Text ? ProjectTextOf(field->text(r), field->maxLength())
                                                        : QString::number(field->number(r));
    say(QStringLiteral("warning: %1=%2 is stored as %3: %4").arg(f.field, f.value, kept, f.rule));
    code = ExitDamaged;
  }
  s.platform.fileAnswers.enqueue(fileChoiceFromPath(QDir::cleanPath(QFileInfo(project).absoluteFilePath())));
  s.platform.answerWhenUnscripted = false;
  const int saved = exitCodeOf(SaveProject(s.ws));
  return saved == ExitFailed ? saved : std::max({loaded, code, saved});
}

struct Input {
  int frame;
  bool click;
  int x, y;
};

// F:move:X,Y or F:click:X,Y with F in 1..frames and X, Y pixels on the Board.
std::optional<Input> parseInput(const QString& text, int frames) {
  static const QRegularExpression re(QStringLiteral("^(\\d{1,9}):(move|click):(-?\\d{1,6}),(-?\\d{1,6})$"));
  const auto m = re.match(text);
  if (!m.hasMatch()) return std::nullopt;
  const Input in{m.captured(1).toInt(), m.captured(2) == "click", m.captured(3).toInt(), m.captured(4).toInt()};
  const auto onBoard = [](int v) { return v >= -32768 && v <= 32767; };
  if (in.frame < 1 || in.frame > frames || !onBoard(in.x) || !onBoard(in.y)) return std::nullopt;
  return in;
}

// Plays one project: N frames, each input before its frame, the trace and
// the frames as asked; the exit code of its load, or of a failed write.
int playOne(const Parser& p, int file, int n, const std::vector<Input>& inputs, const QString& trace) {
  Session s;
  const int loaded = s.loadOnBoard(p, file);
  if (loaded == ExitFailed) return loaded;
  Workspace& ws = s.ws;
  const QString dir = p.value(QStringLiteral("png-dir"));
  QByteArray lines;
  mnu_RunInWindow_Click(ws);
  for (int f = 1; f <= n; ++f) {
    // Inputs are the events handled before the frame.
    for (const Input& in : inputs) {
      if (in.frame != f) continue;
      try {
        if (in.click) picStage_MouseDown(ws, 1, in.x, in.y);
        else picStage_MouseMove(ws, 0, in.x, in.y);
      } catch (const SlotOutOfRange& e) {
        // A slot number outside 0..50 stops that click, as in the app; the run goes on.
        say(QStringLiteral("warning: frame %1: the click stopped at slot %2, outside 0..50").arg(f).arg(e.slot));
      }
    }
    RunLoopPass(ws);
    if (!trace.isEmpty()) lines += TraceLine(f, ws.RunPaneTable);
    if (!dir.isEmpty()) {
      const QString name = QDir(dir).filePath(QStringLiteral("frame_%1.png").arg(f, 5, 10, QLatin1Char('0')));
      // Frames are compressed fast: a frame over a detailed Background takes
      // a quarter of the time of the default, for a fifth more bytes.
      if (const QString why = writePicture(name, ws.surfaces.picStage.Image(), 80); !why.isEmpty())
        return failed(name, why);
    }
  }
  if (!trace.isEmpty())
    if (const QString why = writeBytes(trace, lines); !why.isEmpty()) return failed(trace, why);
  if (const QString out = p.value(QStringLiteral("state-out")); !out.isEmpty()) {
    const QJsonObject o{{"Frames", n}, {"Panes", PanesJson(ws.RunPaneTable)}};
    if (const QString why = writeBytes(out, QJsonDocument(o).toJson(QJsonDocument::Indented)); !why.isEmpty())
      return failed(out, why);
  }
  StopRun(ws, StopForm::EscKey);
  while (RunLoopPass(ws)) {
  }
  return loaded;
}

// The folder a command writes into, made when missing; false when it cannot be.
bool makeFolder(const QString& dir) {
  if (dir.isEmpty() || QDir().mkpath(dir)) return true;
  failed(dir, QStringLiteral("the folder cannot be made"));
  return false;
}

int play(const QStringList& args) {
  Parser p(QStringLiteral("play"), QStringLiteral(
      "Runs each project in Design for N frames with no pause, then stops it.\n"
      "Each input is applied before its frame (counted from 1): move puts the pointer\n"
      "over the Board; click presses the left button, which does not move the pointer."));
  p.addPositionalArgument(QStringLiteral("project"), QStringLiteral("The project files (.QV1)."), QStringLiteral("PROJECT..."));
  const QCommandLineOption frames(QStringLiteral("frames"), QStringLiteral("Number of frames (0..1000000)."), QStringLiteral("N"));
  const QCommandLineOption input(QStringLiteral("input"), QStringLiteral("F:move:X,Y or F:click:X,Y; repeatable."), QStringLiteral("INPUT"));
  const QCommandLineOption pngDir(QStringLiteral("png-dir"), QStringLiteral("Writes every frame as frame_NNNNN.png here (one project)."), QStringLiteral("DIR"));
  const QCommandLineOption stateOut(QStringLiteral("state-out"), QStringLiteral("Writes the RunMode table after the last frame as JSON (one project)."), QStringLiteral("FILE"));
  const QCommandLineOption trace(QStringLiteral("trace"), QStringLiteral(
      "Writes DIR/NAME.trace for each project: one JSON line a frame with the run state of every Pane in use."), QStringLiteral("DIR"));
  p.addOptions({frames, input, pngDir, stateOut, trace, BoardOption});
  if (const auto code = p.parseArgs(args, 1, true)) return *code;
  bool ok = false;
  const int n = p.value(frames).toInt(&ok);
  if (!ok || n < 0 || n > 1'000'000) return badArguments(QStringLiteral("play needs --frames N (0..1000000)"));
  if (!parseBoard(p)) return ExitBadArguments;
  if (p.files().size() > 1 && (p.isSet(pngDir) || p.isSet(stateOut)))
    return badArguments(QStringLiteral("--png-dir and --state-out take one project"));
  std::vector<Input> inputs;
  for (const QString& text : p.values(input)) {
    const auto in = parseInput(text, n);
    if (!in) return badArguments(QStringLiteral("bad --input %1 (F:move:X,Y or F:click:X,Y, F in 1..%2, X and Y within +-32767)").arg(text).arg(n));
    inputs.push_back(*in);
  }
  const auto traces = outputFiles(p.files(), p.value(trace), QStringLiteral(".trace"));
  if (!traces) return ExitBadArguments;
  if (!makeFolder(p.value(pngDir)) || !makeFolder(p.value(trace))) return ExitFailed;
  int code = ExitDone;
  for (int k = 0; k < p.files().size(); ++k) {
    const int played = playOne(p, k, n, inputs, p.isSet(trace) ? (*traces)[k] : QString());
    if (played == ExitFailed) return played;
    code = std::max(code, played);
  }
  return code;
}

int exportPage(const QStringList& args) {
  Parser p(QStringLiteral("export"), QStringLiteral(
      "Loads a project and writes it as one web page that plays it as Run Full Board does,\n"
      "frame for frame as play shows it; or writes the page data of each project."));
  p.addPositionalArgument(QStringLiteral("project"), QStringLiteral("The project files (.QV1)."), QStringLiteral("PROJECT..."));
  const QCommandLineOption html(QStringLiteral("html"), QStringLiteral("The web page to write (one project)."), QStringLiteral("FILE"));
  const QCommandLineOption dataDir(QStringLiteral("data-dir"), QStringLiteral(
      "Writes DIR/NAME.json for each project instead: the page's data without its pictures and sounds."), QStringLiteral("DIR"));
  const QCommandLineOption start(QStringLiteral("start"), QStringLiteral(
      "How the page starts: now (the default), or click: its first frame under a play button until a click or Space."),
      QStringLiteral("now|click"), QStringLiteral("now"));
  p.addOptions({html, dataDir, BoardOption, start});
  if (const auto code = p.parseArgs(args, 1, true)) return *code;
  if (p.value(html).isEmpty() == p.value(dataDir).isEmpty())
    return badArguments(QStringLiteral("export needs --html FILE.html or --data-dir DIR"));
  if (p.value(start) != u"now" && p.value(start) != u"click")
    return badArguments(QStringLiteral("--start takes now or click"));
  const PageStart startMode = p.value(start) == u"click" ? PageStart::Click : PageStart::Now;
  if (p.isSet(html) && p.files().size() > 1) return badArguments(QStringLiteral("--html takes one project"));
  const auto datas = outputFiles(p.files(), p.value(dataDir), QStringLiteral(".json"));
  if (!datas) return ExitBadArguments;
  if (!makeFolder(p.value(dataDir))) return ExitFailed;
  int code = ExitDone;
  for (int k = 0; k < p.files().size(); ++k) {
    Session s;
    const int loaded = s.loadOnBoard(p, k);
    if (loaded != ExitDone && loaded != ExitDamaged) return loaded;
    const Outcome written = p.isSet(html) ? ExportWebPage(s.ws, p.value(html), startMode)
                                          : WriteFileSafely((*datas)[k], WebPageData(s.ws, PagePictures::Out));
    const int w = exitCodeOf(written);
    if (w == ExitFailed) return w;
    code = std::max({code, loaded, w});
  }
  return code;
}

QJsonObject moduleJson(const LibraryModuleInfo& m) {
  QJsonObject o{{"File", QFileInfo(m.path).fileName()}, {"FileNumber", m.fileNumber}, {"Listed", m.listed()}};
  if (!m.listed()) o["Skipped"] = m.skipReason;
  if (m.number >= 0) o["Number"] = m.number;
  o["Name"] = m.name;
  o["Images"] = QJsonArray::fromStringList(m.imageNames);
  // Listing reads names and sizes; a picture is decoded only when asked for.
  QJsonArray bitmaps;
  const ResourceModule module = ResourceModule::Load(m.path);
  for (int id = 100; id <= 103; ++id) {
    const DibCheck b = module.checkBitmap(id);
    bitmaps.append(b.error.isEmpty() ? QJsonObject{{"Id", id}, {"Width", b.size.width()}, {"Height", b.size.height()}}
                                     : QJsonObject{{"Id", id}, {"Error", b.error}});
  }
  o["Bitmaps"] = bitmaps;
  return o;
}

int library(const QStringList& args) {
  Parser p(QStringLiteral("library"),
           QStringLiteral("Lists the pane libraries (qv_1.dll .. qv_99.dll) in a folder as the start-up scan finds\n"
                          "them, as JSON, or writes one of their bitmaps as PNG or BMP."),
           false);
  p.addPositionalArgument(QStringLiteral("folder"), QStringLiteral("The folder that holds the qv_N.dll files."));
  const QCommandLineOption image(QStringLiteral("image"),
                                 QStringLiteral("Bitmap K of library N: K 0 is the preview (bitmap 100), 1..3 the "
                                                "images (bitmaps 101..103)."),
                                 QStringLiteral("N:K"));
  const QCommandLineOption out(QStringLiteral("out"), QStringLiteral("The picture --image writes: FILE.png or FILE.bmp."),
                               QStringLiteral("FILE"));
  p.addOptions({image, out});
  if (const auto code = p.parseArgs(args, 1)) return *code;
  const QString folder = p.files()[0];
  if (!QFileInfo(folder).isDir()) return failed(folder, QStringLiteral("is not a folder"));
  if (p.isSet(image)) {
    static const QRegularExpression re(QStringLiteral("^(\\d{1,2}):([0-3])$"));
    const auto m = re.match(p.value(image));
    const int n = m.hasMatch() ? m.captured(1).toInt() : 0;
    if (n < FirstLibraryNumber || n > LastLibraryNumber)
      return badArguments(QStringLiteral("--image takes N:K with N 1..99 and K 0..3"));
    if (!isPicturePath(p.value(out))) return badArguments(QStringLiteral("--image needs --out FILE.png or FILE.bmp"));
    const QString path = LibraryModulePath(folder, n);
    const ResourceModule module = ResourceModule::Load(path);
    if (!module.ok()) return failed(path, module.error());
    const DibResult bmp = module.bitmap(100 + m.captured(2).toInt());
    if (!bmp.ok()) return failed(path, bmp.error);
    if (const QString why = writePicture(p.value(out), bmp.image); !why.isEmpty()) return failed(p.value(out), why);
    return ExitDone;
  }
  const LibraryScanResult scan = ScanLibraryFolder(folder);
  QJsonArray modules;
  int code = ExitDone;
  for (const LibraryModuleInfo& m : scan.modules) {
    modules.append(moduleJson(m));
    if (!m.listed()) {
      say(QStringLiteral("warning: %1: %2").arg(QDir::toNativeSeparators(m.path), m.skipReason));
      code = ExitDamaged;
    }
  }
  const QJsonObject o{{"LibrariesPresent", scan.LibrariesPresent}, {"Modules", modules}};
  std::fputs(QJsonDocument(o).toJson(QJsonDocument::Indented).constData(), stdout);
  return code;
}

}  // namespace

const QVector<Command>& Commands() {
  static const QVector<Command> commands = {
      {"dump", "print the loaded project as JSON", dump},
      {"render", "draw the Board into a PNG file", render},
      {"resave", "load, then save under a new name", resave},
      {"drop", "drop a picture on the Board as the app does, then save under a new name", drop},
      {"set", "set fields of a Pane as its dialog does, then save the project", set},
      {"play", "Run in Design for N frames, then Stop", play},
      {"export", "write the project as one web page that plays it", exportPage},
      {"library", "list the pane libraries in a folder, or write one bitmap", library},
  };
  return commands;
}

int RunCommand(const Command& command, const QStringList& args) {
  try {
    return command.run(args);
  } catch (const SlotOutOfRange& e) {
    say(QStringLiteral("%1: the command stopped at a slot number outside 0..50 (%2)").arg(command.name).arg(e.slot));
    return ExitFailed;
  }
}

}  // namespace qv::cli
