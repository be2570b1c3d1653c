#include "data/TableCopy.h"

#include <QStringList>

#include "data/SqliteHandles.h"
#include "data/TextCollation.h"

namespace {

QString Quoted(QString name) { return '"' + name.replace('"', QStringLiteral("\"\"")) + '"'; }

QString ColumnText(sqlite3_stmt* statement, int column) {
  return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)));
}

bool Fail(sqlite3* db, QString& failure) {
  failure = QString::fromUtf8(sqlite3_errmsg(db));
  return false;
}

bool Run(sqlite3* db, const QString& sql, QString& failure) {
  return sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK ||
         Fail(db, failure);
}

struct SourceTable {
  QString name;
  QStringList columns;  // quoted names
  QStringList definitions;
};

bool ReadColumns(sqlite3* db, const QString& schema, SourceTable& table, QString& failure) {
  SqliteStatement info = Prepare(
      db, QStringLiteral("PRAGMA %1.table_info(%2)").arg(Quoted(schema), Quoted(table.name)).toUtf8());
  if (!info) return Fail(db, failure);
  int rc;
  while ((rc = sqlite3_step(info.get())) == SQLITE_ROW) {
    const QString column = Quoted(ColumnText(info.get(), 1));
    const QString type = ColumnText(info.get(), 2);
    table.columns << column;
    table.definitions << (type.isEmpty() ? column : column + ' ' + type) + QStringLiteral(" COLLATE ") +
                             QString::fromLatin1(kTextCollation);
  }
  return rc == SQLITE_DONE || Fail(db, failure);
}

bool CopyRows(sqlite3* db, const QString& schema, const SourceTable& table, QString& failure) {
  const QString insert = QStringLiteral("INSERT INTO main.%1 SELECT %2 FROM %3.%1")
                             .arg(Quoted(table.name), table.columns.join(u','), Quoted(schema));
  // Rowid order is the stored order; a table without rowid has none and is read as it lies.
  const QString ordered = insert + QStringLiteral(" ORDER BY _rowid_");
  if (sqlite3_exec(db, ordered.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK) return true;
  return Run(db, insert, failure);
}

}  // namespace

bool CopyTables(sqlite3* db, const QString& schema, QString& failure) {
  SqliteStatement list =
      Prepare(db, QStringLiteral("SELECT name FROM %1.sqlite_schema WHERE type = 'table' AND "
                                 "name NOT LIKE 'sqlite\\_%' ESCAPE '\\' AND "
                                 "sql NOT LIKE 'CREATE VIRTUAL%' ORDER BY rowid")
                      .arg(Quoted(schema))
                      .toUtf8());
  if (!list) return Fail(db, failure);
  std::vector<SourceTable> tables;
  int rc;
  while ((rc = sqlite3_step(list.get())) == SQLITE_ROW) tables.push_back({ColumnText(list.get(), 0), {}, {}});
  if (rc != SQLITE_DONE) return Fail(db, failure);
  list.reset();

  if (!Run(db, QStringLiteral("BEGIN"), failure)) return false;
  for (SourceTable& table : tables) {
    if (!ReadColumns(db, schema, table, failure)) return false;
    const QString create =
        QStringLiteral("CREATE TABLE main.%1 (%2)").arg(Quoted(table.name), table.definitions.join(", "));
    if (!Run(db, create, failure) || !CopyRows(db, schema, table, failure)) return false;
  }
  return Run(db, QStringLiteral("COMMIT"), failure);
}
