// The statement texts of modGetRecord, character for character as the program has always sent
// them (the blanks included), plus the quoting the values need.
#include <QStringList>

#include "data/CityVocabulary.h"
#include "data/modGetRecord.h"

namespace modGetRecord {

namespace {
const QStringList kKeywordTables(std::begin(city::kKeywordTables), std::end(city::kKeywordTables));

bool HasLikeWildcard(const QString& text) { return text.contains(u'%') || text.contains(u'_'); }

QString EscapedForLike(QString text) {
  text.replace(u'\\', QStringLiteral("\\\\"));
  text.replace(u'%', QStringLiteral("\\%"));
  text.replace(u'_', QStringLiteral("\\_"));
  return text;
}
}  // namespace

QString SqlText(const QString& value) {
  // SQLite ends a statement's text at a NUL character, so a pasted NUL would cut the statement
  // short. Such a value goes in whole as the hex of its UTF-8 bytes, cast to text and joined to
  // the quotes around it: exact, and one expression however many NULs it holds.
  if (value.contains(QChar(0)))
    return "' || cast(x'" + QString::fromLatin1(value.toUtf8().toHex()) + "' as text) || '";
  QString quoted = value;
  return quoted.replace(u'\'', QStringLiteral("''"));
}

QString FillListStatement(const QString& table, const QString& field, const QString& condition,
                          const QString& order, bool distinct) {
  const QString list = order.isEmpty() ? field : field + " , " + order;
  const QString orderPart = order.isEmpty() ? QString() : " order by " + order;
  return "select " + QString(distinct ? "Distinct" : "") + " " + list + " from " + table + " " + condition +
         orderPart;
}

QString KeywordStatement(const QString& field, const QString& keyword) {
  const bool escaped = HasLikeWildcard(keyword);
  const QString pattern = SqlText(escaped ? EscapedForLike(keyword) : keyword);
  const QString escapeClause = escaped ? QStringLiteral(" escape '\\'") : QString();
  QStringList parts;
  for (const QString& table : kKeywordTables) {
    parts << "select " + field + " from " + table + " where " + field + " like '%" + pattern + "%'" +
                 escapeClause + " ";
  }
  return parts.join(" union ") + " order by " + field;
}

QString FieldValueStatement(const QString& table, const QString& field, const QString& condition) {
  return "select " + field + " from " + table + condition;
}

}  // namespace modGetRecord
