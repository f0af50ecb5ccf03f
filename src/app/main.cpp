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

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quorvel"));
  QApplication::setApplicationVersion(QStringLiteral(QUORVEL_VERSION));
  QApplication::setDesktopFileName(QStringLiteral(QUORVEL_APP_ID));

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
  if (!parser.parse(QApplication::arguments())) {
    std::fprintf(stderr, "quorvel: %s\nTry 'quorvel --help'.\n", qPrintable(parser.errorText()));
    return 2;
  }
  if (parser.isSet(QStringLiteral("help"))) parser.showHelp(0);
  if (parser.isSet(QStringLiteral("version"))) parser.showVersion();
  const QStringList files = parser.positionalArguments();
  if (files.size() > 1) {
    std::fprintf(stderr, "quorvel: one project at a time, %lld given.\nTry 'quorvel --help'.\n",
                 static_cast<long long>(files.size()));
    return 2;
  }

  qv::Workspace ws;
  qv::QtPlatform platform;
  qv::frmMain window(ws, platform);
  platform.setMainWindow(&window, &window);
  qv::CommandRouter router(window);
  window.show();
  if (parser.isSet(quitWhenShown)) window.windowHandle()->installEventFilter(new QuitWhenShown(&app));
  if (!files.isEmpty()) {
    // As the menu's Load: the intro is left behind, and a file that cannot
    // be read is reported in the same message box.
    qv::OpenProjectAtStart(ws, files.first());
    window.Refresh();
  }
  return app.exec();
}
