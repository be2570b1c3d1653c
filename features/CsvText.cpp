#include "features/CsvText.h"

namespace csv {

QString GuardFormula(const QString& cell) {
  static const QString kFormulaStarts = QStringLiteral("=+-@\t\r");
  if (!cell.isEmpty() && kFormulaStarts.contains(cell.front())) return QLatin1Char('\'') + cell;
  return cell;
}

QString Field(const QString& cell) {
  QString field = GuardFormula(cell);
  if (!field.contains(QLatin1Char(',')) && !field.contains(QLatin1Char('"')) &&
      !field.contains(QLatin1Char('\n')) && !field.contains(QLatin1Char('\r')))
    return field;
  field.replace(QLatin1Char('"'), QStringLiteral("\"\""));
  return QLatin1Char('"') + field + QLatin1Char('"');
}

QByteArray Document(const std::vector<QStringList>& rows) {
  QString text;
  for (const QStringList& row : rows) {
    QStringList fields;
    for (const QString& cell : row) fields.append(Field(cell));
    text += fields.join(QLatin1Char(',')) + QStringLiteral("\r\n");
  }
  return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

QString TabText(const std::vector<QStringList>& rows) {
  QString text;
  for (const QStringList& row : rows) {
    QStringList cells;
    for (const QString& cell : row) {
      QString flat = GuardFormula(cell);
      for (const QChar breaker : {QLatin1Char('\t'), QLatin1Char('\r'), QLatin1Char('\n')})
        flat.replace(breaker, QLatin1Char(' '));
      cells.append(flat);
    }
    text += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
  }
  return text;
}

}  // namespace csv
