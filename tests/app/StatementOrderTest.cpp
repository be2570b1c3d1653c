// The statements the window sends to the city database at start-up and at a city switch, in the
// order they reach the engine.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QComboBox>
#include <QStringList>
#include <mutex>
#include <vector>

#include "data/CityDatabase.h"
#include "data/Statements.h"
#include "data/modDBAccess.h"
#include "data/modGetRecord.h"
#include "tests/app/WindowFixture.h"

namespace {

struct Sent {
  sqlite3* db;
  QString sql;
};

struct Trace {
  std::mutex mutex;
  std::vector<Sent> sent;
};

Trace& StatementLog() {
  static Trace trace;
  return trace;
}

// The statements run on the current city database since it was last opened (which ends by
// reading its table list), oldest first; forgets every statement recorded so far. The handle
// alone cannot tell: the engine reuses the memory of a closed connection for the next one.
QStringList TakeCityStatements() {
  Trace& trace = StatementLog();
  const std::lock_guard lock(trace.mutex);
  QStringList sent;
  for (const Sent& statement : trace.sent) {
    if (statement.db != modDBAccess::cnnCity->Handle()) continue;
    if (statement.sql.contains(QStringLiteral("sqlite_schema")))
      sent.clear();
    else
      sent << statement.sql;
  }
  trace.sent.clear();
  return sent;
}

}  // namespace

// Every statement this program prepares passes here on its way to the SQLite library (the test
// program's own definition comes first in the link order, so the library's callers reach it; the
// engine's auto-extension list cannot serve, since GDAL empties it as it opens its files).
extern "C" int sqlite3_prepare_v2(sqlite3* db, const char* sql, int bytes, sqlite3_stmt** statement,
                                  const char** tail) {
  using Prepare = int (*)(sqlite3*, const char*, int, sqlite3_stmt**, const char**);
  static const auto next = reinterpret_cast<Prepare>(dlsym(RTLD_NEXT, "sqlite3_prepare_v2"));
  const int rc = next(db, sql, bytes, statement, tail);
  if (rc == SQLITE_OK && *statement) {
    Trace& trace = StatementLog();
    const std::lock_guard lock(trace.mutex);
    trace.sent.push_back({db, QString::fromUtf8(sqlite3_sql(*statement))});
  }
  return rc;
}

namespace {

QString Text(const ListStatement& s) {
  return modGetRecord::FillListStatement(s.table, s.field, s.condition, s.order, s.distinct);
}

// The selectors' fills as the window has always sent them: the type list, the bus panel's
// line mode, the line list, then the two point-type lists; choosing the first entry of a type
// list lists the features of firstType, cmbType(0)'s first entry, whichever list was chosen.
QStringList SelectorFills(const QString& firstType) {
  const QString features = Text(statements::NamesOfType(firstType));
  return {Text(statements::TypeNames()),      features,
          Text(statements::LineNames()),      Text(statements::LineNames()),
          Text(statements::PointTypeNames()), features,
          Text(statements::PointTypeNames()), features};
}

QString FirstType(const frmMain& window) {
  const auto* types = window.findChild<QComboBox*>(QStringLiteral("cmbType0"));
  return types && types->count() > 0 ? types->itemText(0) : QString();
}

}  // namespace

TEST(StatementOrder, StartUpAndCitySwitchFillTheSelectorsInTheirOrder) {
  TakeCityStatements();
  apptest::StartedWindow started;
  ASSERT_TRUE(started.messages.Messages().empty());
  const QString firstType = FirstType(started.window);
  ASSERT_FALSE(firstType.isEmpty());
  EXPECT_EQ(TakeCityStatements(), SelectorFills(firstType));

  started.window.cmbCity_Click();
  EXPECT_TRUE(started.messages.Messages().empty());
  EXPECT_EQ(TakeCityStatements(), SelectorFills(firstType));
}
