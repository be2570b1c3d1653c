#pragma once
// The program's one connection to the city database and its one current result set.
// Failures are shown in a box "错误描述：…\r\n错误代码：…" titled "打开数据库错误" and reported
// as false. The data set is never written.
#include <QString>
#include <QStringList>
#include <memory>

#include "data/DbError.h"
#include "data/ResultSet.h"

struct sqlite3;

namespace modDBAccess {

// An open database: a Jet 4.0 file read through mdbtools, or an SQLite file, copied into an
// in-memory SQLite database that carries the program's text collation.
class Connection {
 public:
  explicit Connection(QString path);  // not open yet
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // Reads the file at Path() into memory (DatabaseLoader.h). On failure the connection stays
  // unopened and error holds the reason; nothing is shown.
  bool Open(DbError& error);

  const QString& Path() const { return path_; }
  // True when name, placed unquoted in a statement, means one of the database's tables: a plain
  // name (TableName.h) of a table, the case of Latin letters aside as the Jet engine matched.
  bool HasTable(const QString& name) const;
  sqlite3* Handle() const { return db_; }  // owned by the connection; null until opened
  bool IsOpen() const { return db_ != nullptr; }
  // Distinct for every connection ever made; caches keyed by it never outlive their data.
  quint64 Serial() const { return serial_; }

 private:
  QString path_;
  sqlite3* db_ = nullptr;
  QStringList tables_;
  quint64 serial_;
};

extern std::shared_ptr<Connection> cnnCity;  // replaced by every OpenConnection
extern std::unique_ptr<ResultSet> rsResult;  // replaced by every ExecuteQuery; empty after a failure

// Opens the database at path (Jet 4.0 or SQLite, recognised by its first bytes) as a new
// cnnCity. On failure shows the failure box and returns false; cnnCity is then unopened.
bool OpenConnection(const QString& path);

// Runs one statement (SQL text, UTF-16) on cnnCity; its rows land in rsResult, positioned at
// the first row. On failure shows the failure box, leaves rsResult empty and returns false.
bool ExecuteQuery(const QString& sql);

// As ExecuteQuery, for a statement that reads table, a name that may come from the data (a
// feature type). Unless cnnCity has that table (Connection::HasTable), nothing runs: the
// failure is shown as for a rejected statement and rsResult is empty.
bool ExecuteQueryOnTable(const QString& table, const QString& sql);

// Runs one statement on db (owned by the caller) and returns all its rows; null with error set
// (a description, number kErrorStatementFailed) when the statement fails: SQLite rejects it,
// another statement follows it in sql, or it runs longer than kStatementTimeLimit
// (SqliteGuards.h). Shows nothing.
std::unique_ptr<ResultSet> RunStatement(sqlite3* db, const QString& sql, DbError& error);

}  // namespace modDBAccess
