#pragma once
// Query builders: one statement each, built by concatenation, run through ExecuteQuery.
#include <QString>

// What FillList and FillListByKeyword fill: a list box or a combo box behind a small interface,
// so the builders are tested without a window.
class ItemList {
 public:
  virtual ~ItemList() = default;
  virtual void Clear() = 0;  // a combo box loses its list and its text
  virtual void AddItem(const QString& item) = 0;
};

namespace modGetRecord {

// A value as it stands between single quotes in a statement: apostrophes doubled, nothing
// else changed, so plain values give the statement texts unchanged.
QString SqlText(const QString& value);

QString FillListStatement(const QString& table, const QString& field, const QString& condition,
                          const QString& order, bool distinct);
QString KeywordStatement(const QString& field, const QString& keyword);
QString FieldValueStatement(const QString& table, const QString& field, const QString& condition);

void FillList(const QString& table, const QString& field, ItemList& target, const QString& condition,
              const QString& order, bool distinct, bool numbered);
void FillListByKeyword(const QString& field, const QString& keyword, ItemList& target);
QString GetFieldValue(const QString& table, const QString& field, const QString& condition);

}  // namespace modGetRecord
