#include "data/ResultSet.h"

#include "data/TableName.h"

ResultSet::ResultSet(QStringList columns, std::vector<std::vector<QVariant>> rows)
    : columns_(std::move(columns)), rows_(std::move(rows)) {}

bool ResultSet::AtEnd() const { return current_ >= rows_.size(); }

// There is no moving backwards, so the position is before the first row only when there is
// no row at all.
bool ResultSet::AtStart() const { return rows_.empty(); }

void ResultSet::MoveFirst() { current_ = 0; }

void ResultSet::MoveNext() {
  if (current_ < rows_.size()) ++current_;
}

std::optional<QVariant> ResultSet::Field(const QString& name) const {
  if (AtEnd()) return std::nullopt;
  for (qsizetype i = 0; i < columns_.size(); ++i) {
    if (SameName(columns_[i], name)) return rows_[current_][i];
  }
  return std::nullopt;
}
