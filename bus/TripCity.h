#pragma once
// The trip planner's view of a city: the network read from the bus table and the stop layer, and
// the places a user names (a stop, a feature of a point layer, or "X,Y" in map metres).
#include <QString>
#include <optional>
#include <span>
#include <vector>

#include "bus/TripIndex.h"
#include "bus/TripModel.h"
#include "map/MapTypes.h"

class BusTable;
class CityDatabase;
class Layer;

namespace trip {

// The lines of the bus table (rows of one 线路名 ordered by 顺序, stored order among equal
// positions) and the stop names, each placed at the mean of stopLayer's points of that name
// (stopLayer may be null: no stop is placed). Rows with an empty line or stop name are left out.
Network ReadNetwork(const BusTable& table, const Layer* stopLayer);

// The trip index of the city open in database, its stops placed by stopLayer, walking on the street
// layers among layers (walk::WalkLayers): made from the city's bus table (BusTable::Of) at the
// first call, again when another stop layer or other street layers are given, and kept with the
// database until it opens another file. Null, with error set, when the bus table cannot be read.
// The window and qiwu-cli both plan on it.
const Index* IndexOf(CityDatabase& database, const Layer* stopLayer, std::span<Layer* const> layers,
                     QString& error);

// The place a text names: a stop of the index by its name (Index::StopNamed); else the first point
// feature of that name in stored order, the layers searched in the order given; else "X,Y" as two
// finite numbers. nullopt when it names nothing.
std::optional<Place> FindPlace(const Index& index, const QString& text,
                               const std::vector<Layer*>& pointLayers);

// Why a trip cannot start or end at the place: it lies farther than kMapReachMetres from extent,
// the extent of the map's layers (map/MapReach.h). Empty when it may.
QString PlaceOffMap(const Place& place, const std::optional<MapRect>& extent);

}  // namespace trip
