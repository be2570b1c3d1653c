#pragma once
// A city database on a PostgreSQL server (data/<city>.pg): one connection per desk, read-only,
// every statement bounded in time as on the file side. Statements arrive in the program's Jet
// dialect and are translated (ServerStatement.h); rows come back as the file side gives them.
#include <QStringList>
#include <memory>

#include "data/ResultSet.h"
#include "kit/Outcome.h"

struct pg_conn;

class ServerDatabase {
 public:
  ~ServerDatabase();
  ServerDatabase(const ServerDatabase&) = delete;
  ServerDatabase& operator=(const ServerDatabase&) = delete;

  // Reads the .pg file at path, checks it and the servers it names against the user's list, and
  // connects. Null with error set (number kErrorOpenFailed, the server's text) on any failure.
  static std::unique_ptr<ServerDatabase> Connect(const QString& path, Outcome& error);

  // The tables of the city (lower-case names, as the publisher made them).
  const QStringList& Tables() const { return tables_; }

  // Runs one statement of the program; null with error set (kErrorStatementFailed) on failure. A server
  // that has not answered 2.5 s after the statement was sent is given up, and with it the connection.
  std::unique_ptr<ResultSet> Query(const QString& jetStatement, Outcome& error) const;

  // True once the server stopped answering and the connection was given up.
  bool Lost() const { return conn_ == nullptr; }

  // The connection string for GDAL's PostgreSQL driver, rebuilt from the .pg file's checked
  // keywords (qiwu::ConnectionParams for GDAL), never the file's text.
  const QString& ConnectionString() const { return connection_; }

 private:
  ServerDatabase(pg_conn* connection, QString connectionString);

  mutable pg_conn* conn_;  // null once a server stopped answering: the link was given up
  QString connection_;
  QStringList tables_;
};
