#include "tests/support/DatabaseColumn.h"

#include <sqlite3.h>

QSet<QString> DatabaseColumn(const QString& path, const QString& sql, const QString& parameter) {
  QSet<QString> values;
  sqlite3* db = nullptr;
  sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* statement = nullptr;
  const QByteArray text = sql.toUtf8(), bound = parameter.toUtf8();
  if (sqlite3_prepare_v2(db, text.constData(), -1, &statement, nullptr) == SQLITE_OK) {
    if (sqlite3_bind_parameter_count(statement) > 0)
      sqlite3_bind_text(statement, 1, bound.constData(), -1, SQLITE_TRANSIENT);
    while (sqlite3_step(statement) == SQLITE_ROW)
      values.insert(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0))));
  }
  sqlite3_finalize(statement);
  sqlite3_close(db);
  return values;
}
