// Quorvel: reads the command line, starts the main window and opens the
// project named on the command line (a double click on a .QV1 file).
#include "app/CommandRouter.h"
#include "app/QtPlatform.h"
#include "app/frmMain.h"
#include "session/Commands.h"
#include "shell/Workspace.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <optional>

namespace {

// Quits once the window has been shown on the screen and painted: the
// start-up benchmark times a run with this option.
class QuitWhenShown : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    // The window paints itself while it handles its first expose; the quit
    // is queued behind it, so the picture is on the screen when we leave.
    if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed())
      QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    return false;
  }
};

// What the command line asks for: the project to open, the start-up timing.
struct Arguments {
  QStringList files;
  bool quitWhenShown = false;
};

// Reads the command line before any window exists, so that --help,
// --version and wrong arguments need no display. An exit code when the
// program ends here.
std::optional<int> readArguments(int argc, char** argv, Arguments& args) {
  QCoreApplication core(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("Quorvel"));
  QCoreApplication::setApplicationVersion(QStringLiteral(QUORVEL_VERSION));
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("Quorvel: lay out picture Panes on a Board and play them."));
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument(QStringLiteral("project"), QStringLiteral("A project (NAME.QV1) to open at start."),
                               QStringLiteral("[project]"));
  QCommandLineOption quitWhenShown(QStringLiteral("quit-when-shown"),
                                   QStringLiteral("Quit as soon as the window is on the screen (start-up timing)."));
  quitWhenShown.setFlags(QCommandLineOption::HiddenFromHelp);
  parser.addOption(quitWhenShown);
  if (!parser.parse(QCoreApplication::arguments())) {
    std::fprintf(stderr, "quorvel: %s\nTry 'quorvel --help'.\n", qPrintable(parser.errorText()));
    return 2;
  }
  if (parser.isSet(QStringLiteral("help"))) {
    std::fputs(qPrintable(parser.helpText()), stdout);
    return 0;
  }
  if (parser.isSet(QStringLiteral("version"))) {
    std::printf("Quorvel %s\n", QUORVEL_VERSION);
    return 0;
  }
  args.files = parser.positionalArguments();
  args.quitWhenShown = parser.isSet(quitWhenShown);
  if (args.files.size() > 1) {
    std::fprintf(stderr, "quorvel: one project at a time, %lld given.\nTry 'quorvel --help'.\n",
                 static_cast<long long>(args.files.size()));
    return 2;
  }
  return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
  Arguments args;
  if (const auto exitCode = readArguments(argc, argv, args)) return *exitCode;
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quorvel"));
  QApplication::setApplicationVersion(QStringLiteral(QUORVEL_VERSION));
  QApplication::setDesktopFileName(QStringLiteral(QUORVEL_APP_ID));
  const QStringList& files = args.files;

  qv::Workspace ws;
  qv::QtPlatform platform;
  qv::frmMain window(ws, platform);
  platform.setMainWindow(&window, &window);
  qv::CommandRouter router(window);
  window.show();
  if (args.quitWhenShown) window.windowHandle()->installEventFilter(new QuitWhenShown(&app));
  if (!files.isEmpty()) {
    // As the menu's Load: the intro is left behind, and a file that cannot
    // be read is reported in the same message box.
    qv::OpenProjectAtStart(ws, files.first());
    window.Refresh();
  }
  return app.exec();
}
