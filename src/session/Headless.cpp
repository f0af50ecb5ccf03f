// Scripted platform answers and the start-up of a session without windows.
#include "session/Headless.h"

#include "project/StartDefaults.h"
#include "shell/Setups.h"

namespace qv {

bool HeadlessPlatform::AskYesNo(const QString& title, const QString& text) {
  log << "AskYesNo|" + title + "|" + text;
  return yesNoAnswers.isEmpty() ? answerWhenUnscripted : yesNoAnswers.dequeue();
}

SaveChoice HeadlessPlatform::AskSaveChanges(const QString& title, const QString& text) {
  log << "AskSaveChanges|" + title + "|" + text;
  return saveAnswers.isEmpty() ? SaveChoice::Cancel : saveAnswers.dequeue();
}

RecoverChoice HeadlessPlatform::AskRecover(const QString& title, const QString& text) {
  log << "AskRecover|" + title + "|" + text;
  return recoverAnswers.isEmpty() ? RecoverChoice::Later : recoverAnswers.dequeue();
}

void HeadlessPlatform::ShowMessage(const QString& title, const QString& text, const QString& details) {
  log << "ShowMessage|" + title + "|" + text + (details.isEmpty() ? QString() : "|" + details);
}

std::optional<FileChoice> HeadlessPlatform::OpenFileDialog(const QString& title, const QString& filter,
                                                           const QString& startFolder) {
  log << "OpenFileDialog|" + title + "|" + filter + "|" + startFolder;
  return fileAnswers.isEmpty() ? std::nullopt : fileAnswers.dequeue();
}

std::optional<FileChoice> HeadlessPlatform::SaveFileDialog(const QString& title, const QString& filter,
                                                           const QString& startFolder) {
  log << "SaveFileDialog|" + title + "|" + filter + "|" + startFolder;
  return fileAnswers.isEmpty() ? std::nullopt : fileAnswers.dequeue();
}

std::optional<Long> HeadlessPlatform::ChooseColor(Long start) {
  log << "ChooseColor|" + QString::number(start);
  return colorAnswers.isEmpty() ? std::nullopt : colorAnswers.dequeue();
}

void HeadlessPlatform::PlaySound(const QByteArray& wave) {
  log << "PlaySound|" + QString::number(wave.size());
  lastSound = wave;
}

void HeadlessPlatform::StopSound() { log << "StopSound"; }

void HeadlessPlatform::OpenUrl(const QString& url) {
  log << "OpenUrl|" + url;
  lastUrl = url;
}

ProgramResult HeadlessPlatform::RunProgram(const QString& program, const QStringList& args, int) {
  log << "RunProgram|" + program + "|" + args.join('|');
  return programResults.isEmpty() ? ProgramResult() : programResults.dequeue();
}

void HeadlessPlatform::SetClipboardData(const QVector<std::pair<QString, QByteArray>>& data) {
  clipboard.clear();
  for (const auto& [type, bytes] : data) clipboard.insert(type, bytes);
}

QStringList HeadlessPlatform::calls(const QString& prefix) const {
  QStringList out;
  for (const auto& l : log)
    if (l.startsWith(prefix)) out << l;
  return out;
}

HeadlessSession::HeadlessSession() {
  ws.platform = &platform;
  ws.windows = &windows;
  FillLists(ws);
  LayoutMainWindow(ws);
}

}  // namespace qv
