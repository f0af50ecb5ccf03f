// quorvel-cli: headless commands over the engine. Results go to stdout,
// errors to stderr with a non-zero exit.
#include "cli/CliPlatform.h"
#include "cli/Json.h"
#include "imaging/BoardRender.h"
#include "project/ProjectCommands.h"
#include "runmode/RunLoop.h"
#include "runmode/StageMouse.h"
#include "shell/Setups.h"
#include "shell/WindowHost.h"
#include "surface/PictureFile.h"
#include "surface/SafeFiles.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QRegularExpression>
#include <cstdio>
#include <map>

using namespace qv;

namespace {

const char* kUsage =
    "usage: quorvel-cli <command> [options]\n"
    "\n"
    "commands:\n"
    "  dump PROJECT.QV1                      print the loaded project as JSON\n"
    "  render PROJECT.QV1 --out FILE.png [--board WxH]\n"
    "                                        draw the Board (default 800x600)\n"
    "  resave PROJECT.QV1 OUT.QV1            load, then save under a new name\n"
    "  play PROJECT.QV1 --frames N [--board WxH] [--input F:move:X,Y]...\n"
    "       [--input F:click:X,Y]... [--png-dir DIR] [--state-out FILE.json]\n"
    "                                        Run in Design for N frames, then Stop\n"
    "  --help, --version\n"
    "\n"
    "Each command also takes --help.\n";

int fail(const QString& why) {
  std::fprintf(stderr, "quorvel-cli: %s\n", qPrintable(why));
  return 2;
}

// A project's name is its file title less the last four characters, so a
// shorter title names no project: the commands would end without a word.
bool nameable(const QString& path) {
  if (QFileInfo(path).fileName().size() >= 4) return true;
  fail(QStringLiteral("%1: the file name is too short to name a project").arg(path));
  return false;
}

// A headless session: workspace, platform and window host at start-up state.
struct Session {
  CliPlatform platform;
  HeadlessWindowHost windows;
  Workspace ws;
  Session() {
    ws.platform = &platform;
    ws.windows = &windows;
    FillLists(ws);
    LayoutMainWindow(ws);
    IntroBlankNewProject(ws);
  }
  // The Board size for the run or the render, kept by every later layout.
  void setBoard(QSize size) {
    ws.picStage.SetSize(size.width(), size.height());
    LayoutMainWindow(ws);
  }
  // Loads as the Load command does; false (and a message) when it failed.
  bool load(const QString& path) {
    if (!QFileInfo(path).isFile()) {
      fail(QStringLiteral("%1: no such project file").arg(path));
      return false;
    }
    if (!nameable(path)) return false;
    platform.openPath = path;
    const int before = platform.messages.size();
    mnu_LoadsProject_Click(ws);
    for (int i = before; i < platform.messages.size(); ++i)
      if (platform.messages[i].contains("could not be read")) return false;
    return true;
  }
};

std::optional<QSize> parseBoard(const QString& text) {
  static const QRegularExpression re(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$"));
  const auto m = re.match(text);
  if (!m.hasMatch()) return std::nullopt;
  const int w = m.captured(1).toInt(), h = m.captured(2).toInt();
  if (w < 1 || h < 1 || w > MaxPictureSide || h > MaxPictureSide || qint64(w) * h > MaxPicturePixels)
    return std::nullopt;
  return QSize(w, h);
}

// Files are written safely: a failed write keeps any older file. Returns an
// empty string or the reason.
QString writeBytes(const QString& path, const QByteArray& bytes) {
  const Outcome written = WriteFileSafely(path, bytes);
  return written.succeeded() ? QString() : written.failure().reason;
}

QString writePng(const QString& path, const QImage& img) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!img.save(&buffer, "PNG")) return QStringLiteral("the picture could not be coded as PNG");
  return writeBytes(path, bytes);
}

// Options of the form --name VALUE, repeatable; positional words apart.
struct Args {
  QStringList positional;
  std::multimap<QString, QString> options;
  bool help = false;
  QString error;
  QString one(const QString& name) const {
    auto it = options.find(name);
    return it == options.end() ? QString() : it->second;
  }
};

Args parseArgs(const QStringList& words, const QStringList& valued) {
  Args a;
  for (int i = 0; i < words.size(); ++i) {
    const QString& w = words[i];
    if (w == "--help" || w == "-h") {
      a.help = true;
    } else if (w.startsWith("--")) {
      const QString name = w.mid(2);
      if (!valued.contains(name)) a.error = "unknown option " + w;
      else if (i + 1 >= words.size()) a.error = "option " + w + " needs a value";
      else a.options.emplace(name, words[++i]);
    } else {
      a.positional << w;
    }
  }
  return a;
}

int dump(const Args& a) {
  if (a.positional.size() != 1) return fail("dump takes one project file");
  Session s;
  if (!s.load(a.positional[0])) return 1;
  QJsonObject o;
  o["PaneCount"] = s.ws.PaneCount;
  o["Panes"] = PanesJson(s.ws.PaneTable);
  o["BoardSettings"] = BoardSettingsJson(s.ws.BoardSettings);
  o["Zorder"] = ZorderJson(s.ws.win);
  std::fputs(QJsonDocument(o).toJson(QJsonDocument::Indented).constData(), stdout);
  return 0;
}

