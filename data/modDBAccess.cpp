#include "data/modDBAccess.h"

#include "kit/Messages.h"

namespace modDBAccess {

CityDatabase* cnnCity = nullptr;

namespace {

void ShowFailure(const Outcome& error) {
  qiwu::MsgBox(FailureBoxText(error), qiwu::MsgIcon::Critical, QStringLiteral("打开数据库错误"));
}

Outcome NoDatabase() { return Outcome::Failure(kErrorOpenFailed, QStringLiteral("没有城市数据库。")); }

}  // namespace

ResultSet* rsResult() { return cnnCity ? cnnCity->currentResult.get() : nullptr; }

bool OpenConnection(const QString& path) {
  Outcome error = NoDatabase();
  if (cnnCity && cnnCity->Open(path, error)) return true;
  ShowFailure(error);
  return false;
}

bool ExecuteQuery(CityDatabase& database, const QString& sql) {
  database.currentResult.reset();
  Outcome error;
  database.currentResult = database.Query(sql, error);
  if (database.currentResult) return true;
  ShowFailure(error);
  return false;
}

bool ExecuteQueryOnTable(CityDatabase& database, const QString& table, const QString& sql) {
  if (database.IsOpen() && !database.HasTable(table)) {
    database.currentResult.reset();
    ShowFailure(
        Outcome::Failure(kErrorStatementFailed, QStringLiteral("数据库中没有名为“%1”的表。").arg(table)));
    return false;
  }
  return ExecuteQuery(database, sql);
}

bool ExecuteQuery(const QString& sql) {
  if (cnnCity) return ExecuteQuery(*cnnCity, sql);
  ShowFailure(NoDatabase());
  return false;
}

bool ExecuteQueryOnTable(const QString& table, const QString& sql) {
  if (cnnCity) return ExecuteQueryOnTable(*cnnCity, table, sql);
  ShowFailure(NoDatabase());
  return false;
}

}  // namespace modDBAccess
