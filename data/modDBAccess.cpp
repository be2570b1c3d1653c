#include "data/modDBAccess.h"

#include <atomic>

#include "data/DatabaseLoader.h"
#include "data/SqliteHandles.h"
#include "kit/Messages.h"

namespace modDBAccess {

std::shared_ptr<Connection> cnnCity;
std::unique_ptr<ResultSet> rsResult;

namespace {

quint64 NextSerial() {
  static std::atomic<quint64> serial{0};
  return ++serial;
}

void ShowFailure(const DbError& error) {
  qiwu::MsgBox(FailureBoxText(error), qiwu::MsgIcon::Critical, QStringLiteral("打开数据库错误"));
}

QVariant ColumnValue(sqlite3_stmt* statement, int column) {
  switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER:
      return QVariant(qlonglong(sqlite3_column_int64(statement, column)));
    case SQLITE_FLOAT:
      return QVariant(sqlite3_column_double(statement, column));
    case SQLITE_TEXT:
      return QVariant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)),
                                        sqlite3_column_bytes(statement, column)));
    case SQLITE_BLOB:
      return QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(statement, column)),
                                 sqlite3_column_bytes(statement, column)));
    default:
      return QVariant();
  }
}

}  // namespace

Connection::Connection(QString path) : path_(std::move(path)), serial_(NextSerial()) {}

Connection::~Connection() { sqlite3_close_v2(db_); }

bool Connection::Open(DbError& error) {
  sqlite3_close_v2(db_);
  db_ = LoadDatabase(path_, error);
  return db_ != nullptr;
}

std::unique_ptr<ResultSet> RunStatement(sqlite3* db, const QString& sql, DbError& error) {
  const auto fail = [&] {
    // A text holding no statement at all (blank, only a comment) prepares to nothing.
    const QString reason = sqlite3_errcode(db) == SQLITE_OK ? QStringLiteral("语句为空。")
                                                            : QString::fromUtf8(sqlite3_errmsg(db));
    error = DbError{reason, kErrorStatementFailed};
    return nullptr;
  };
  SqliteStatement statement = Prepare(db, sql.toUtf8());
  if (!statement) return fail();
  QStringList columns;
  const int count = sqlite3_column_count(statement.get());
  for (int i = 0; i < count; ++i) columns << QString::fromUtf8(sqlite3_column_name(statement.get(), i));
  std::vector<std::vector<QVariant>> rows;
  int rc;
  while ((rc = sqlite3_step(statement.get())) == SQLITE_ROW) {
    std::vector<QVariant>& row = rows.emplace_back();
    row.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i) row.push_back(ColumnValue(statement.get(), i));
  }
  if (rc != SQLITE_DONE) return fail();
  return std::make_unique<ResultSet>(std::move(columns), std::move(rows));
}

bool OpenConnection(const QString& path) {
  cnnCity = std::make_shared<Connection>(path);
  DbError error;
  if (cnnCity->Open(error)) return true;
  ShowFailure(error);
  return false;
}

bool ExecuteQuery(const QString& sql) {
  rsResult.reset();
  DbError error{QStringLiteral("数据库没有打开。"), kErrorOpenFailed};
  if (cnnCity && cnnCity->IsOpen()) rsResult = RunStatement(cnnCity->Handle(), sql, error);
  if (rsResult) return true;
  ShowFailure(error);
  return false;
}

}  // namespace modDBAccess
