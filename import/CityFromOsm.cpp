#include "import/CityFromOsm.h"

#include "dataset/Writers.h"
#include "import/osm/OsmDistricts.h"

namespace qiwu::import {
namespace {

void AddAreas(const std::vector<osm::Way>& ways, const MapProjection& projection,
              std::vector<citygen::Area>& into) {
  for (const osm::Way& way : ways)
    if (auto parts = projection.AreasOf(*way.shape); !parts.empty())
      into.push_back({way.name, std::move(parts)});
}

void AddDistricts(const std::vector<osm::Boundary>& boundaries, const MapProjection& projection,
                  citygen::City& city) {
  std::map<int, int> perLevel;
  for (const osm::Boundary& boundary : boundaries) ++perLevel[boundary.adminLevel];
  const int level = osm::DistrictLevel(perLevel);
  for (const osm::Boundary& boundary : boundaries) {
    if (boundary.adminLevel != level) continue;
    auto parts = projection.AreasOf(*boundary.shape);
    if (parts.empty()) continue;
    citygen::NamedLine border{boundary.name + "界", {}};
    for (const citygen::Polygon& part : parts)
      border.parts.insert(border.parts.end(), part.rings.begin(), part.rings.end());
    city.districtBorders.push_back(std::move(border));
    city.districts.push_back({boundary.name, std::move(parts)});
  }
}

void AddWays(const std::vector<osm::KindedWay>& ways, const MapProjection& projection,
             std::vector<citygen::Way>& into) {
  for (const osm::KindedWay& way : ways)
    for (citygen::Polyline& line : projection.LinesOf(*way.shape))
      into.push_back({way.name, way.kind, std::move(line)});
}

void AddOtherNames(const std::string& layer, const std::string& name, const std::vector<std::string>& others,
                   citygen::City& city) {
  for (const std::string& other : others) city.otherNames.push_back({layer, name, other});
}

}  // namespace

void AddOsmFeatures(const osm::Extract& extract, const MapProjection& projection, citygen::City& city) {
  AddDistricts(extract.boundaries, projection, city);
  AddAreas(extract.waters, projection, city.waters);
  AddAreas(extract.greens, projection, city.greens);
  AddAreas(extract.buildings, projection, city.buildings);
  AddWays(extract.footways, projection, city.footways);
  AddWays(extract.railways, projection, city.railways);
  AddWays(extract.rivers, projection, city.rivers);
  AddWays(extract.walkways, projection, city.walkways);
  for (const osm::Road& road : extract.roads) {
    for (citygen::Polyline& line : projection.LinesOf(*road.shape))
      city.roads.push_back({road.name, road.roadClass, std::move(line), road.walkable});
    AddOtherNames(citygen::RoadLayerName(road.roadClass), road.name, road.otherNames, city);
  }
  for (const osm::Place& place : extract.places) {
    city.pois[std::size_t(place.type)].push_back(
        {place.name, projection.ToCity(place.at), place.operatorName, place.tel, place.address, place.web});
    AddOtherNames(citygen::PoiTypeName(place.type), place.name, place.otherNames, city);
  }
}

}  // namespace qiwu::import
