// quorvel-cli: headless commands over the engine.
#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName("quorvel-cli");
  QCoreApplication::setApplicationVersion("1.0");
  const QStringList args = app.arguments();
  QTextStream out(stdout);
  if (args.size() >= 2 && args[1] == "--version") {
    out << "quorvel-cli 1.0\n";
    return 0;
  }
  out << "usage: quorvel-cli --help | --version\n";
  return args.size() >= 2 && args[1] == "--help" ? 0 : 2;
}
