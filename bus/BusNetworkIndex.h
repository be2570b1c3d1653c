#pragma once
// The bus table held in memory, so that a transfer search needs no statement: rows in the
// table's stored order, the rows through each stop and along each line, and each stop's first
// position on each line. Names match as the database's = matches them (the case of Latin
// letters A-Z ignored); the search itself compares names exactly.
#include <QHash>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class BusTable;
class QVariant;

namespace modBusChange {

class BusNetworkIndex {
 public:
  // The index of a bus table's rows (not kept). nullptr when the index could not answer as the
  // statements would: the table not read (a table or a column missing, a table name that is not
  // a plain name), a name that is not text or null or that a statement would not find again, a
  // position that is a fraction or bytes.
  static std::unique_ptr<BusNetworkIndex> Build(const BusTable& table);

  // The transfer plan text for the two names (see modBusChange.h); nullopt when a name is one
  // the index cannot match as the database would, and the statements must answer.
  std::optional<QString> FindBusChange(const QString& departure, const QString& destination) const;

  // Bytes held by the index, its containers' capacities and the texts' buffers.
  std::size_t MemoryBytes() const;
  std::size_t RowCount() const { return rows_.size(); }

 private:
  using TextId = std::uint32_t;
  using ClassId = std::int32_t;  // a group of texts equal under the database's =; -1: none
  static constexpr ClassId kNoClass = -1;

  struct Row {
    TextId line;  // exact text of 线路名 (a null reads as the empty text)
    TextId stop;  // exact text of 站名
    qint64 position;
  };
  // Rows grouped by a class, each group in stored order.
  struct RowGroups {
    std::vector<std::uint32_t> begin;  // group c holds rows[begin[c] .. begin[c + 1])
    std::vector<std::uint32_t> rows;
    std::size_t Size(ClassId c) const;
    const std::uint32_t* First(ClassId c) const { return rows.data() + begin[std::size_t(c)]; }
  };

  BusNetworkIndex() = default;
  // The text of a name value (a null reads as the empty text); nullopt when it is neither text
  // nor null or a statement would not find it again.
  std::optional<TextId> InternName(const QVariant& value);
  ClassId ClassOfValue(TextId id);  // a text seen as a value: its first sighting makes its class
  ClassId ClassOfName(const QString& name) const;  // a typed name; kNoClass when no row matches
  // The position that the lookup "站名='S' and 线路名='L'" returns: that of the first row in
  // stored order, 0 when there is none.
  qint64 PositionOf(ClassId stop, ClassId line) const;
  void Finish(const std::vector<ClassId>& lineClasses, const std::vector<ClassId>& stopClasses);

  std::vector<QString> texts_;       // by TextId
  std::vector<ClassId> textClass_;   // by TextId: the class of that text as a value
  QHash<QString, TextId> textIds_;   // while building only
  QHash<QString, ClassId> classes_;  // by the text with A-Z lower-cased
  std::vector<Row> rows_;
  RowGroups rowsByStop_;  // by class of 站名; null names in no group
  RowGroups rowsByLine_;  // by class of 线路名
  std::vector<std::pair<std::uint64_t, std::uint32_t>> firstRow_;  // (stop class, line class) → row, sorted
};

}  // namespace modBusChange