int render(const Args& a) {
  if (a.positional.size() != 1) return fail("render takes one project file");
  const QString out = a.one("out");
  if (out.isEmpty()) return fail("render needs --out FILE.png");
  const auto board = parseBoard(a.one("board").isEmpty() ? QStringLiteral("800x600") : a.one("board"));
  if (!board) return fail("--board takes WxH, e.g. 800x600");
  Session s;
  s.setBoard(*board);
  if (!s.load(a.positional[0])) return 1;
  RedrawBoard(s.ws);
  if (const QString why = writePng(out, s.ws.picStage.Image()); !why.isEmpty())
    return fail(QStringLiteral("%1: cannot write the picture: %2").arg(out, why));
  return 0;
}

int resave(const Args& a) {
  if (a.positional.size() != 2) return fail("resave takes PROJECT.QV1 OUT.QV1");
  if (!nameable(a.positional[1])) return 2;
  Session s;
  if (!s.load(a.positional[0])) return 1;
  s.platform.savePath = a.positional[1];
  const int before = s.platform.messages.size();
  SaveProject(s.ws);
  return s.platform.messages.size() == before ? 0 : 1;
}

struct Input {
  int frame;
  bool click;
  int x, y;
};

int play(const Args& a) {
  if (a.positional.size() != 1) return fail("play takes one project file");
  bool ok = false;
  const int frames = a.one("frames").toInt(&ok);
  if (!ok || frames < 0 || frames > 1'000'000) return fail("play needs --frames N (0..1000000)");
  const auto board = parseBoard(a.one("board").isEmpty() ? QStringLiteral("800x600") : a.one("board"));
  if (!board) return fail("--board takes WxH, e.g. 800x600");
  static const QRegularExpression re(QStringLiteral("^(\\d+):(move|click):(-?\\d+),(-?\\d+)$"));
  std::vector<Input> inputs;
  for (auto [it, end] = a.options.equal_range("input"); it != end; ++it) {
    const auto m = re.match(it->second);
    if (!m.hasMatch()) return fail("bad --input " + it->second + " (F:move:X,Y or F:click:X,Y)");
    inputs.push_back({m.captured(1).toInt(), m.captured(2) == "click", m.captured(3).toInt(),
                      m.captured(4).toInt()});
  }
  const QString pngDir = a.one("png-dir");
  if (!pngDir.isEmpty() && !QDir().mkpath(pngDir)) return fail(pngDir + ": cannot make the folder");

  Session s;
  s.setBoard(*board);
  if (!s.load(a.positional[0])) return 1;
  Workspace& ws = s.ws;
  mnu_RunInWindow_Click(ws);
  for (int f = 1; f <= frames; ++f) {
    // Inputs are the events handled before the frame.
    for (const Input& in : inputs) {
      if (in.frame != f) continue;
      if (in.click) picStage_MouseDown(ws, 1, in.x, in.y);
      else picStage_MouseMove(ws, 0, in.x, in.y);
    }
    RunLoopPass(ws);
    if (!pngDir.isEmpty()) {
      const QString name = QDir(pngDir).filePath(QStringLiteral("frame_%1.png").arg(f, 5, 10, QLatin1Char('0')));
      if (const QString why = writePng(name, ws.picStage.Image()); !why.isEmpty())
        return fail(name + ": cannot write the picture: " + why);
    }
  }
  const QString stateOut = a.one("state-out");
  if (!stateOut.isEmpty()) {
    QJsonObject o;
    o["Frames"] = frames;
    o["Panes"] = PanesJson(ws.RunPaneTable);
    if (const QString why = writeBytes(stateOut, QJsonDocument(o).toJson(QJsonDocument::Indented)); !why.isEmpty())
      return fail(stateOut + ": cannot write the state: " + why);
  }
  StopRun(ws, StopForm::EscKey);
  while (RunLoopPass(ws)) {
  }
  return 0;
}

// Qt's own notes (a missing runtime folder and the like) are no errors of
// the command; only critical messages reach stderr.
void quietQtNotes(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(text));
}

}  // namespace

int main(int argc, char** argv) {
  qInstallMessageHandler(quietQtNotes);
  // Printing Labels and fonts needs a GUI application, but never a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments().mid(1);
  if (args.isEmpty()) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const QString cmd = args[0];
  if (cmd == "--help" || cmd == "-h") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (cmd == "--version") {
    std::puts("quorvel-cli 1.0");
    return 0;
  }
  static const std::map<QString, std::pair<int (*)(const Args&), QStringList>> commands = {
      {"dump", {dump, {}}},
      {"render", {render, {"out", "board"}}},
      {"resave", {resave, {}}},
      {"play", {play, {"frames", "board", "input", "png-dir", "state-out"}}},
  };
  const auto it = commands.find(cmd);
  if (it == commands.end()) {
    std::fputs(kUsage, stderr);
    return fail("unknown command " + cmd);
  }
  const Args a = parseArgs(args.mid(1), it->second.second);
  if (a.help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (!a.error.isEmpty()) return fail(a.error);
  return it->second.first(a);
}
