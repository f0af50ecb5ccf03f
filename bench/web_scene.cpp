// quorvel-web-scene OUT.QV1: saves the RunFrame benchmark's scene (50 moving,
// colliding, Transparent 200 x 200 Panes over a Background on the 1024 x 764
// Board) as a project, for bench/webpage.mjs to time as a web page.
#include "BenchSupport.h"

#include "project/ProjectCommands.h"
#include "shell/Setups.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fputs("usage: quorvel-web-scene OUT.QV1\n", stderr);
    return 2;
  }
  qv::HeadlessSession s;
  qv::IntroBlankNewProject(s.ws);
  qvbench::buildPaneScene(s);
  qvbench::setRunMotion(s);
  s.platform.fileAnswers.enqueue(qv::fileChoiceFromPath(QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[1]))));
  const qv::Outcome saved = qv::SaveProject(s.ws);
  if (saved.succeeded()) return 0;
  std::fprintf(stderr, "quorvel-web-scene: %s: %s\n", qPrintable(saved.failure().file), qPrintable(saved.failure().reason));
  return 1;
}
