#pragma once
// The program's one connection to the city database and its one current result set.
// Failures are shown in a box "错误描述：…\r\n错误代码：…" titled "打开数据库错误" and reported
// as false. The data set is never written.
#include <QString>
#include <memory>

#include "data/ResultSet.h"

struct sqlite3;

namespace modDBAccess {

// An open database: a Jet 4.0 file read through mdbtools, or an SQLite file, copied into an
// in-memory SQLite database that carries the program's text collation.
class Connection {
 public:
  explicit Connection(QString path);
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  const QString& Path() const { return path_; }
  sqlite3* Handle() const { return db_; }
  bool IsOpen() const { return db_ != nullptr; }
  // Distinct for every connection ever made; caches keyed by it never outlive their data.
  quint64 Serial() const { return serial_; }

 private:
  friend bool OpenConnection(const QString& path);
  QString path_;
  sqlite3* db_ = nullptr;
  quint64 serial_;
};

extern std::shared_ptr<Connection> cnnCity;   // replaced by every OpenConnection
extern std::unique_ptr<ResultSet> rsResult;   // replaced by every ExecuteQuery; empty after a failure

// Opens the database at path (Jet 4.0 or SQLite, recognised by its first bytes).
bool OpenConnection(const QString& path);

// Runs one statement on cnnCity; its rows land in rsResult, positioned at the first row.
bool ExecuteQuery(const QString& sql);

}  // namespace modDBAccess
