#pragma once
// What every SQLite connection to a city's data carries: permission to read only, and a bound
// on the time a statement may run. A data set is untrusted input; its names and texts end up
// in statements, so these hold whatever a statement says.
#include <chrono>

struct sqlite3;

// Installs an authorizer on db that allows reading only: SELECT (recursive ones included),
// reading columns, functions other than load_extension, and PRAGMA table_info. Everything else
// fails with "not authorized": ATTACH, DETACH, writes, schema changes, transactions, other
// pragmas, VACUUM and VACUUM INTO (the last only when it steps, before it creates a file).
void AllowReadingOnly(sqlite3* db);

// The longest one statement of the program may run (docs/city-database.md).
inline constexpr std::chrono::milliseconds kStatementTimeLimit{2000};
// The longest copying a city database into memory may take: as long as the Jet reader may.
inline constexpr std::chrono::milliseconds kLoadTimeLimit{30000};

// While alive, interrupts whatever statement runs on db once limit has passed since it was
// made: the statement then fails with SQLITE_INTERRUPT. One at a time per connection.
class StatementDeadline {
 public:
  StatementDeadline(sqlite3* db, std::chrono::milliseconds limit);
  ~StatementDeadline();
  StatementDeadline(const StatementDeadline&) = delete;
  StatementDeadline& operator=(const StatementDeadline&) = delete;

  bool Passed() const { return std::chrono::steady_clock::now() >= end_; }

 private:
  sqlite3* db_;
  std::chrono::steady_clock::time_point end_;
};
