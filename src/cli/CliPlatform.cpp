// Headless platform answers.
#include "cli/CliPlatform.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

namespace qv {

void CliPlatform::ShowMessage(const QString& title, const QString& text) {
  messages << title + ": " + text;
  std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(QString(text).replace('\n', ' ')));
}

std::optional<FileChoice> CliPlatform::OpenFileDialog(const QString&, const QString&, const QString&) {
  if (openPath.isEmpty()) return std::nullopt;
  return fileChoiceFromPath(QFileInfo(openPath).absoluteFilePath());
}

std::optional<FileChoice> CliPlatform::SaveFileDialog(const QString&, const QString&, const QString&) {
  if (savePath.isEmpty()) return std::nullopt;
  return fileChoiceFromPath(QFileInfo(savePath).absoluteFilePath());
}

QString CliPlatform::ProgramFolder() { return QCoreApplication::applicationDirPath() + "/"; }

}  // namespace qv
