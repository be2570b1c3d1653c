#pragma once
// A city database on a PostgreSQL server (data/<city>.pg): one connection per desk, read-only,
// every statement bounded in time as on the file side. Statements arrive in the program's Jet
// dialect and are translated (ServerStatement.h); rows come back as the file side gives them.
#include <QStringList>
#include <memory>

#include "data/DbError.h"
#include "data/ResultSet.h"

struct pg_conn;

class ServerDatabase {
 public:
  ~ServerDatabase();
  ServerDatabase(const ServerDatabase&) = delete;
  ServerDatabase& operator=(const ServerDatabase&) = delete;

  // Reads the .pg file at path, checks it and the servers it names against the user's list, and
  // connects. Null with error set (number kErrorOpenFailed, the server's text) on any failure.
  static std::unique_ptr<ServerDatabase> Connect(const QString& path, DbError& error);

  // The tables of the city (lower-case names, as the publisher made them).
  const QStringList& Tables() const { return tables_; }

  // Runs one statement of the program; null with error set (kErrorStatementFailed) on failure.
  std::unique_ptr<ResultSet> Query(const QString& jetStatement, DbError& error) const;

  // The libpq connection string of the .pg file, for GDAL's PostgreSQL driver.
  const QString& ConnectionString() const { return connection_; }

 private:
  ServerDatabase(pg_conn* connection, QString connectionString);

  pg_conn* conn_;
  QString connection_;
  QStringList tables_;
};
