#include "data/modGetRecord.h"

#include "data/modDBAccess.h"
#include "kit/Messages.h"

namespace modGetRecord {

namespace {

// Passes on whether the statement ran; after a failure (already reported by ExecuteQuery) adds
// the second box.
bool Reported(bool ran) {
  if (ran) return true;
  qiwu::MsgBox(QStringLiteral("运行时错误..."), qiwu::MsgIcon::Critical, QStringLiteral("运行错误"));
  return false;
}

// Adds the value of field of every row to target. A row whose value is missing or null adds
// no item; numbered, a null value still gives the number and the blank, as "03 ".
void AddRows(ResultSet& rows, const QString& field, ItemList& target, bool numbered) {
  if (rows.AtEnd() && rows.AtStart()) return;
  rows.MoveFirst();
  for (int number = 1; !rows.AtEnd(); ++number, rows.MoveNext()) {
    const std::optional<QVariant> value = rows.Field(field);
    if (!value) continue;
    if (numbered) {
      target.AddItem(QStringLiteral("%1 ").arg(number, 2, 10, QLatin1Char('0')) + value->toString());
    } else if (!value->isNull()) {
      target.AddItem(value->toString());
    }
  }
}

void Fill(CityDatabase& database, bool ran, const QString& field, ItemList& target, bool numbered) {
  if (!Reported(ran)) return;
  // Clearing or filling a list runs its change handlers at once, and a handler may query in
  // turn; holding the rows keeps them while its query replaces the current result.
  const std::shared_ptr<ResultSet> rows = database.currentResult;
  target.Clear();
  AddRows(*rows, field, target, numbered);
}

}  // namespace

void ReportNoCurrentCity() { Reported(modDBAccess::ExecuteQuery(QString())); }

void FillList(CityDatabase& database, const QString& table, const QString& field, ItemList& target,
              const QString& condition, const QString& order, bool distinct, bool numbered) {
  // Table names come from callers and from the data (the feature types): checked before use.
  Fill(database,
       modDBAccess::ExecuteQueryOnTable(database, table,
                                        FillListStatement(table, field, condition, order, distinct)),
       field, target, numbered);
}

void FillList(const QString& table, const QString& field, ItemList& target, const QString& condition,
              const QString& order, bool distinct, bool numbered) {
  if (CityDatabase* current = modDBAccess::cnnCity) {
    FillList(*current, table, field, target, condition, order, distinct, numbered);
  } else {
    ReportNoCurrentCity();
  }
}

void FillList(CityDatabase& database, const ListStatement& list, ItemList& target, bool numbered) {
  FillList(database, list.table, list.field, target, list.condition, list.order, list.distinct, numbered);
}

void FillList(const ListStatement& list, ItemList& target, bool numbered) {
  FillList(list.table, list.field, target, list.condition, list.order, list.distinct, numbered);
}

void FillListByKeyword(CityDatabase& database, const QString& field, const QString& keyword,
                       ItemList& target) {
  Fill(database, modDBAccess::ExecuteQuery(database, KeywordStatement(field, keyword)), field, target, false);
}

void FillListByKeyword(const QString& field, const QString& keyword, ItemList& target) {
  if (CityDatabase* current = modDBAccess::cnnCity) {
    FillListByKeyword(*current, field, keyword, target);
  } else {
    ReportNoCurrentCity();
  }
}

QString GetFieldValue(CityDatabase& database, const QString& table, const QString& field,
                      const QString& condition) {
  if (!Reported(
          modDBAccess::ExecuteQueryOnTable(database, table, FieldValueStatement(table, field, condition))))
    return QString();
  const std::optional<QVariant> value = database.currentResult->Field(field);
  return value && !value->isNull() ? value->toString() : QString();
}

QString GetFieldValue(const QString& table, const QString& field, const QString& condition) {
  if (CityDatabase* current = modDBAccess::cnnCity) return GetFieldValue(*current, table, field, condition);
  ReportNoCurrentCity();
  return QString();
}

}  // namespace modGetRecord
