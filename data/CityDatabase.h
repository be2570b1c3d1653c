#pragma once
// The database of one city as the program sees it: a file opened, a statement in, its rows out, a
// failure as a number and a text. Behind it lies an in-memory SQLite copy of the file
// (DatabaseLoader.h), or, for a path ending in ".pg", a PostgreSQL server (ServerDatabase.h). The main window
// and qiwu-cli each own one for their lifetime; the data set is never written.
#include <QString>
#include <QStringList>
#include <memory>
#include <typeindex>
#include <unordered_map>

#include "data/ResultSet.h"
#include "kit/Outcome.h"

struct sqlite3;
class ServerDatabase;

class CityDatabase {
 public:
  CityDatabase();
  ~CityDatabase();
  CityDatabase(const CityDatabase&) = delete;
  CityDatabase& operator=(const CityDatabase&) = delete;

  // Opens the file at path (Jet 4.0 or SQLite, recognised by its first bytes; a .pg file names a
  // server, ServerCity.h) in place of the
  // database open so far, whose rows and derived data are dropped. On failure nothing is open
  // and error holds the reason (number kErrorOpenFailed); nothing is shown.
  bool Open(const QString& path, Outcome& error);
  bool IsOpen() const { return db_ != nullptr || server_ != nullptr; }
  const QString& Path() const { return path_; }  // of the last Open, whether it succeeded or not

  // True when name, placed unquoted in a statement, means one of the database's tables: a plain
  // name (TableName.h) of a table, the case of Latin letters aside as the Jet engine matched.
  bool HasTable(const QString& name) const;

  // Runs one statement (SQL text, UTF-16) and returns all its rows; null with error set (number
  // kErrorStatementFailed, or kErrorOpenFailed while nothing is open) when it fails. Shows nothing.
  std::unique_ptr<ResultSet> Query(const QString& sql, Outcome& error) const;

  // The SQLite engine behind a file city, for the publisher, which copies its tables value for
  // value, and for tests; the program's readers go through Query. Owned by this object; null
  // while nothing is open and for a server city.
  sqlite3* Handle() const { return db_; }

  // The connection string of an open server city for GDAL (its workspaces' layers lie on the same
  // server), rebuilt from the checked .pg file; empty for a file.
  QString ServerConnection() const;
  // True once the server of an open server city stopped answering and its connection was given up:
  // every statement fails from then on.
  bool ConnectionLost() const;

  // What a module reads from the open database once and keeps (the bus table, the indexes made
  // from it): one T per database, made on first use, dropped by the next Open, so it never
  // outlives the data it was read from. A cache: reading a const database may fill it.
  template <class T>
  T& Derived() const {
    std::shared_ptr<void>& slot = derived_[std::type_index(typeid(T))];
    if (!slot) slot = std::make_shared<T>();
    return *static_cast<T*>(slot.get());
  }

  // The rows of the last modDBAccess::ExecuteQuery on this database (modDBAccess::rsResult): null
  // before the first and after a failed one. Shared, so a reader that holds them keeps them when
  // the next query replaces them.
  std::shared_ptr<ResultSet> currentResult;

 private:
  void Close();

  QString path_;
  sqlite3* db_ = nullptr;
  std::unique_ptr<ServerDatabase> server_;
  QStringList tables_;
  mutable std::unordered_map<std::type_index, std::shared_ptr<void>> derived_;
};
