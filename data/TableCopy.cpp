#include "data/TableCopy.h"

#include <QStringList>
#include <vector>

#include "data/SqliteHandles.h"
#include "data/SqliteStep.h"
#include "data/TextCollation.h"

namespace {

QString Quoted(QString name) { return '"' + name.replace('"', QStringLiteral("\"\"")) + '"'; }

QString ColumnText(sqlite3_stmt* statement, int column) {
  return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)),
                           sqlite3_column_bytes(statement, column));
}

bool Fail(sqlite3* db, QString& failure) {
  failure = QString::fromUtf8(sqlite3_errmsg(db));
  return false;
}

bool Run(sqlite3* db, const QString& sql, QString& failure) {
  return RunOneStatement(db, sql.toUtf8().toStdString()) == SQLITE_OK || Fail(db, failure);
}

struct SourceTable {
  QString name;
  QStringList columns;  // quoted names
  QStringList definitions;
};

bool ReadColumns(sqlite3* source, SourceTable& table, QString& failure) {
  SqliteStatement info =
      Prepare(source, ("PRAGMA main.table_info(" + Quoted(table.name) + ')').toStdString());
  if (!info) return Fail(source, failure);
  int rc;
  while ((rc = sqlite3_step(info.get())) == SQLITE_ROW) {
    const QString column = Quoted(ColumnText(info.get(), 1));
    table.columns << column;
    table.definitions << column + ' ' + AffinityOf(ColumnText(info.get(), 2)) + " COLLATE " + kTextCollation;
  }
  return rc == SQLITE_DONE || Fail(source, failure);
}

// Every row of the table from source into target. Without an index the scan follows the
// table's own b-tree: rowid order, or key order for a table without rowid.
bool CopyRows(sqlite3* source, sqlite3* target, const SourceTable& table, QString& failure) {
  SqliteStatement select = Prepare(
      source, ("SELECT " + table.columns.join(u',') + " FROM main." + Quoted(table.name) + " NOT INDEXED")
                  .toStdString());
  if (!select) return Fail(source, failure);
  const QStringList parameters(table.columns.size(), QStringLiteral("?"));
  SqliteStatement insert = Prepare(
      target,
      ("INSERT INTO main." + Quoted(table.name) + " VALUES (" + parameters.join(u',') + ')').toStdString());
  if (!insert) return Fail(target, failure);
  const int count = int(table.columns.size());
  int rc;
  while ((rc = sqlite3_step(select.get())) == SQLITE_ROW) {
    for (int i = 0; i < count; ++i)
      sqlite3_bind_value(insert.get(), i + 1, sqlite3_column_value(select.get(), i));
    if (sqlite3_step(insert.get()) != SQLITE_DONE) return Fail(target, failure);
    sqlite3_reset(insert.get());
  }
  return rc == SQLITE_DONE || Fail(source, failure);
}

bool Contains(const QString& type, const char* part) {
  return type.contains(QLatin1String(part), Qt::CaseInsensitive);
}

}  // namespace

const char* AffinityOf(const QString& declaredType) {
  // SQLite ignores the case of ASCII letters only; Qt's comparison would also take the dotless
  // i or the long s for Latin letters, so anything beyond ASCII is set aside first.
  QString type = declaredType;
  for (QChar& c : type)
    if (c.unicode() >= 0x80) c = u' ';
  if (Contains(type, "INT")) return "INTEGER";
  if (Contains(type, "CHAR") || Contains(type, "CLOB") || Contains(type, "TEXT")) return "TEXT";
  if (Contains(type, "BLOB") || type.isEmpty()) return "BLOB";
  if (Contains(type, "REAL") || Contains(type, "FLOA") || Contains(type, "DOUB")) return "REAL";
  return "NUMERIC";
}

bool CopyTables(sqlite3* source, sqlite3* target, QString& failure) {
  SqliteStatement list = Prepare(source,
                                 "SELECT name FROM main.sqlite_schema WHERE type = 'table' AND "
                                 "name NOT LIKE 'sqlite\\_%' ESCAPE '\\' AND "
                                 "sql NOT LIKE 'CREATE VIRTUAL%' ORDER BY rowid");
  if (!list) return Fail(source, failure);
  std::vector<SourceTable> tables;
  int rc;
  while ((rc = sqlite3_step(list.get())) == SQLITE_ROW) tables.push_back({ColumnText(list.get(), 0), {}, {}});
  if (rc != SQLITE_DONE) return Fail(source, failure);
  list.reset();

  if (!Run(target, QStringLiteral("BEGIN"), failure)) return false;
  for (SourceTable& table : tables) {
    if (!ReadColumns(source, table, failure)) return false;
    const QString create =
        "CREATE TABLE main." + Quoted(table.name) + " (" + table.definitions.join(", ") + ')';
    if (!Run(target, create, failure) || !CopyRows(source, target, table, failure)) return false;
  }
  return Run(target, QStringLiteral("COMMIT"), failure);
}
