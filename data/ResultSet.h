#pragma once
// The rows of one statement, read the way the program reads them: at-end, at-start, move
// first, move next, and a field's value by name (Latin case ignored in the name). Values are
// qlonglong, double, QString (UTF-16), QByteArray or a null QVariant. Owns its rows.
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>
#include <vector>

class ResultSet {
 public:
  ResultSet(QStringList columns, std::vector<std::vector<QVariant>> rows);

  bool AtEnd() const;  // no current row: past the last one, or no rows at all
  // Before the first row. Rows are only read forwards from the first, so this holds exactly when
  // there are no rows (then AtEnd holds too).
  bool AtStart() const;
  void MoveFirst();
  void MoveNext();

  // The value of the first column of that name in the current row: a null QVariant for a
  // null value, std::nullopt when there is no such column or no current row.
  std::optional<QVariant> Field(const QString& name) const;

  const QStringList& Columns() const { return columns_; }
  const std::vector<std::vector<QVariant>>& Rows() const { return rows_; }

 private:
  QStringList columns_;
  std::vector<std::vector<QVariant>> rows_;
  std::size_t current_ = 0;
};
