// Quorvel: starts the main window.
#include "app/CommandRouter.h"
#include "model/Workspace.h"
#include "shell/QtPlatform.h"
#include "shell/frmMain.h"

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
