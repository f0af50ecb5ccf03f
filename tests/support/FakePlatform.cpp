// Scripted platform answers for tests.
#include "support/FakePlatform.h"

#include "shell/Setups.h"

namespace qv {

bool FakePlatform::AskYesNo(const QString& title, const QString& text) {
  log << "AskYesNo|" + title + "|" + text;
  return yesNoAnswers.isEmpty() ? false : yesNoAnswers.dequeue();
}

void FakePlatform::ShowMessage(const QString& title, const QString& text) {
  log << "ShowMessage|" + title + "|" + text;
}

std::optional<FileChoice> FakePlatform::OpenFileDialog(const QString& title, const QString& filter,
                                                       const QString& startFolder) {
  log << "OpenFileDialog|" + title + "|" + filter + "|" + startFolder;
  return fileAnswers.isEmpty() ? std::nullopt : fileAnswers.dequeue();
}

std::optional<FileChoice> FakePlatform::SaveFileDialog(const QString& title, const QString& filter,
                                                       const QString& startFolder) {
  log << "SaveFileDialog|" + title + "|" + filter + "|" + startFolder;
  return fileAnswers.isEmpty() ? std::nullopt : fileAnswers.dequeue();
}

std::optional<Long> FakePlatform::ChooseColor(Long start) {
  log << "ChooseColor|" + QString::number(start);
  return colorAnswers.isEmpty() ? std::nullopt : colorAnswers.dequeue();
}

void FakePlatform::PlaySound(const QByteArray& wave) {
  log << "PlaySound|" + QString::number(wave.size());
  lastSound = wave;
}

void FakePlatform::StopSound() { log << "StopSound"; }

void FakePlatform::OpenUrl(const QString& url) {
  log << "OpenUrl|" + url;
  lastUrl = url;
}

QStringList FakePlatform::calls(const QString& prefix) const {
  QStringList out;
  for (const auto& l : log)
    if (l.startsWith(prefix)) out << l;
  return out;
}

TestBench::TestBench() {
  ws.platform = &platform;
  ws.windows = &windows;
  FillLists(ws);
  LayoutMainWindow(ws);
}

}  // namespace qv
