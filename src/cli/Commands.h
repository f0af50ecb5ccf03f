// The commands of quorvel-cli and their exit codes.
#pragma once
#include <QStringList>

namespace qv::cli {

constexpr int ExitDone = 0;
constexpr int ExitFailed = 1;
constexpr int ExitBadArguments = 2;
// The project loaded, but with damage or without some of its pictures.
constexpr int ExitDamaged = 3;

struct Command {
  const char* name;
  const char* summary;
  int (*run)(const QStringList& args);
};

const QVector<Command>& Commands();
// Runs a command on its arguments (the words after its name); a slot number
// outside 0..50 met on the way stops it as a failure.
int RunCommand(const Command& command, const QStringList& args);

}  // namespace qv::cli
