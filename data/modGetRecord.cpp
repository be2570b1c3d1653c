#include "data/modGetRecord.h"

#include "data/modDBAccess.h"
#include "kit/Messages.h"

namespace modGetRecord {

namespace {

// Runs the statement; after a failure (already reported by ExecuteQuery) adds the second box.
bool Run(const QString& sql) {
  if (modDBAccess::ExecuteQuery(sql)) return true;
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

void Fill(const QString& sql, const QString& field, ItemList& target, bool numbered) {
  if (!Run(sql)) return;
  // Clearing or filling a list runs its change handlers at once, and a handler may issue a
  // query of its own; the rows being added must survive that, so hold them here meanwhile.
  std::unique_ptr<ResultSet> rows = std::move(modDBAccess::rsResult);
  target.Clear();
  AddRows(*rows, field, target, numbered);
  if (!modDBAccess::rsResult) modDBAccess::rsResult = std::move(rows);
}

}  // namespace

void FillList(const QString& table, const QString& field, ItemList& target, const QString& condition,
              const QString& order, bool distinct, bool numbered) {
  Fill(FillListStatement(table, field, condition, order, distinct), field, target, numbered);
}

void FillListByKeyword(const QString& field, const QString& keyword, ItemList& target) {
  Fill(KeywordStatement(field, keyword), field, target, false);
}

QString GetFieldValue(const QString& table, const QString& field, const QString& condition) {
  if (!Run(FieldValueStatement(table, field, condition))) return QString();
  const std::optional<QVariant> value = modDBAccess::rsResult->Field(field);
  return value && !value->isNull() ? value->toString() : QString();
}

}  // namespace modGetRecord
