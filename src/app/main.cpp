// Quorvel: reads the command line, starts the main window and opens the
// project named on the command line (a double click on a .QV1 file), after
// offering what a Quorvel that was stopped left for recovery.
#include "app/CommandRouter.h"
#include "app/Keeping.h"
#include "app/QtPlatform.h"
#include "app/frmMain.h"
#include "session/Commands.h"
#include "session/Recovery.h"
#include "session/Settings.h"
#include "shell/Workspace.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>
#include <QWindow>

#include <cstdio>

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

// The program's options. --help and --version are answered before any
// window exists, so that they need no display.
struct Options : QCommandLineParser {
  QCommandLineOption quitWhenShown{QStringLiteral("quit-when-shown"),
                                   QStringLiteral("Quit as soon as the window is on the screen (start-up timing).")};
  Options() {
    setApplicationDescription(QStringLiteral("Quorvel: lay out picture Panes on a Board and play them."));
    addHelpOption();
    addVersionOption();
    addPositionalArgument(QStringLiteral("project"), QStringLiteral("A project (NAME.QV1) to open at start."),
                          QStringLiteral("[project]"));
    quitWhenShown.setFlags(QCommandLineOption::HiddenFromHelp);
    addOption(quitWhenShown);
  }
};

void nameApplication() {
  QCoreApplication::setApplicationName(QStringLiteral("Quorvel"));
  QCoreApplication::setApplicationVersion(QStringLiteral(QUORVEL_VERSION));
}

// Answers --help and --version without a display; true when it did.
bool answeredWithoutDisplay(int argc, char** argv) {
  const QStringList asks = {"-h", "--help", "-?", "--help-all", "-v", "--version"};
  bool asked = false;
  for (int i = 1; i < argc; ++i) asked = asked || asks.contains(QString::fromLocal8Bit(argv[i]));
  if (!asked) return false;
  QCoreApplication core(argc, argv);
  nameApplication();
  Options options;
  options.parse(QCoreApplication::arguments());
  if (options.isSet(QStringLiteral("version"))) std::printf("Quorvel %s\n", QUORVEL_VERSION);
  else std::fputs(qPrintable(options.helpText()), stdout);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (answeredWithoutDisplay(argc, argv)) return 0;
  QApplication app(argc, argv);
  nameApplication();
  QApplication::setDesktopFileName(QStringLiteral(QUORVEL_APP_ID));

  Options options;
  if (!options.parse(QApplication::arguments())) {
    std::fprintf(stderr, "quorvel: %s\nTry 'quorvel --help'.\n", qPrintable(options.errorText()));
    return 2;
  }
  const QStringList files = options.positionalArguments();
  if (files.size() > 1) {
    std::fprintf(stderr, "quorvel: one project at a time, %lld given.\nTry 'quorvel --help'.\n",
                 static_cast<long long>(files.size()));
    return 2;
  }

  // Our addition: settings and recovery copies, kept by the app alone.
  qv::Settings settings(qv::SettingsFile(qv::ConfigFolder()));
  const QString state = qv::StateFolder();
  qv::RecoveryKeeper keeper(qv::RecoveryRootIn(state), settings.RecoveryInterval());
  qv::Workspace ws;
  qv::QtPlatform platform;
  platform.setSettings(&settings);
  qv::frmMain window(ws, platform);
  platform.setMainWindow(&window, &window);
  qv::CommandRouter router(window);
  qv::Keeping keeping(window, &settings, &keeper);
  window.show();
  // A window manager frames the window a moment after it shows; then the
  // whole frame is brought inside the screen.
  for (int ms : {0, 200, 1000}) QTimer::singleShot(ms, &window, &qv::frmMain::fitToScreen);
  if (options.isSet(options.quitWhenShown)) window.windowHandle()->installEventFilter(new QuitWhenShown(&app));
  // What a Quorvel that was stopped left is offered first, also before a
  // project named on the command line.
  qv::OfferRecovery(ws, keeper, qv::RecoveryAsideIn(state));
  window.Refresh();
  if (!files.isEmpty()) {
    // As the menu's Load: the intro is left behind, and a file that cannot
    // be read is reported in the same message box.
    qv::OpenProjectAtStart(ws, files.first());
    window.Refresh();
  }
  return app.exec();
}
