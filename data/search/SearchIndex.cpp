#include "data/search/SearchIndex.h"

#include <algorithm>
#include <array>
#include <bit>
#include <functional>
#include <numeric>

#include "data/BusTable.h"
#include "data/CityDatabase.h"
#include "data/CityVocabulary.h"
#include "data/Statements.h"
#include "data/TextCollation.h"

namespace search {

namespace {

// A value that names something: not null, not bytes.
bool IsName(const QVariant& value) { return !value.isNull() && value.typeId() != QMetaType::QByteArray; }

// The first column of every row of sql, as text; nothing when the statement fails.
void EachValue(const CityDatabase& database, const QString& sql,
               const std::function<void(const QString&)>& take) {
  Outcome error;
  const std::unique_ptr<ResultSet> rows = database.Query(sql, error);
  if (!rows) return;
  for (const std::vector<QVariant>& row : rows->Rows())
    if (!row.empty() && IsName(row.front())) take(row.front().toString());
}

// The first two columns of every row of sql, as text, where both name something.
void EachPair(const CityDatabase& database, const QString& sql,
              const std::function<void(const QString&, const QString&)>& take) {
  Outcome error;
  const std::unique_ptr<ResultSet> rows = database.Query(sql, error);
  if (!rows) return;
  for (const std::vector<QVariant>& row : rows->Rows())
    if (row.size() >= 2 && IsName(row[0]) && IsName(row[1])) take(row[0].toString(), row[1].toString());
}

// The values of one column of the bus table's rows, as EachValue gives a column.
void EachValue(const BusTable& table, QVariant BusTableRow::*column,
               const std::function<void(const QString&)>& take) {
  for (const BusTableRow& row : table.Rows())
    if (IsName(row.*column)) take((row.*column).toString());
}

bool Blank(const QString& name) {
  return std::all_of(name.begin(), name.end(), [](QChar c) { return c.isSpace(); });
}

}  // namespace

const SearchIndex& SearchIndex::Of(CityDatabase& database) {
  SearchIndex& index = database.Derived<SearchIndex>();
  if (!index.built_) index.Build(database);
  return index;
}

void SearchIndex::Build(const CityDatabase& database) {
  *this = SearchIndex();
  built_ = true;
  starts_.push_back(0);
  std::vector<int> kindOrder;  // per entry
  int kinds = 0;
  const auto indexable = [](const QString& name) { return name.size() <= kMaxNameLength && !Blank(name); };
  // Takes the names of one kind; the bus table names a line once for each of its stops, in a row.
  const auto adder = [&](const QString& kind, const QString& layer, int order) {
    return [&, kind, layer, order, previous = QString()](const QString& name) mutable {
      if (name == previous || !indexable(name)) return;
      previous = name;
      Add({kind, layer, name, {}});
      kindOrder.push_back(order);
    };
  };

  if (database.HasTable(QString::fromUtf8(city::kBusTable))) {
    const BusTable& bus = BusTable::Of(database);
    EachValue(bus, &BusTableRow::stop,
              adder(QStringLiteral("站点"), QString::fromUtf8(city::layer::kBusStops), kinds++));
    EachValue(bus, &BusTableRow::line,
              adder(QStringLiteral("线路"), QString::fromUtf8(city::layer::kBusLines), kinds++));
  }
  struct Source {
    QString table;  // and layer
    QString kind;
    int order;
  };
  std::vector<Source> sources;
  QStringList pointTypes;
  if (database.HasTable(QString::fromUtf8(city::kTypeTable)))
    EachValue(database, statements::PointTypesInOrder(), [&](const QString& type) {
      if (!pointTypes.contains(type)) pointTypes.append(type);
    });
  // A type's name becomes part of a statement only when it names one of the city's tables.
  for (const QString& type : pointTypes)
    if (database.HasTable(type)) sources.push_back({type, type, kinds++});
  const int roads = kinds++;
  for (const char* road : {city::layer::kMainRoads, city::layer::kSecondaryRoads, city::layer::kBranchRoads})
    if (database.HasTable(QString::fromUtf8(road)))
      sources.push_back({QString::fromUtf8(road), QStringLiteral("道路"), roads});
  for (const Source& source : sources)
    EachValue(database, statements::NamesIn(source.table), adder(source.kind, source.table, source.order));
  if (database.HasTable(QString::fromUtf8(city::kOtherNameTable)))
    for (const Source& source : sources)
      EachPair(database, statements::OtherNamesIn(source.table),
               [&](const QString& other, const QString& name) {
                 if (other == name || !indexable(other) || !indexable(name)) return;
                 Add({source.kind, source.table, name, other});
                 kindOrder.push_back(source.order);
               });
  SortAndMerge(kindOrder);
}

// An entry is spelled as it is found: by its other name where it has one.
void SearchIndex::Add(Entry entry) {
  alphabet_.Spell(entry.otherName.isEmpty() ? entry.name : entry.otherName, symbols_);
  entries_.push_back(std::move(entry));
  starts_.push_back(std::uint32_t(symbols_.size()));
}

// Puts the entries in the order suggestions of one rank are listed in, and keeps one entry of a
// kind, name and other name: the first read (a road in two road tables is shown from the first).
void SearchIndex::SortAndMerge(const std::vector<int>& kindOrder) {
  const std::vector<std::uint32_t> rank = alphabet_.PinyinRanks();
  const auto spelling = [&](std::size_t i) {
    return std::span<const Symbol>(symbols_.data() + starts_[i], starts_[i + 1] - starts_[i]);
  };
  // Length, kind and the first characters' ranks in one number decide most comparisons.
  const int bits = std::bit_width(rank.size() + 1), packed = 48 / bits;
  std::vector<std::uint64_t> key(entries_.size());
  for (std::size_t i = 0; i < key.size(); ++i) {
    const std::span<const Symbol> s = spelling(i);
    std::uint64_t k =
        std::uint64_t(std::min<std::size_t>(s.size(), 0xFF)) << 56 | std::uint64_t(kindOrder[i] & 0xFF) << 48;
    for (int c = 0; c < packed; ++c)
      k |= (std::size_t(c) < s.size() ? std::uint64_t(rank[s[c]]) + 1 : 0) << (bits * (packed - 1 - c));
    key[i] = k;
  }
  std::vector<std::size_t> order(entries_.size());
  std::iota(order.begin(), order.end(), std::size_t(0));
  std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    if (key[a] != key[b]) return key[a] < key[b];
    if (kindOrder[a] != kindOrder[b]) return kindOrder[a] < kindOrder[b];
    const std::span<const Symbol> x = spelling(a), y = spelling(b);
    const auto differ = std::mismatch(x.begin(), x.end(), y.begin());
    if (differ.first != x.end()) return rank[*differ.first] < rank[*differ.second];
    return entries_[a].name != entries_[b].name ? entries_[a].name < entries_[b].name : a < b;
  });

  std::vector<Entry> entries;
  std::vector<Symbol> symbols;
  std::vector<std::uint32_t> starts{0};
  entries.reserve(entries_.size());
  symbols.reserve(symbols_.size());
  std::size_t previous = entries_.size();
  for (const std::size_t i : order) {
    if (previous < entries_.size() && kindOrder[previous] == kindOrder[i] &&
        entries_[previous].name == entries_[i].name && entries_[previous].otherName == entries_[i].otherName)
      continue;
    previous = i;
    entries.push_back(entries_[i]);
    const std::span<const Symbol> s = spelling(i);
    symbols.insert(symbols.end(), s.begin(), s.end());
    starts.push_back(std::uint32_t(symbols.size()));
  }
  entries_ = std::move(entries);
  symbols_ = std::move(symbols);
  starts_ = std::move(starts);
}

