#pragma once
// Owning handles for SQLite objects (no Qt: the Jet reader and the city generator use them too).
#include <sqlite3.h>

#include <memory>
#include <string_view>

struct SqliteCloser {
  void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct StatementFinalizer {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using SqliteDb = std::unique_ptr<sqlite3, SqliteCloser>;
using SqliteStatement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// Prepares the first statement of sql (UTF-8) on db; null with db's error message set on failure.
inline SqliteStatement Prepare(sqlite3* db, std::string_view sql) {
  sqlite3_stmt* statement = nullptr;
  sqlite3_prepare_v2(db, sql.data(), int(sql.size()), &statement, nullptr);
  return SqliteStatement(statement);
}
