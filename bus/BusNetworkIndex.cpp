// Building the in-memory bus table. It is read straight from SQLite, not through ExecuteQuery,
// so that building shows no message and leaves rsResult alone; whatever it cannot read exactly
// as the statements would read it makes it give up, and the statements answer instead.
#include "bus/BusNetworkIndex.h"

#include <sqlite3.h>

#include <QByteArray>
#include <algorithm>
#include <numeric>

#include "bus/BusPlanText.h"
#include "data/SqliteHandles.h"
#include "data/TableName.h"

namespace modBusChange {
namespace {

// The text with A-Z lower-cased: two names are equal under the database's = exactly when
// these agree (see data/TextCollation.h).
QString FoldLatinCase(const QString& text) {
  QString folded = text;
  for (QChar& c : folded) {
    if (c >= u'A' && c <= u'Z') c = QChar(c.unicode() + (u'a' - u'A'));
  }
  return folded;
}

// A text comes back unchanged from a statement only when it is valid UTF-8 without NUL.
std::optional<QString> ExactText(const QByteArray& raw) {
  if (raw.contains('\0')) return std::nullopt;
  QString text = QString::fromUtf8(raw);
  if (text.toUtf8() != raw) return std::nullopt;
  return text;
}

QByteArray ColumnBytes(sqlite3_stmt* statement, int column) {
  const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
  return QByteArray::fromRawData(bytes ? bytes : "", sqlite3_column_bytes(statement, column));
}

}  // namespace

std::size_t BusNetworkIndex::RowGroups::Size(ClassId c) const {
  if (c == kNoClass || std::size_t(c) + 1 >= begin.size()) return 0;
  return begin[std::size_t(c) + 1] - begin[std::size_t(c)];
}

std::optional<BusNetworkIndex::TextId> BusNetworkIndex::InternName(sqlite3_stmt* statement, int column) {
  const int type = sqlite3_column_type(statement, column);
  if (type != SQLITE_TEXT && type != SQLITE_NULL) return std::nullopt;
  const QByteArray raw = ColumnBytes(statement, column);  // a null reads as the empty text
  if (const auto found = textIds_.constFind(raw); found != textIds_.cend()) return *found;
  const std::optional<QString> text = ExactText(raw);
  if (!text) return std::nullopt;
  const TextId id = TextId(texts_.size());
  textIds_.insert(QByteArray(raw.constData(), raw.size()), id);  // a copy: raw lies in SQLite's row
  texts_.push_back(*text);
  textClass_.push_back(kNoClass);
  return id;
}

BusNetworkIndex::ClassId BusNetworkIndex::ClassOfValue(TextId id) {
  ClassId& c = textClass_[id];
  if (c == kNoClass) {
    const QString folded = FoldLatinCase(texts_[id]);
    c = classes_.value(folded, kNoClass);
    if (c == kNoClass) {
      c = ClassId(classes_.size());
      classes_.insert(folded, c);
    }
  }
  return c;
}

std::unique_ptr<BusNetworkIndex> BusNetworkIndex::Build(sqlite3* db, const QString& table) {
  if (db == nullptr || !IsPlainTableName(table)) return nullptr;
  const SqliteStatement statement =
      Prepare(db, (QStringLiteral("select 线路名, 站名, 顺序 from ") + table).toStdString());
  if (!statement) return nullptr;
  sqlite3_stmt* const s = statement.get();

  std::unique_ptr<BusNetworkIndex> index(new BusNetworkIndex());
  std::vector<ClassId> lineClasses;
  std::vector<ClassId> stopClasses;
  int step;
  while ((step = sqlite3_step(s)) == SQLITE_ROW) {
    const bool lineIsNull = sqlite3_column_type(s, 0) == SQLITE_NULL;
    const bool stopIsNull = sqlite3_column_type(s, 1) == SQLITE_NULL;
    const std::optional<TextId> line = index->InternName(s, 0);
    const std::optional<TextId> stop = index->InternName(s, 1);
    if (!line || !stop) return nullptr;
    Row row{*line, *stop, 0};
    switch (sqlite3_column_type(s, 2)) {
      case SQLITE_NULL:
        break;
      case SQLITE_INTEGER:
        // What PositionValue makes of the number's decimal text, without writing it out.
        row.position = std::clamp<qint64>(sqlite3_column_int64(s, 2), -kPositionLimit, kPositionLimit);
        break;
      case SQLITE_TEXT: {
        const std::optional<QString> text = ExactText(ColumnBytes(s, 2));
        if (!text) return nullptr;
        row.position = PositionValue(*text);
        break;
      }
      default:  // a fraction or bytes: their text form is the database layer's business
        return nullptr;
    }
    index->rows_.push_back(row);
    lineClasses.push_back(lineIsNull ? kNoClass : index->ClassOfValue(*line));
    stopClasses.push_back(stopIsNull ? kNoClass : index->ClassOfValue(*stop));
  }
  if (step != SQLITE_DONE) return nullptr;
  index->Finish(lineClasses, stopClasses);
  return index;
}

void BusNetworkIndex::Finish(const std::vector<ClassId>& lineClasses,
                             const std::vector<ClassId>& stopClasses) {
  const std::size_t classCount = classes_.size();
  const auto group = [&](const std::vector<ClassId>& classOfRow, RowGroups& groups) {
    groups.begin.assign(classCount + 1, 0);
    for (ClassId c : classOfRow) {
      if (c != kNoClass) ++groups.begin[std::size_t(c) + 1];
    }
    std::partial_sum(groups.begin.begin(), groups.begin.end(), groups.begin.begin());
    groups.rows.resize(groups.begin.back());
    std::vector<std::uint32_t> next(groups.begin.begin(), groups.begin.end() - 1);
    for (std::uint32_t r = 0; r < classOfRow.size(); ++r) {
      if (classOfRow[r] != kNoClass) groups.rows[next[std::size_t(classOfRow[r])]++] = r;
    }
  };
  group(lineClasses, rowsByLine_);
  group(stopClasses, rowsByStop_);

  firstRow_.reserve(rows_.size());
  for (std::uint32_t r = 0; r < rows_.size(); ++r) {
    if (lineClasses[r] == kNoClass || stopClasses[r] == kNoClass) continue;
    firstRow_.emplace_back(std::uint64_t(std::uint32_t(stopClasses[r])) << 32 | std::uint32_t(lineClasses[r]),
                           r);
  }
  // Stable on equal keys, and the rows went in in stored order: the first of each key is the
  // first row in stored order.
  std::stable_sort(firstRow_.begin(), firstRow_.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  firstRow_.erase(std::unique(firstRow_.begin(), firstRow_.end(),
                              [](const auto& a, const auto& b) { return a.first == b.first; }),
                  firstRow_.end());
  firstRow_.shrink_to_fit();
  textIds_ = {};  // only the build interns texts
}

BusNetworkIndex::ClassId BusNetworkIndex::ClassOfName(const QString& name) const {
  return classes_.value(FoldLatinCase(name), kNoClass);
}

qint64 BusNetworkIndex::PositionOf(ClassId stop, ClassId line) const {
  if (stop == kNoClass || line == kNoClass) return 0;
  const std::uint64_t key = std::uint64_t(std::uint32_t(stop)) << 32 | std::uint32_t(line);
  const auto found = std::lower_bound(firstRow_.begin(), firstRow_.end(), key,
                                      [](const auto& entry, std::uint64_t k) { return entry.first < k; });
  return found != firstRow_.end() && found->first == key ? rows_[found->second].position : 0;
}

std::size_t BusNetworkIndex::MemoryBytes() const {
  std::size_t bytes = sizeof(*this);
  for (const QString& text : texts_) bytes += sizeof(QString) + std::size_t(text.capacity()) * sizeof(QChar);
  // A QHash node holds the key and the value; its span table costs about a byte and a pointer
  // per bucket.
  for (auto entry = classes_.cbegin(); entry != classes_.cend(); ++entry) {
    bytes += sizeof(QString) + sizeof(ClassId) + std::size_t(entry.key().capacity()) * sizeof(QChar);
  }
  bytes += std::size_t(classes_.capacity()) * (1 + sizeof(void*));
  bytes += textClass_.capacity() * sizeof(ClassId) + rows_.capacity() * sizeof(Row);
  for (const RowGroups* groups : {&rowsByStop_, &rowsByLine_}) {
    bytes += (groups->begin.capacity() + groups->rows.capacity()) * sizeof(std::uint32_t);
  }
  return bytes + firstRow_.capacity() * sizeof(firstRow_.front());
}

}  // namespace modBusChange