std::vector<const Entry*> SearchIndex::Find(const QString& text, int limit) const {
  const Query query(text, alphabet_);
  if (query.Empty() || limit <= 0) return {};
  std::array<std::vector<const Entry*>, 3> ranks;  // exact, prefix, contains
  const std::size_t cap = std::size_t(limit);
  for (std::size_t i = 0; i < entries_.size() && ranks[0].size() < cap; ++i) {
    const Fit fit = query.Match({symbols_.data() + starts_[i], starts_[i + 1] - starts_[i]});
    if (fit == Fit::None) continue;
    std::vector<const Entry*>& rank = ranks[fit == Fit::Exact ? 0 : fit == Fit::Prefix ? 1 : 2];
    if (rank.size() < cap) rank.push_back(&entries_[i]);
  }
  std::vector<const Entry*> found = std::move(ranks[0]);
  for (int r = 1; r < 3; ++r) found.insert(found.end(), ranks[r].begin(), ranks[r].end());
  if (found.size() > cap) found.resize(cap);
  return found;
}

const Entry* SearchIndex::Lookup(const QString& kind, const QString& name) const {
  const auto named = [&](bool exactly) {
    const QString folded = FoldLatinCase(name);
    return std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) {
      return e.kind == kind && e.otherName.isEmpty() &&
             (exactly ? e.name == name : FoldLatinCase(e.name) == folded);
    });
  };
  auto found = named(true);
  if (found == entries_.end()) found = named(false);
  return found == entries_.end() ? nullptr : &*found;
}

}  // namespace search
