#include "bus/TripCity.h"

#include <QHash>
#include <algorithm>
#include <cmath>
#include <memory>

#include "data/BusTable.h"
#include "data/CityDatabase.h"
#include "map/Layer.h"
#include "map/MapReach.h"

namespace trip {

namespace {

struct Row {
  double order = 0;
  int stop = -1;
};

std::optional<MapPoint> ReadPoint(const QString& text) {
  const QStringList parts = text.split(u',');
  if (parts.size() != 2) return std::nullopt;
  bool okX = false, okY = false;
  const MapPoint p{parts[0].trimmed().toDouble(&okX), parts[1].trimmed().toDouble(&okY)};
  if (!okX || !okY || !std::isfinite(p.x) || !std::isfinite(p.y)) return std::nullopt;
  return p;
}

// Sums of the stop layer's point positions by name.
void PlaceStops(const Layer& stopLayer, const QHash<QString, int>& stopIds, Network& network) {
  std::vector<int> counts(network.stops.size(), 0);
  std::vector<MapPoint> sums(network.stops.size());
  const FeatureStore& store = stopLayer.Store();
  const int nameField = stopLayer.DisplayField();
  for (int id = 1; id <= store.Count(); ++id) {
    if (store.TypeOf(id) != kFeaturePoint || store.PartCount(id) < 1 || store.Part(id, 0).empty()) continue;
    const auto found = stopIds.find(store.ValueOf(id, nameField).toString());
    const MapPoint p = store.Part(id, 0).front();
    if (found == stopIds.end() || !std::isfinite(p.x) || !std::isfinite(p.y)) continue;
    sums[*found].x += p.x;
    sums[*found].y += p.y;
    ++counts[*found];
  }
  for (std::size_t s = 0; s < network.stops.size(); ++s) {
    if (counts[s] == 0) continue;
    network.stops[s].placed = true;
    network.stops[s].position = {sums[s].x / counts[s], sums[s].y / counts[s]};
  }
}

}  // namespace

Network ReadNetwork(const BusTable& table, const Layer* stopLayer) {
  Network network;
  QHash<QString, int> stopIds, lineIds;
  std::vector<std::vector<Row>> lineRows;
  for (const BusTableRow& row : table.Rows()) {
    const QString line = row.line.toString(), stop = row.stop.toString();
    if (line.isEmpty() || stop.isEmpty()) continue;
    auto s = stopIds.find(stop);
    if (s == stopIds.end()) {
      s = stopIds.insert(stop, int(network.stops.size()));
      network.stops.emplace_back().name = stop;
    }
    auto l = lineIds.find(line);
    if (l == lineIds.end()) {
      l = lineIds.insert(line, int(network.lines.size()));
      network.lines.emplace_back().name = line;
      lineRows.emplace_back();
    }
    const double order = row.position.toDouble();
    lineRows[*l].push_back({std::isfinite(order) ? order : 0, *s});
  }
  for (std::size_t l = 0; l < lineRows.size(); ++l) {
    std::stable_sort(lineRows[l].begin(), lineRows[l].end(),
                     [](const Row& a, const Row& b) { return a.order < b.order; });
    for (const Row& r : lineRows[l]) network.lines[l].stops.push_back(r.stop);
  }
  if (stopLayer) PlaceStops(*stopLayer, stopIds, network);
  return network;
}

namespace {

// The index kept with the database, and the stop layer its stops were placed by.
struct CachedIndex {
  const Layer* stopLayer = nullptr;
  std::vector<const Layer*> walkLayers;
  std::unique_ptr<Index> index;
};

}  // namespace

const Index* IndexOf(CityDatabase& database, const Layer* stopLayer, std::span<Layer* const> layers,
                     QString& error) {
  CachedIndex& cache = database.Derived<CachedIndex>();
  std::vector<const Layer*> walkLayers = walk::WalkLayers(layers);
  if (cache.index && cache.stopLayer == stopLayer && cache.walkLayers == walkLayers) return cache.index.get();
  cache.index.reset();
  const BusTable& table = BusTable::Of(database);
  if (!table.Ok()) {
    error = table.Error().description;
    return nullptr;
  }
  const std::vector<walk::Street> streets = walk::StreetsOf(walkLayers);
  cache = {stopLayer, std::move(walkLayers), std::make_unique<Index>(ReadNetwork(table, stopLayer), streets)};
  return cache.index.get();
}

std::optional<Place> FindPlace(const Index& index, const QString& text,
                               const std::vector<Layer*>& pointLayers) {
  if (const int stop = index.StopNamed(text); stop >= 0) {
    const Stop& s = index.Net().stops[stop];
    return Place{text, stop, s.placed, s.position};
  }
  for (Layer* layer : pointLayers) {
    const FieldSearchResult found = layer->SearchByField(QStringLiteral("name"), text);
    if (found.Exact() && found.feature.Type() == kFeaturePoint)
      return Place{text, -1, true, found.feature.Center()};
  }
  if (const auto p = ReadPoint(text)) return Place{text, -1, true, *p};
  return std::nullopt;
}

QString PlaceOffMap(const Place& place, const std::optional<MapRect>& extent) {
  if (!place.placed || WithinReach(extent, place.point)) return {};
  return QStringLiteral("地点“%1”离城市地图超过 %2 公里，不能规划出行。")
      .arg(place.label)
      .arg(kMapReachMetres / 1000);
}

}  // namespace trip
