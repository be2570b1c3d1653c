// Building the in-memory bus table from the rows the database gave (BusTable.h). Whatever the
// index cannot match exactly as the statements would makes it give up, and the statements answer
// instead.
#include "bus/BusNetworkIndex.h"

#include <QVariant>
#include <algorithm>
#include <numeric>

#include "bus/BusPlanText.h"
#include "data/BusTable.h"
#include "data/TextCollation.h"

namespace modBusChange {
namespace {

// A text a statement finds again: one without NUL, which would end the statement, and without
// U+FFFD, which is what stored bytes that are not UTF-8 read as (the statement would look for
// the character, not the bytes).
bool Exact(const QString& text) { return !text.contains(QChar(u'\0')) && !text.contains(QChar(0xFFFD)); }

}  // namespace

std::size_t BusNetworkIndex::RowGroups::Size(ClassId c) const {
  if (c == kNoClass || std::size_t(c) + 1 >= begin.size()) return 0;
  return begin[std::size_t(c) + 1] - begin[std::size_t(c)];
}

std::optional<BusNetworkIndex::TextId> BusNetworkIndex::InternName(const QVariant& value) {
  if (!value.isNull() && value.typeId() != QMetaType::QString) return std::nullopt;
  const QString text = value.toString();  // a null reads as the empty text
  if (const auto found = textIds_.constFind(text); found != textIds_.cend()) return *found;
  if (!Exact(text)) return std::nullopt;
  const TextId id = TextId(texts_.size());
  textIds_.insert(text, id);
  texts_.push_back(text);
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

std::unique_ptr<BusNetworkIndex> BusNetworkIndex::Build(const BusTable& table) {
  if (!table.Ok()) return nullptr;
  std::unique_ptr<BusNetworkIndex> index(new BusNetworkIndex());
  std::vector<ClassId> lineClasses;
  std::vector<ClassId> stopClasses;
  for (const BusTableRow& busRow : table.Rows()) {
    const std::optional<TextId> line = index->InternName(busRow.line);
    const std::optional<TextId> stop = index->InternName(busRow.stop);
    if (!line || !stop) return nullptr;
    Row row{*line, *stop, 0};
    const QVariant& position = busRow.position;
    switch (position.typeId()) {
      case QMetaType::UnknownType:  // null
        break;
      case QMetaType::LongLong:
        // What PositionValue makes of the number's decimal text, without writing it out.
        row.position = std::clamp<qint64>(position.toLongLong(), -kPositionLimit, kPositionLimit);
        break;
      case QMetaType::QString:
        if (!Exact(position.toString())) return nullptr;
        row.position = PositionValue(position.toString());
        break;
      default:  // a fraction or bytes: their text form is the database layer's business
        return nullptr;
    }
    index->rows_.push_back(row);
    lineClasses.push_back(busRow.line.isNull() ? kNoClass : index->ClassOfValue(*line));
    stopClasses.push_back(busRow.stop.isNull() ? kNoClass : index->ClassOfValue(*stop));
  }
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
