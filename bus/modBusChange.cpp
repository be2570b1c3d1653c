#include "bus/modBusChange.h"

#include <memory>

#include "bus/BusNetworkIndex.h"
#include "data/BusTable.h"
#include "data/CityVocabulary.h"
#include "data/modDBAccess.h"
#include "data/modGetRecord.h"

namespace modBusChange {
namespace {

// The index of one bus table of an open database, kept by the database: its data never
// changes, so the index lives until the database opens another file or another table is asked for.
// The city's bus table is read once for every reader of it (BusTable::Of); another is read here.
struct CachedIndex {
  bool built = false;
  QString table;
  std::unique_ptr<BusNetworkIndex> index;  // null: the statements answer on this database
};

const BusNetworkIndex* IndexFor(CityDatabase& database, const QString& table) {
  CachedIndex& cache = database.Derived<CachedIndex>();
  if (!cache.built || cache.table != table) {
    cache.index.reset();  // before building, so two tables are never held at once
    cache = {true, table,
             BusNetworkIndex::Build(table == QString::fromUtf8(city::kBusTable)
                                        ? BusTable::Of(database)
                                        : BusTable::Read(database, table))};
  }
  return cache.index.get();
}

}  // namespace

QString FindBusChange(CityDatabase& database, const QString& departure, const QString& destination,
                      const QString& table) {
  if (database.IsOpen()) {
    if (const BusNetworkIndex* index = IndexFor(database, table)) {
      if (std::optional<QString> answer = index->FindBusChange(departure, destination)) return *answer;
    }
  }
  return FindBusChangeByQueries(database, departure, destination, table);
}

QString FindBusChange(const QString& departure, const QString& destination, const QString& table) {
  if (CityDatabase* current = modDBAccess::cnnCity)
    return FindBusChange(*current, departure, destination, table);
  modGetRecord::ReportNoCurrentCity();
  return QString();
}

QString FindBusChangeByQueries(const QString& departure, const QString& destination, const QString& table) {
  if (CityDatabase* current = modDBAccess::cnnCity)
    return FindBusChangeByQueries(*current, departure, destination, table);
  modGetRecord::ReportNoCurrentCity();
  return QString();
}

}  // namespace modBusChange
