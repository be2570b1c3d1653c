#pragma once
// A throw-away PostgreSQL 15 + PostGIS cluster for the tests: initdb in a temporary folder,
// listening on 127.0.0.1 on a free port, stopped and removed at the end of the test program. Run
// as the postgres user when the tests run as root (initdb refuses root).
#include <QString>
#include <QTemporaryDir>

class ServerCluster {
 public:
  // The one cluster of the test program, started on first use.
  static ServerCluster& Shared();
  ~ServerCluster();

  // Why there is no server (the packages are not installed), or empty when it runs.
  const QString& Unavailable() const { return unavailable_; }
  int Port() const { return port_; }
  // A connection string of the superuser to database dbname on 127.0.0.1.
  QString AdminConnection(const QString& dbname) const;
  // Creates database dbname (dropping one of that name); false when the server refuses.
  bool CreateDatabase(const QString& dbname) const;
  // Writes the demo city (at scale) into programDir and publishes it to a new database dbname; the
  // failure, or empty.
  QString PublishDemoCity(const QString& programDir, const QString& dbname, int scale = 1) const;
  // A read-only hot standby streaming from this cluster, started on first use; its port, or 0
  // when it cannot start (the reason then in Unavailable()).
  int StandbyPort();

 private:
  ServerCluster();
  bool Run(const QStringList& command, const QString& what);
  bool Start(const QString& data, int port);

  QTemporaryDir folder_;
  QString unavailable_;
  QString binaries_;
  int port_ = 0;
  int standbyPort_ = 0;
  bool started_ = false;
};

// Skips the test with one line when the server cannot run here.
#define SKIP_WITHOUT_SERVER()                           \
  if (!ServerCluster::Shared().Unavailable().isEmpty()) \
  GTEST_SKIP() << ServerCluster::Shared().Unavailable().toStdString()
