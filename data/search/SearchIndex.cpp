#include "data/search/SearchIndex.h"

#include <algorithm>
#include <array>
#include <functional>
#include <numeric>

#include "data/CityDatabase.h"
#include "data/CityVocabulary.h"

namespace search {

namespace {

QString Key(const QString& kind, const QString& name) { return kind + QChar(0) + name; }

// The first column of every row of sql, as text; nothing when the statement fails.
void EachValue(const CityDatabase& database, const QString& sql, const std::function<void(const QString&)>& take) {
  DbError error;
  const std::unique_ptr<ResultSet> rows = database.Query(sql, error);
  if (!rows) return;
  for (const std::vector<QVariant>& row : rows->Rows())
    if (!row.empty() && !row.front().isNull() && row.front().typeId() != QMetaType::QByteArray)
      take(row.front().toString());
}

QString Select(const char* field, const QString& table) {
  return QStringLiteral("select %1 from %2").arg(QString::fromUtf8(field), table);
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
  std::vector<int> kindOrder;  // per entry: the rank of the statement that read it
  int statements = 0;
  const auto addAll = [&](const QString& sql, const QString& kind, const QString& layer) {
    const int order = statements++;
    EachValue(database, sql, [&](const QString& name) {
      if (name.trimmed().isEmpty() || name.size() > kMaxNameLength || byKey_.contains(Key(kind, name))) return;
      Add(kind, layer, name);
      kindOrder.push_back(order);
    });
  };

  const QString bus = QString::fromUtf8(city::kBusTable);
  if (database.HasTable(bus)) {
    addAll(Select(city::kStopField, bus), QStringLiteral("站点"), QString::fromUtf8(city::layer::kBusStops));
    addAll(Select(city::kLineField, bus), QStringLiteral("线路"), QString::fromUtf8(city::layer::kBusLines));
  }
  QStringList pointTypes;
  if (database.HasTable(QString::fromUtf8(city::kTypeTable)))
    EachValue(database,
              QStringLiteral("select %1 from %2 where %3 = '%4'")
                  .arg(QString::fromUtf8(city::kTypeNameField), QString::fromUtf8(city::kTypeTable),
                       QString::fromUtf8(city::kTypeKindField), QString::fromUtf8(city::kPointKind)),
              [&](const QString& type) {
                if (!pointTypes.contains(type)) pointTypes.append(type);
              });
  // A type's name becomes part of a statement only when it names one of the city's tables.
  for (const QString& type : pointTypes)
    if (database.HasTable(type)) addAll(Select(city::kNameField, type), type, type);
  for (const char* road : {city::layer::kMainRoads, city::layer::kSecondaryRoads, city::layer::kBranchRoads})
    if (database.HasTable(QString::fromUtf8(road)))
      addAll(Select(city::kNameField, QString::fromUtf8(road)), QStringLiteral("道路"), QString::fromUtf8(road));
  Sort(kindOrder);
}

void SearchIndex::Add(const QString& kind, const QString& layer, const QString& name) {
  byKey_.insert(Key(kind, name), int(entries_.size()));
  entries_.push_back({kind, layer, name});
  const std::vector<Symbol> spelled = alphabet_.Spell(name);
  symbols_.insert(symbols_.end(), spelled.begin(), spelled.end());
  starts_.push_back(std::uint32_t(symbols_.size()));
}

// Puts the entries in the order suggestions of one rank are listed in.
void SearchIndex::Sort(const std::vector<int>& kindOrder) {
  const std::vector<std::uint32_t> rank = alphabet_.PinyinRanks();
  const auto spelling = [&](int i) {
    return std::span<const Symbol>(symbols_.data() + starts_[i], starts_[i + 1] - starts_[i]);
  };
  std::vector<int> order(entries_.size());
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(), [&](int a, int b) {
    const std::span<const Symbol> x = spelling(a), y = spelling(b);
    if (x.size() != y.size()) return x.size() < y.size();
    if (kindOrder[a] != kindOrder[b]) return kindOrder[a] < kindOrder[b];
    const auto differ = std::mismatch(x.begin(), x.end(), y.begin());
    if (differ.first != x.end()) return rank[*differ.first] < rank[*differ.second];
    return entries_[a].name < entries_[b].name;
  });

  std::vector<Entry> entries;
  std::vector<Symbol> symbols;
  std::vector<std::uint32_t> starts{0};
  entries.reserve(entries_.size());
  symbols.reserve(symbols_.size());
  for (const int i : order) {
    byKey_[Key(entries_[i].kind, entries_[i].name)] = int(entries.size());
    entries.push_back(std::move(entries_[i]));
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
  const auto found = byKey_.constFind(Key(kind, name));
  return found == byKey_.cend() ? nullptr : &entries_[std::size_t(*found)];
}

}  // namespace search
