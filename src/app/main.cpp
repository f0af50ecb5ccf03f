// Quorvel: starts the main window.
#include "app/CommandRouter.h"
#include "shell/Workspace.h"
#include "app/QtPlatform.h"
#include "app/frmMain.h"

#include <QApplication>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quorvel"));
  qv::Workspace ws;
  qv::QtPlatform platform;
  qv::frmMain window(ws, platform);
  platform.setMainWindow(&window, &window);
  qv::CommandRouter router(window);
  window.show();
  return app.exec();
}
