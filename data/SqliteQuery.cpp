#include "data/SqliteQuery.h"

#include "data/SqliteGuards.h"
#include "data/SqliteHandles.h"

namespace {

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

std::unique_ptr<ResultSet> RunStatement(sqlite3* db, const QString& sql, Outcome& error) {
  const auto fail = [&](const QString& reason) {
    error = Outcome::Failure(kErrorStatementFailed, reason);
    return nullptr;
  };
  const auto sqliteFailure = [&] {
    const QString message = QString::fromUtf8(sqlite3_errmsg(db));
    switch (sqlite3_errcode(db)) {
      case SQLITE_OK:  // a text holding no statement at all (blank, only a comment)
        return fail(QStringLiteral("语句为空。"));
      case SQLITE_AUTH:
        return fail(QStringLiteral("只能运行读取数据的语句（%1）。").arg(message));
      default:
        return fail(message);
    }
  };
  const QByteArray text = sql.toUtf8();
  const char* tail = nullptr;
  sqlite3_stmt* raw = nullptr;
  sqlite3_prepare_v2(db, text.constData(), int(text.size()), &raw, &tail);
  SqliteStatement statement(raw);
  if (!statement) return sqliteFailure();
  // Blanks, comments and semicolons may follow the statement; a second statement may not.
  const qsizetype used = tail - text.constData();
  if (Prepare(db, std::string_view(text.constData(), std::size_t(text.size())).substr(std::size_t(used))) ||
      sqlite3_errcode(db) != SQLITE_OK)
    return fail(QStringLiteral("语句之后还有别的语句；一次只能运行一条语句。"));

  QStringList columns;
  const int count = sqlite3_column_count(statement.get());
  for (int i = 0; i < count; ++i) columns << QString::fromUtf8(sqlite3_column_name(statement.get(), i));
  std::vector<std::vector<QVariant>> rows;
  const StatementDeadline deadline(db, kStatementTimeLimit);
  int rc;
  while ((rc = sqlite3_step(statement.get())) == SQLITE_ROW) {
    std::vector<QVariant>& row = rows.emplace_back();
    row.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i) row.push_back(ColumnValue(statement.get(), i));
  }
  if (rc == SQLITE_INTERRUPT && deadline.Passed())
    return fail(QStringLiteral("语句运行超过 %1 秒，已被中止。").arg(kStatementTimeLimit.count() / 1000.0));
  if (rc != SQLITE_DONE) return sqliteFailure();
  return std::make_unique<ResultSet>(std::move(columns), std::move(rows));
}
