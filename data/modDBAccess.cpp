#include "data/modDBAccess.h"

#include "kit/Messages.h"

namespace modDBAccess {

CityDatabase* cnnCity = nullptr;

namespace {

void ShowFailure(const DbError& error) {
  qiwu::MsgBox(FailureBoxText(error), qiwu::MsgIcon::Critical, QStringLiteral("打开数据库错误"));
}

DbError NoDatabase() { return {QStringLiteral("没有城市数据库。"), kErrorOpenFailed}; }

}  // namespace

ResultSet* rsResult() { return cnnCity ? cnnCity->currentResult.get() : nullptr; }

bool OpenConnection(const QString& path) {
  DbError error = NoDatabase();
  if (cnnCity && cnnCity->Open(path, error)) return true;
  ShowFailure(error);
  return false;
}

bool ExecuteQueryOnTable(const QString& table, const QString& sql) {
  if (cnnCity && cnnCity->IsOpen() && !cnnCity->HasTable(table)) {
    cnnCity->currentResult.reset();
    ShowFailure(DbError{QStringLiteral("数据库中没有名为“%1”的表。").arg(table), kErrorStatementFailed});
    return false;
  }
  return ExecuteQuery(sql);
}

bool ExecuteQuery(const QString& sql) {
  if (!cnnCity) {
    ShowFailure(NoDatabase());
    return false;
  }
  cnnCity->currentResult.reset();
  DbError error;
  cnnCity->currentResult = cnnCity->Query(sql, error);
  if (cnnCity->currentResult) return true;
  ShowFailure(error);
  return false;
}

}  // namespace modDBAccess
