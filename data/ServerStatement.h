#pragma once
// The program's statements, written for the Jet engine, as a PostgreSQL server reads them with
// the same meaning. The server's tables come from the publisher (import/publish): names in lower
// case, text columns in the collation kServerCollation, and an order column kRowOrderColumn that
// numbers the rows in the order the data set stores them.
#include <QString>

namespace qiwu {

inline constexpr char kRowOrderColumn[] = "qiwu_row";
// ICU's pinyin order, the case of letters ignored, ties broken by the bytes: the order of the
// file side's collation (TextCollation.h).
inline constexpr char kServerCollation[] = "qiwu_pinyin";
inline constexpr char kServerCollationLocale[] = "zh-u-co-pinyin-ks-level2";

// The expression that compares column as the file side does: Latin A-Z folded, nothing else.
// The publisher indexes the same expression.
QString FoldedColumn(const QString& column);

// Rewrites one statement:
// - a double-quoted string is a literal ("点" -> '点'), as Jet and SQLite read it;
// - column = 'text' and column like 'pattern' ignore the case of A-Z only; like treats '\' as an
//   ordinary character unless the statement gives an escape clause;
// - a select from one table without distinct or union keeps the stored row order: the order
//   column is added as the last ordering key (the only one where there is no order by).
// Anything else passes unchanged.
QString TranslateForServer(const QString& jetStatement);

}  // namespace qiwu
