#pragma once
// Query builders: one statement each, built by concatenation, run through ExecuteQuery; the
// rows go into a list control (ItemList) or come back as one text.
#include <QString>

#include "data/CityDatabase.h"
#include "data/Statements.h"
#include "kit/ItemList.h"

namespace modGetRecord {

// A value as it stands between single quotes in a statement: apostrophes doubled, nothing
// else changed, so plain values give the statement texts unchanged ("Tony's" -> "Tony''s").
// A value holding a NUL character, which would end the statement's text, is joined in as
// ' || cast(x'<UTF-8 hex>' as text) || '.
// Callers that build a where clause with a value put the value through this.
QString SqlText(const QString& value);

// "select " + ("Distinct" or "") + " " + list + " from " + table + " " + condition + order part,
// where list is field + " , " + order and the order part " order by " + order when order is not
// empty, and list is field alone otherwise. condition is a where clause with its leading blank.
QString FillListStatement(const QString& table, const QString& field, const QString& condition,
                          const QString& order, bool distinct);

// The union over the eight keyword tables (大中专院校, 餐饮娱乐, 旅游景点, 医院诊所, 金融银行,
// 主干道, 次干道, 支路) of "select F from T where F like '%K%' ", ordered by F. Apostrophes in
// the keyword are doubled; a keyword holding % or _ has them escaped with '\' and every part
// gains " escape '\'" so they match literally.
QString KeywordStatement(const QString& field, const QString& keyword);

// "select " + field + " from " + table + condition (no blank added before condition).
QString FieldValueStatement(const QString& table, const QString& field, const QString& condition);

// The readers below run on the database given; their forms without one run on the current
// database (modDBAccess::cnnCity) and, while none is current, show the two boxes of a failed
// statement and change nothing: those of ReportNoCurrentCity.
void ReportNoCurrentCity();

// Fills target with the values of field from the statement FillListStatement builds. In
// numbered mode each item is the row's running number with at least two digits, a blank and
// the value ("01 甲", …, "100 乙"). A failed statement shows "运行时错误..." (title "运行错误")
// after ExecuteQuery's own box and leaves target as it was; otherwise target is cleared first.
// A table that is not one of the database's fails that way without running anything
// (modDBAccess::ExecuteQueryOnTable).
// A null value adds no item (numbered: the number and blank alone).
void FillList(CityDatabase& database, const QString& table, const QString& field, ItemList& target,
              const QString& condition, const QString& order, bool distinct, bool numbered);
void FillList(const QString& table, const QString& field, ItemList& target, const QString& condition,
              const QString& order, bool distinct, bool numbered);
// The same with the statement named (data/Statements.h).
void FillList(CityDatabase& database, const ListStatement& list, ItemList& target, bool numbered);
void FillList(const ListStatement& list, ItemList& target, bool numbered);

// Fills target with the names from KeywordStatement, as FillList does (never numbered).
void FillListByKeyword(CityDatabase& database, const QString& field, const QString& keyword,
                       ItemList& target);
void FillListByKeyword(const QString& field, const QString& keyword, ItemList& target);

// The value of field in the first row of FieldValueStatement's rows, as text; empty when there
// is no row, the value is null or the column is missing, and after a failed statement or an
// unknown table (which show the same two boxes as FillList).
QString GetFieldValue(CityDatabase& database, const QString& table, const QString& field,
                      const QString& condition);
QString GetFieldValue(const QString& table, const QString& field, const QString& condition);

}  // namespace modGetRecord
