// quorvel-cli: headless commands over the engine. Results go to stdout;
// failures go to stderr, naming the file and the reason, with a non-zero exit.
#include "cli/Commands.h"

#include <QGuiApplication>
#include <cstdio>
#include <cstring>
#include <malloc.h>

using namespace qv::cli;

namespace {

// Qt's own notes (a missing runtime folder and the like) are no errors of
// the command; only critical messages reach stderr.
void quietQtNotes(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(text));
}

// Every byte sequence is a file name on Linux, but only UTF-8 text survives
// the trip through Qt's strings unchanged: anything else would be read or
// written under a different name.
bool isUtf8(const char* arg) {
  const QByteArray bytes(arg, int(std::strlen(arg)));
  return QString::fromUtf8(bytes).toUtf8() == bytes;
}

void usage(std::FILE* to) {
  std::fputs("usage: quorvel-cli <command> [options]\n\ncommands:\n", to);
  for (const Command& c : Commands()) std::fprintf(to, "  %-8s %s\n", c.name, c.summary);
  std::fputs("\nEach command takes --help. Exit codes: 0 done, 1 failed, 2 bad arguments,\n"
             "3 the project loaded with damage (the warnings are on stderr).\n", to);
}

}  // namespace

int main(int argc, char** argv) {
  qInstallMessageHandler(quietQtNotes);
  // play and export make a session for each project they are given; the
  // pictures of one (about 20 MB) stay in the heap for the next instead of
  // being mapped and faulted in anew, a third of the time of a large run.
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
  for (int i = 1; i < argc; ++i) {
    if (!isUtf8(argv[i])) {
      std::fprintf(stderr, "quorvel-cli: argument %d is not valid UTF-8; Quorvel can only use file names "
                           "that are UTF-8 text\n", i);
      return ExitBadArguments;
    }
  }
  // Printing Labels and fonts needs a GUI application, but never a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() < 2) {
    usage(stderr);
    return ExitBadArguments;
  }
  const QString name = args[1];
  if (name == "--help" || name == "-h") {
    usage(stdout);
    return ExitDone;
  }
  if (name == "--version") {
    std::puts("quorvel-cli 1.0");
    return ExitDone;
  }
  for (const Command& c : Commands()) {
    if (name == QLatin1String(c.name)) return RunCommand(c, args.mid(2));
  }
  usage(stderr);
  std::fprintf(stderr, "quorvel-cli: unknown command %s\n", qPrintable(name));
  return ExitBadArguments;
}
