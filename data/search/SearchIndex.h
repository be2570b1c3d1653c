#pragma once
// The one search box's index of a city: the names of its bus stops and lines, of the places of
// every point type and of its roads, each with its kind (what the suggestion says) and the map
// layer that shows it, and the other names the city keeps for those places and roads. A typed text finds
// names by substring, by full pinyin or initials (and mixes of them), Latin case ignored (NameMatcher.h).
// Suggestions come ranked: names the text covers whole, then names it begins, then names it meets further on;
// within a rank shorter names first, then by kind (stops, lines, the point types in the city's order, roads),
// then in pinyin order.
#include <QString>
#include <cstdint>
#include <vector>

#include "data/search/NameMatcher.h"

class CityDatabase;

namespace search {

struct Entry {
  QString kind;   // 站点, 线路, a point type's name, 道路
  QString layer;  // the map layer that holds the feature named name
  QString name;
  QString otherName;  // the other name the entry is found by; empty for the feature's own name

  // What a suggestion shows: the name, or the other name with the feature's name after it.
  QString Label() const { return otherName.isEmpty() ? name : otherName + u'（' + name + u'）'; }
};

class SearchIndex {
 public:
  static constexpr int kSuggestions = 10;     // what the box lists and qiwu-cli find prints by default
  static constexpr int kMaxNameLength = 100;  // longer names (no real place's) are not indexed

  // The index of the city open in database: built on first use and kept with the database
  // (CityDatabase::Derived) until it opens another file.
  static const SearchIndex& Of(CityDatabase& database);

  // Reads the names from database in place of any read before; reads nothing while it is closed.
  // A table or column the city lacks adds no names; nothing is shown. The stops and lines come
  // from the database's bus table as BusTable::Of keeps it. An other name (city::kOtherNameTable)
  // counts for a point type's or a road's feature that its table holds.
  void Build(const CityDatabase& database);

  // At most limit suggestions for text, best first.
  std::vector<const Entry*> Find(const QString& text, int limit) const;
  // The entry of that kind and name as the database's = finds it (the case of A-Z aside; an entry
  // of exactly that name first), or null (a walk through the entries). Other names are not looked at.
  const Entry* Lookup(const QString& kind, const QString& name) const;
  std::size_t Size() const { return entries_.size(); }

 private:
  void Add(Entry entry);
  void SortAndMerge(const std::vector<int>& kindOrder);

  bool built_ = false;
  std::vector<Entry> entries_;
  Alphabet alphabet_;
  std::vector<Symbol> symbols_;        // every name's symbols back to back
  std::vector<std::uint32_t> starts_;  // entry i: symbols_[starts_[i] .. starts_[i + 1])
};

}  // namespace search
