#include <cpl_conv.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "dataset/GeoPackage.h"
#include "dataset/Shapes.h"
#include "dataset/Writers.h"

namespace citygen {
namespace {

// An area without parts (a city without a wall) is left out; its layer stays, empty.
void AddAreas(GeoPackage& gpkg, const City& city, const char* name, const std::vector<Area>& areas) {
  OGRLayer* layer = gpkg.Layer(name, wkbMultiPolygon, {}, city.epsg);
  for (const Area& area : areas)
    if (!area.parts.empty()) gpkg.Add(layer, area.name, ToMultiPolygon(area.parts, city.origin));
}

std::unique_ptr<OGRPoint> PointAt(const City& city, Vec2 at) {
  return std::make_unique<OGRPoint>(at.x + city.origin.x, at.y + city.origin.y);
}

// One layer a kind of place; dining places and the further kinds carry the contact columns.
void AddPoiLayer(GeoPackage& gpkg, const City& city, PoiType type, bool withContact) {
  const std::vector<std::string> contact = {city::kLinkmanField, city::kTelField, city::kAddressField,
                                            city::kWebField};
  OGRLayer* layer =
      gpkg.Layer(PoiTypeName(type), wkbPoint, withContact ? contact : std::vector<std::string>{}, city.epsg);
  for (const Poi& poi : city.pois[size_t(type)]) {
    gpkg.Add(layer, poi.name, PointAt(city, poi.at), [&](OGRFeature& feature) {
      if (!withContact) return;
      const std::string* values[] = {&poi.linkman, &poi.tel, &poi.address, &poi.web};
      for (int k = 0; k < 4; ++k) {
        if (!values[k]->empty()) feature.SetField(contact[k].c_str(), values[k]->c_str());
      }
    });
  }
}

void AddPois(GeoPackage& gpkg, const City& city) {
  for (PoiType type : kPoiTypes) AddPoiLayer(gpkg, city, type, type == PoiType::Dining);
  for (PoiType type : kMorePoiTypes)
    if (!city.pois[size_t(type)].empty()) AddPoiLayer(gpkg, city, type, true);
}

// The drawn ways of one layer, with their kind; no layer when there are none.
void AddWays(GeoPackage& gpkg, const City& city, const char* name, const std::vector<Way>& ways) {
  if (ways.empty()) return;
  OGRLayer* layer = gpkg.Layer(name, wkbLineString, {city::kKindField}, city.epsg);
  for (const Way& way : ways)
    gpkg.Add(layer, way.name, ToLine(way.line, city.origin),
             [&](OGRFeature& feature) { feature.SetField(city::kKindField, way.kind.c_str()); });
}

// The bus lines; a city that records modes gives each line its mode and colour as attributes.
void AddBusLines(GeoPackage& gpkg, const City& city) {
  const bool modes = RecordsModes(city);
  const std::vector<std::string> fields = {city::kModeField, city::kColourField};
  OGRLayer* lines =
      gpkg.Layer(layer::kBusLines, wkbLineString, modes ? fields : std::vector<std::string>{}, city.epsg);
  for (const BusLine& line : city.lines)
    gpkg.Add(lines, line.name, ToLine(line.route, city.origin), [&](OGRFeature& feature) {
      if (!modes) return;
      feature.SetField(city::kModeField, line.mode.c_str());
      if (!line.colour.empty()) feature.SetField(city::kColourField, line.colour.c_str());
    });
}

}  // namespace

const char* RoadLayerName(RoadClass roadClass) {
  switch (roadClass) {
    case RoadClass::Main:
      return layer::kMainRoads;
    case RoadClass::Secondary:
      return layer::kSecondaryRoads;
    default:
      return layer::kBranchRoads;
  }
}

std::string WriteLayers(const City& city, const std::string& gpkgPath) {
  // The file is written under a temporary name and renamed at the end, so waiting for the disk
  // after every transaction buys nothing.
  const CPLConfigOptionSetter noSync("OGR_SQLITE_SYNCHRONOUS", "OFF", false);
  const std::string temporary = gpkgPath + ".new.gpkg";  // the driver wants the .gpkg ending
  std::filesystem::remove(temporary);
  GeoPackage gpkg(temporary);
  const Vec2 origin = city.origin;
  AddAreas(gpkg, city, layer::kDistricts, city.districts);
  AddAreas(gpkg, city, layer::kGreens, city.greens);
  AddAreas(gpkg, city, layer::kWaters, city.waters);
  AddAreas(gpkg, city, layer::kWall, {city.wall});

  OGRLayer* borders = gpkg.Layer(layer::kBorders, wkbMultiLineString, {}, city.epsg);
  for (const NamedLine& border : city.districtBorders)
    gpkg.Add(borders, border.name, ToMultiLine(border.parts, origin));

  // Only a city with ways people may not walk marks them (the walking network leaves them out).
  const bool marked =
      std::any_of(city.roads.begin(), city.roads.end(), [](const Road& r) { return !r.walkable; });
  for (RoadClass roadClass : {RoadClass::Main, RoadClass::Secondary, RoadClass::Branch}) {
    OGRLayer* roads = gpkg.Layer(
        RoadLayerName(roadClass), wkbLineString,
        marked ? std::vector<std::string>{city::kFootField} : std::vector<std::string>{}, city.epsg);
    for (const Road& road : city.roads) {
      if (road.roadClass != roadClass) continue;
      gpkg.Add(roads, road.name, ToLine(road.line, origin), [&](OGRFeature& feature) {
        if (!road.walkable) feature.SetField(city::kFootField, "no");
      });
    }
  }
  OGRLayer* streets = gpkg.Layer(layer::kStreets, wkbLineString, {"class"}, city.epsg);
  for (const Road& road : city.roads) {
    gpkg.Add(streets, road.name, ToLine(road.line, origin),
             [&](OGRFeature& feature) { feature.SetField("class", RoadLayerName(road.roadClass)); });
  }

  AddBusLines(gpkg, city);
  OGRLayer* stops = gpkg.Layer(layer::kBusStops, wkbPoint, {}, city.epsg);
  for (const Stop& stop : city.stops) gpkg.Add(stops, stop.name, PointAt(city, stop.at));

  AddPois(gpkg, city);
  AddWays(gpkg, city, layer::kFootways, city.footways);
  AddWays(gpkg, city, layer::kRailways, city.railways);
  AddWays(gpkg, city, layer::kRivers, city.rivers);
  AddWays(gpkg, city, layer::kWalkways, city.walkways);
  if (!city.buildings.empty()) AddAreas(gpkg, city, layer::kBuildings, city.buildings);
  const std::string error = gpkg.Close();
  if (!error.empty()) return error;
  std::error_code failure;
  std::filesystem::rename(temporary, gpkgPath, failure);
  return failure ? "cannot replace " + gpkgPath + ": " + failure.message() : "";
}

}  // namespace citygen
