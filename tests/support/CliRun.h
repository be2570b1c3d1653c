#pragma once
// Running a program of the project (qiwu-cli) and what it answered.
#include <QByteArray>
#include <QProcess>
#include <QStringList>

struct CliRun {
  int exitCode;
  QByteArray out;
  QByteArray err;
};

// Runs program with args and waits for it (at most a minute); a crash counts as exit code -1.
inline CliRun RunProgram(const QString& program, const QStringList& args) {
  QProcess process;
  process.start(program, args);
  const bool finished = process.waitForFinished(60000);
  const bool exited = finished && process.exitStatus() == QProcess::NormalExit;
  return {exited ? process.exitCode() : -1, process.readAllStandardOutput(), process.readAllStandardError()};
}
