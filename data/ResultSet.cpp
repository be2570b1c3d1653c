#include "data/ResultSet.h"

namespace {
// Field names match without regard to the case of Latin letters; other letters match exactly.
bool SameFieldName(const QString& a, const QString& b) {
  if (a.size() != b.size()) return false;
  for (qsizetype i = 0; i < a.size(); ++i) {
    const char16_t x = a[i].unicode();
    const char16_t y = b[i].unicode();
    if (x == y) continue;
    const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
    if (lower(x) != lower(y)) return false;
  }
  return true;
}
}  // namespace

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
    if (SameFieldName(columns_[i], name)) return rows_[current_][i];
  }
  return std::nullopt;
}
