#pragma once
// What a program did while it ran on a hostile data set: which files it opened or tried to
// write (strace on the child), whether a loopback server was contacted, whether any file of a
// folder changed, and whether the program ended by itself in time.
#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

namespace hostile {

// The entries that were added, removed or changed between two fingerprints of a folder.
QStringList Differences(const QMap<QString, QByteArray>& before, const QMap<QString, QByteArray>& after);

// A TCP socket listening on 127.0.0.1 that nobody answers; connections wait in its backlog.
class LoopbackListener {
 public:
  LoopbackListener();
  ~LoopbackListener();
  LoopbackListener(const LoopbackListener&) = delete;
  LoopbackListener& operator=(const LoopbackListener&) = delete;
  int Port() const { return port_; }
  // The connections made so far (each one accepted and closed here).
  int Connections();

 private:
  int socket_ = -1;
  int port_ = 0;
  int connections_ = 0;
};

struct WatchedRun {
  bool finished = false;  // ended by itself within the time limit
  bool crashed = false;   // ended by a signal
  int exitCode = -1;
  qint64 milliseconds = 0;
  QString out, err;
  int tracedCalls = 0;        // file and connect calls strace saw: none means nothing was watched
  QStringList openedOutside;  // files opened (or being opened) outside the allowed folders
  QStringList writes;         // attempts to create, change or remove a file in a watched folder
  QStringList connects;       // Internet connections attempted
};

struct RunPlan {
  QString program;
  QStringList arguments;
  QString home;           // HOME, TMPDIR, XDG_* and working directory of the child: its own
  QStringList allowed;    // folders and files it may open besides the system's read-only ones
  QStringList watched;    // folders where it must not even try to write
  QString readOnlyMount;  // a folder bound read-only in a private mount namespace first
  int timeoutMs = 10000;
  qint64 addressSpaceBytes = 0;  // the child's RLIMIT_AS (strace and the program inherit it); 0: none
};

// Runs the plan under strace (its own process group, killed at the time limit).
WatchedRun RunWatched(const RunPlan& plan);

// Whether this machine can bind a folder read-only in a private mount namespace (root only).
bool CanMountReadOnly();

}  // namespace hostile
