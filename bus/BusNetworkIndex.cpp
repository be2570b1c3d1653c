// Building the in-memory bus table. It is read straight from SQLite, not through ExecuteQuery,
// so that building shows no message and leaves rsResult alone; whatever it cannot read exactly
// as the statements would read it makes it give up, and the statements answer instead.
#include "bus/BusNetworkIndex.h"

#include <sqlite3.h>

#include <QByteArray>
#include <algorithm>
#include <numeric>

#include "bus/BusPlanText.h"

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

// A name that stands in a statement unquoted and means just that table: letters, digits,
// underscores and non-ASCII characters, not starting with a digit.
bool IsPlainTableName(const QString& table) {
  if (table.isEmpty() || table.front().isDigit()) return false;
  return std::all_of(table.begin(), table.end(), [](QChar c) {
    return c.unicode() >= 0x80 || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
           (c >= u'0' && c <= u'9') || c == u'_';
  });
}

// A text comes back unchanged from a statement only when it is valid UTF-8 without NUL.
std::optional<QString> ExactText(sqlite3_stmt* statement, int column) {
  const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
  const int size = sqlite3_column_bytes(statement, column);
  const QByteArray raw = QByteArray::fromRawData(bytes, size);
  if (raw.contains('\0')) return std::nullopt;
  QString text = QString::fromUtf8(raw);
  if (text.toUtf8() != raw) return std::nullopt;
  return text;
}

struct StatementCloser {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

}  // namespace

std::size_t BusNetworkIndex::RowGroups::Size(ClassId c) const {
  if (c == kNoClass || std::size_t(c) + 1 >= begin.size()) return 0;
  return begin[std::size_t(c) + 1] - begin[std::size_t(c)];
}

BusNetworkIndex::TextId BusNetworkIndex::InternText(const QString& text) {
  const auto found = textIds_.constFind(text);
  if (found != textIds_.cend()) return *found;
  const TextId id = TextId(texts_.size());
  textIds_.insert(text, id);
  texts_.push_back(text);
  textClass_.push_back(kNoClass);
  return id;
}

std::unique_ptr<BusNetworkIndex> BusNetworkIndex::Build(sqlite3* db, const QString& table) {
  if (db == nullptr || !IsPlainTableName(table)) return nullptr;
  const QByteArray sql = (QStringLiteral("select 线路名, 站名, 顺序 from ") + table).toUtf8();
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &raw, nullptr) != SQLITE_OK) {
    sqlite3_finalize(raw);
    return nullptr;
  }
  const std::unique_ptr<sqlite3_stmt, StatementCloser> statement(raw);

  std::unique_ptr<BusNetworkIndex> index(new BusNetworkIndex());
  std::vector<ClassId> lineClasses;
  std::vector<ClassId> stopClasses;
  // The class of a name as a value in a row: its first sighting makes the class.
  const auto classOfValue = [&index](TextId id) {
    ClassId& c = index->textClass_[id];
    if (c == kNoClass) {
      const QString folded = FoldLatinCase(index->texts_[id]);
      c = index->classes_.value(folded, kNoClass);
      if (c == kNoClass) {
        c = ClassId(index->classes_.size());
        index->classes_.insert(folded, c);
      }
    }
    return c;
  };
  // A name column: text or null, nothing else compares the way the statements compare it.
  const auto readName = [&](int column, TextId& id, ClassId& c) {
    const int type = sqlite3_column_type(statement.get(), column);
    if (type == SQLITE_NULL) {
      id = index->InternText(QString());
      c = kNoClass;
      return true;
    }
    if (type != SQLITE_TEXT) return false;
    const std::optional<QString> text = ExactText(statement.get(), column);
    if (!text) return false;
    id = index->InternText(*text);
    c = classOfValue(id);
    return true;
  };

  int step;
  while ((step = sqlite3_step(statement.get())) == SQLITE_ROW) {
    Row row{};
    ClassId lineClass = kNoClass;
    ClassId stopClass = kNoClass;
    if (!readName(0, row.line, lineClass) || !readName(1, row.stop, stopClass)) return nullptr;
    switch (sqlite3_column_type(statement.get(), 2)) {
      case SQLITE_NULL:
        row.position = 0;
        break;
      case SQLITE_INTEGER:
        row.position = PositionValue(QString::number(sqlite3_column_int64(statement.get(), 2)));
        break;
      case SQLITE_TEXT: {
        const std::optional<QString> text = ExactText(statement.get(), 2);
        if (!text) return nullptr;
        row.position = PositionValue(*text);
        break;
      }
      default:  // a fraction or bytes: their text form is the database layer's business
        return nullptr;
    }
    index->rows_.push_back(row);
    lineClasses.push_back(lineClass);
    stopClasses.push_back(stopClass);
  }
  if (step != SQLITE_DONE) return nullptr;
  index->Finish(lineClasses, stopClasses);
  return index;
}

void BusNetworkIndex::Finish(const std::vector<ClassId>& lineClasses, const std::vector<ClassId>& stopClasses) {
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
    firstRow_.emplace_back(std::uint64_t(std::uint32_t(stopClasses[r])) << 32 | std::uint32_t(lineClasses[r]), r);
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
