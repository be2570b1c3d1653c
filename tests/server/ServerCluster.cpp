#include "tests/server/ServerCluster.h"

#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QFile>
#include <QProcess>

#include "import/publish/CityPublisher.h"
#include "tools/citygen/Generator.h"

namespace {

constexpr char kBinaries[] = "/usr/lib/postgresql/15/bin";
constexpr char kPostgis[] = "/usr/share/postgresql/15/extension/postgis.control";

int FreePort() {
  const int s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  int port = 0;
  if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) == 0)
    port = ntohs(address.sin_port);
  close(s);
  return port;
}

}  // namespace

ServerCluster& ServerCluster::Shared() {
  static ServerCluster cluster;
  return cluster;
}

ServerCluster::ServerCluster() : binaries_(kBinaries) {
  if (!QFile::exists(binaries_ + "/initdb") || !QFile::exists(kPostgis)) {
    unavailable_ =
        "PostgreSQL 15 and PostGIS 3 are not installed (scripts/install-deps.sh); server tests skipped";
    return;
  }
  if (geteuid() == 0) {
    const passwd* postgres = getpwnam("postgres");
    if (postgres == nullptr ||
        chown(folder_.path().toLocal8Bit().constData(), postgres->pw_uid, postgres->pw_gid) != 0) {
      unavailable_ = "running as root without a postgres user to run the server as";
      return;
    }
  }
  port_ = FreePort();
  const QString data = folder_.path() + "/data";
  if (!Run({binaries_ + "/initdb", "-D", data, "-U", "postgres", "--auth=trust", "-E", "UTF8",
            "--locale=C.UTF-8"},
           "initdb"))
    return;
  started_ = Start(data, port_);
}

bool ServerCluster::Start(const QString& data, int port) {
  return Run({binaries_ + "/pg_ctl", "-D", data, "-l", data + ".log", "-w", "-o",
              QString("-p %1 -c listen_addresses=127.0.0.1 -c unix_socket_directories=%2 -c fsync=off "
                      "-c max_connections=300")
                  .arg(port)
                  .arg(folder_.path()),
              "start"},
             "pg_ctl start");
}

ServerCluster::~ServerCluster() {
  for (const QString data : {"/standby", "/data"})
    if (started_ && QFile::exists(folder_.path() + data + "/postmaster.pid"))
      Run({binaries_ + "/pg_ctl", "-D", folder_.path() + data, "-m", "immediate", "-w", "stop"}, "stop");
}

int ServerCluster::StandbyPort() {
  if (standbyPort_ == 0 && started_) {
    const QString data = folder_.path() + "/standby";
    const int port = FreePort();
    if (Run({binaries_ + "/pg_basebackup", "-h", "127.0.0.1", "-p", QString::number(port_), "-U", "postgres",
             "-D", data, "-R", "-X", "stream", "-c", "fast"},
            "pg_basebackup") &&
        Start(data, port))
      standbyPort_ = port;
  }
  return standbyPort_;
}

bool ServerCluster::Run(const QStringList& command, const QString& what) {
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  QStringList arguments = command;
  QString program = arguments.takeFirst();
  if (geteuid() == 0) {
    arguments = QStringList{"-u", "postgres", "--", program} + arguments;
    program = "runuser";
  }
  process.start(program, arguments);
  if (process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit &&
      process.exitCode() == 0)
    return true;
  unavailable_ = what + " failed: " + QString::fromLocal8Bit(process.readAll());
  return false;
}

QString ServerCluster::AdminConnection(const QString& dbname) const {
  return QString("host=127.0.0.1 port=%1 user=postgres dbname=%2").arg(port_).arg(dbname);
}

bool ServerCluster::CreateDatabase(const QString& dbname) const {
  PGconn* conn = PQconnectdb(AdminConnection("postgres").toUtf8().constData());
  const QByteArray sql = QString("drop database if exists \"%1\"; ").arg(dbname).toUtf8();
  PQclear(PQexec(conn, sql.constData()));
  PGresult* r = PQexec(conn, QString("create database \"%1\"").arg(dbname).toUtf8().constData());
  const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
  if (!ok) ADD_FAILURE() << PQerrorMessage(conn);
  PQclear(r);
  PQfinish(conn);
  return ok;
}

QString ServerCluster::PublishDemoCity(const QString& programDir, const QString& dbname, int scale) const {
  citygen::Options options;
  options.outDir = programDir.toStdString();
  options.scale = scale;
  QString failure = QString::fromStdString(citygen::WriteDataSet(citygen::Generate(options), options.outDir));
  if (!failure.isEmpty()) return failure;
  if (!CreateDatabase(dbname)) return QStringLiteral("cannot create database ") + dbname;
  publish::PublishCity(AdminConnection(dbname), QString::fromStdString(options.cityName), programDir,
                       failure);
  return failure;
}
