#pragma once
// Running a program of the project (qiwu-cli) and what it answered.
#include <sys/resource.h>

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
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

// Runs program under a watchdog: killed after timeoutMs, its address space limited to addressSpace
// bytes (a program that would take gigabytes fails instead), env added to its environment.
inline CliRun RunBounded(const QString& program, const QStringList& args, int timeoutMs, qint64 addressSpace,
                         const QStringList& env = {}) {
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const QString& variable : env)
    environment.insert(variable.section('=', 0, 0), variable.section('=', 1));
  process.setProcessEnvironment(environment);
  process.setChildProcessModifier([addressSpace] {
    const rlimit limit{rlim_t(addressSpace), rlim_t(addressSpace)};
    setrlimit(RLIMIT_AS, &limit);
  });
  process.start(program, args);
  if (!process.waitForFinished(timeoutMs)) {
    process.kill();
    process.waitForFinished();
    return {-2, process.readAllStandardOutput(),
            "killed by the watchdog after " + QByteArray::number(timeoutMs) + " ms"};
  }
  const bool exited = process.exitStatus() == QProcess::NormalExit;
  return {exited ? process.exitCode() : -1, process.readAllStandardOutput(), process.readAllStandardError()};
}
