#include "data/SqliteGuards.h"

#include <sqlite3.h>

namespace {

int ReadOnlyAuthorizer(void*, int action, const char* first, const char* second, const char*, const char*) {
  switch (action) {
    case SQLITE_SELECT:
    case SQLITE_READ:
    case SQLITE_RECURSIVE:
      return SQLITE_OK;
    case SQLITE_FUNCTION:
      return sqlite3_stricmp(second, "load_extension") == 0 ? SQLITE_DENY : SQLITE_OK;
    case SQLITE_PRAGMA:
      return sqlite3_stricmp(first, "table_info") == 0 ? SQLITE_OK : SQLITE_DENY;
    default:
      return SQLITE_DENY;
  }
}

// SQLite calls this every kProgressSteps virtual-machine steps, a few microseconds apart.
constexpr int kProgressSteps = 1000;

int StopWhenPassed(void* deadline) {
  return static_cast<const StatementDeadline*>(deadline)->Passed() ? 1 : 0;
}

}  // namespace

void AllowReadingOnly(sqlite3* db) { sqlite3_set_authorizer(db, &ReadOnlyAuthorizer, nullptr); }

StatementDeadline::StatementDeadline(sqlite3* db, std::chrono::milliseconds limit)
    : db_(db), end_(std::chrono::steady_clock::now() + limit) {
  sqlite3_progress_handler(db_, kProgressSteps, &StopWhenPassed, this);
}

StatementDeadline::~StatementDeadline() { sqlite3_progress_handler(db_, 0, nullptr, nullptr); }
