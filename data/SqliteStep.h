#pragma once
// Running one statement the program composed itself (no Qt: the Jet reader uses it too).
#include <sqlite3.h>

#include <string_view>

// Prepares sql as exactly one statement and runs it to its end: text left over after the
// statement is refused (SQLITE_MISUSE) rather than run, unlike sqlite3_exec. Returns SQLITE_OK
// when the statement ran, else an SQLite error code with the message on db.
inline int RunOneStatement(sqlite3* db, std::string_view sql) {
  sqlite3_stmt* statement = nullptr;
  const char* tail = nullptr;
  int rc = sqlite3_prepare_v2(db, sql.data(), int(sql.size()), &statement, &tail);
  if (rc == SQLITE_OK && (statement == nullptr || tail != sql.data() + sql.size())) rc = SQLITE_MISUSE;
  if (rc == SQLITE_OK) rc = sqlite3_step(statement);
  sqlite3_finalize(statement);
  return rc == SQLITE_DONE ? SQLITE_OK : rc;
}
