#include "bus/modBusChange.h"

#include <memory>

#include "bus/BusNetworkIndex.h"
#include "data/modDBAccess.h"

namespace modBusChange {
namespace {

// The index of the bus table of one connection. A connection's data never changes, so the
// index lives until another connection or another table is asked for.
struct CachedIndex {
  bool built = false;
  quint64 serial = 0;
  QString table;
  std::unique_ptr<BusNetworkIndex> index;  // null: the statements answer on this connection
};

const BusNetworkIndex* IndexFor(const modDBAccess::Connection& connection, const QString& table) {
  static CachedIndex cache;
  if (!cache.built || cache.serial != connection.Serial() || cache.table != table) {
    cache.index.reset();  // before building, so two tables are never held at once
    cache = {true, connection.Serial(), table, BusNetworkIndex::Build(connection.Handle(), table)};
  }
  return cache.index.get();
}

}  // namespace

QString FindBusChange(const QString& departure, const QString& destination, const QString& table) {
  const std::shared_ptr<modDBAccess::Connection> connection = modDBAccess::cnnCity;
  if (connection && connection->IsOpen()) {
    if (const BusNetworkIndex* index = IndexFor(*connection, table)) {
      if (std::optional<QString> answer = index->FindBusChange(departure, destination)) return *answer;
    }
  }
  return FindBusChangeByQueries(departure, destination, table);
}

}  // namespace modBusChange
