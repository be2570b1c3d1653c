#include "tests/hostile/Watchers.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>

namespace hostile {
namespace {

// Read-only system files any Qt, GDAL or PROJ program reads: libraries, plugins, fonts, PROJ,
// GDAL and ICU data, the loader cache, the process's own /proc and /sys entries, and the kernel's
// overcommit setting, which glibc's allocator reads when a thread (the map's drawing) gets a heap.
const QStringList kSystemPrefixes{QStringLiteral("/usr"),
                                  QStringLiteral("/lib"),
                                  QStringLiteral("/lib64"),
                                  QStringLiteral("/etc/fonts"),
                                  QStringLiteral("/etc/ld.so.cache"),
                                  QStringLiteral("/var/cache/fontconfig"),
                                  QStringLiteral("/proc/self"),
                                  QStringLiteral("/proc/sys/vm/overcommit_memory"),
                                  QStringLiteral("/sys/devices/system"),
                                  QStringLiteral("/dev/null"),
                                  QStringLiteral("/dev/urandom"),
                                  QStringLiteral("/etc/localtime")};

const QSet<QString> kOpens{"open", "openat", "openat2", "creat"};
const QSet<QString> kChanges{"mkdir",    "mkdirat",   "unlink",   "unlinkat", "rmdir",   "rename",
                             "renameat", "renameat2", "link",     "linkat",   "symlink", "symlinkat",
                             "truncate", "chmod",     "fchmodat", "chown",    "lchown",  "fchownat",
                             "mknod",    "mknodat",   "utimensat"};

bool Under(const QString& path, const QStringList& prefixes) {
  for (const QString& prefix : prefixes)
    if (path == prefix || path.startsWith(prefix + '/')) return true;
  return false;
}

// strace's quoted text (with -x: non-ASCII bytes as \xHH) back to the bytes it stands for.
QString Unescape(const QString& quoted) {
  QByteArray bytes;
  const QByteArray in = quoted.toLatin1();
  for (qsizetype i = 0; i < in.size(); ++i) {
    if (in[i] != '\\' || i + 1 == in.size()) {
      bytes += in[i];
      continue;
    }
    const char c = in[++i];
    if (c == 'x' && i + 2 < in.size()) {
      bytes += static_cast<char>(in.mid(i + 1, 2).toInt(nullptr, 16));
      i += 2;
    } else if (c >= '0' && c <= '7') {
      int end = i;
      while (end < in.size() && end < i + 3 && in[end] >= '0' && in[end] <= '7') ++end;
      bytes += static_cast<char>(in.mid(i, end - i).toInt(nullptr, 8));
      i = end - 1;
    } else {
      bytes += c == 'n' ? '\n' : c == 't' ? '\t' : c;
    }
  }
  return QString::fromUtf8(bytes);
}

struct TraceFindings {
  int calls = 0;
  QStringList openedOutside, writes, connects;
};

// One traced call: opens outside the allowed folders, changes inside the watched ones and
// Internet connections are findings.
void Judge(const QString& line, const RunPlan& plan, const QStringList& allowed, TraceFindings& found) {
  static const QRegularExpression call(QStringLiteral(R"(^(\w+)\((.*?)(?:\)\s+=\s+(-?\d+)|\s*<unfinished))"));
  static const QRegularExpression quoted(QStringLiteral(R"xx("((?:[^"\\]|\\.)*)")xx"));
  static const QRegularExpression dirFd(QStringLiteral(R"(^(?:AT_FDCWD|\d+)<((?:[^>\\]|\\.)*)>,)"));
  const QRegularExpressionMatch m = call.match(line);
  if (!m.hasMatch()) return;
  ++found.calls;
  const QString name = m.captured(1), args = m.captured(2);
  const bool unfinished = m.captured(3).isEmpty();
  const bool succeeded = unfinished || m.captured(3).toInt() >= 0;
  if (name == QLatin1String("connect")) {
    if (args.contains(QLatin1String("AF_INET"))) found.connects << line;
    return;
  }
  const bool open = kOpens.contains(name), change = kChanges.contains(name);
  if (!open && !change) return;
  static const QRegularExpression writeFlags(QStringLiteral("O_WRONLY|O_RDWR|O_CREAT|O_TRUNC"));
  const bool writes =
      change || (open && (name == QLatin1String("creat") || writeFlags.match(args).hasMatch()));
  const QRegularExpressionMatch dir = dirFd.match(args);
  const QString base = dir.hasMatch() ? Unescape(dir.captured(1)) : plan.home;
  auto it = quoted.globalMatch(args);
  while (it.hasNext()) {
    const QString raw = Unescape(it.next().captured(1));
    const QString path = QDir::cleanPath(QDir::isAbsolutePath(raw) ? raw : base + '/' + raw);
    if (writes && Under(path, plan.watched))
      found.writes << path + "  [" + name + ']';
    else if (succeeded && !Under(path, allowed))
      found.openedOutside << path + "  [" + name + ']';
  }
}

TraceFindings ReadTrace(const QString& folder, const RunPlan& plan) {
  QStringList allowed = kSystemPrefixes + plan.allowed;
  allowed << plan.home << QFileInfo(plan.program).canonicalFilePath();
  TraceFindings found;
  QDirIterator files(folder, {QStringLiteral("trace.*")}, QDir::Files);
  while (files.hasNext()) {
    QFile file(files.next());
    if (!file.open(QIODevice::ReadOnly)) continue;
    while (!file.atEnd()) Judge(QString::fromLatin1(file.readLine()).trimmed(), plan, allowed, found);
  }
  for (QStringList* list : {&found.openedOutside, &found.writes, &found.connects}) list->removeDuplicates();
  return found;
}

}  // namespace

QStringList Differences(const QMap<QString, QByteArray>& before, const QMap<QString, QByteArray>& after) {
  QStringList changed;
  for (auto it = after.begin(); it != after.end(); ++it)
    if (!before.contains(it.key()))
      changed << "added " + it.key();
    else if (before.value(it.key()) != it.value())
      changed << "changed " + it.key();
  for (auto it = before.begin(); it != before.end(); ++it)
    if (!after.contains(it.key())) changed << "removed " + it.key();
  return changed;
}

LoopbackListener::LoopbackListener() {
  socket_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  if (socket_ < 0 || ::bind(socket_, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
      ::listen(socket_, 64) != 0 || ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &size) != 0)
    return;
  port_ = ntohs(address.sin_port);
}

LoopbackListener::~LoopbackListener() {
  if (socket_ >= 0) ::close(socket_);
}

int LoopbackListener::Connections() {
  int client;
  while ((client = ::accept(socket_, nullptr, nullptr)) >= 0) {
    ++connections_;
    ::close(client);
  }
  return connections_;
}

bool CanMountReadOnly() {
  return ::geteuid() == 0 && QProcess::execute(QStringLiteral("unshare"),
                                               {"-m", "--", "sh", "-c", "mount --bind -o ro / /"}) == 0;
}

WatchedRun RunWatched(const RunPlan& plan) {
  const QString traceFolder = plan.home + "/.trace";
  QDir().mkpath(traceFolder);
  QStringList command{QStringLiteral("-qq"),
                      "-f",
                      "-ff",
                      "-y",
                      "-x",
                      "--seccomp-bpf",
                      "-e",
                      "signal=none",
                      "-e",
                      "trace=%file,connect",
                      "-o",
                      traceFolder + "/trace",
                      "--",
                      plan.program};
  command += plan.arguments;
  QString program = QStringLiteral("strace");
  if (!plan.readOnlyMount.isEmpty()) {
    command =
        QStringList{
            "-m",   "--", "sh", "-c", R"(mount --bind -o ro "$0" "$0" && exec "$@")", plan.readOnlyMount,
            program} +
        command;
    program = QStringLiteral("unshare");
  }
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* name :
       {"HOME", "TMPDIR", "XDG_RUNTIME_DIR", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"})
    environment.insert(QString::fromLatin1(name), plan.home);
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  QFile::setPermissions(plan.home, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

  QProcess process;
  process.setProcessEnvironment(environment);
  process.setWorkingDirectory(plan.home);
  const rlim_t addressSpace = rlim_t(plan.addressSpaceBytes);
  process.setChildProcessModifier([addressSpace] {
    ::setpgid(0, 0);
    if (addressSpace > 0) {
      const rlimit limit{addressSpace, addressSpace};
      ::setrlimit(RLIMIT_AS, &limit);
    }
  });
  WatchedRun run;
  QElapsedTimer clock;
  clock.start();
  process.start(program, command);
  run.finished = process.waitForFinished(plan.timeoutMs);
  run.milliseconds = clock.elapsed();
  if (!run.finished) {
    ::kill(-static_cast<pid_t>(process.processId()), SIGKILL);
    process.waitForFinished(5000);
  }
  run.crashed = run.finished && process.exitStatus() == QProcess::CrashExit;
  run.exitCode = process.exitCode();
  run.out = QString::fromUtf8(process.readAllStandardOutput());
  run.err = QString::fromUtf8(process.readAllStandardError());
  const TraceFindings found = ReadTrace(traceFolder, plan);
  run.tracedCalls = found.calls;
  run.openedOutside = found.openedOutside;
  run.writes = found.writes;
  run.connects = found.connects;
  return run;
}

}  // namespace hostile
