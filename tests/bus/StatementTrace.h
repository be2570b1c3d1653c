#pragma once
// Records the statements SQLite runs on the current connection while alive.
#include <sqlite3.h>

#include <QStringList>

#include "data/modDBAccess.h"

class StatementTrace {
 public:
  StatementTrace() : db_(modDBAccess::cnnCity->Handle()) {
    sqlite3_trace_v2(db_, SQLITE_TRACE_STMT, &Record, this);
  }
  ~StatementTrace() { sqlite3_trace_v2(db_, 0, nullptr, nullptr); }
  StatementTrace(const StatementTrace&) = delete;
  StatementTrace& operator=(const StatementTrace&) = delete;

  const QStringList& Statements() const { return statements_; }

 private:
  static int Record(unsigned, void* self, void*, void* sql) {
    static_cast<StatementTrace*>(self)->statements_ << QString::fromUtf8(static_cast<const char*>(sql));
    return 0;
  }
  sqlite3* db_;
  QStringList statements_;
};
