#include "tools/citygen/OsmWriter.h"

#include <ogr_spatialref.h>

#include <cstdio>
#include <memory>
#include <utility>
#include <vector>

#include "dataset/Writers.h"

namespace citygen {
namespace {

using Tags = std::vector<std::pair<std::string, std::string>>;

std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

Tags PlaceTags(PoiType type) {
  switch (type) {
    case PoiType::Dining:
      return {{"amenity", "restaurant"}};
    case PoiType::College:
      return {{"amenity", "college"}};
    case PoiType::Sight:
      return {{"tourism", "attraction"}};
    case PoiType::Bank:
      return {{"amenity", "bank"}};
    case PoiType::Clinic:
      return {{"amenity", "clinic"}};
    default:  // the generator makes places of the first five kinds only
      return {};
  }
}

const char* Highway(RoadClass roadClass) {
  switch (roadClass) {
    case RoadClass::Main:
      return "primary";
    case RoadClass::Secondary:
      return "secondary";
    default:
      return "residential";
  }
}

class OsmText {
 public:
  explicit OsmText(const City& city) : origin_(city.origin) {
    OGRSpatialReference map, lonLat;
    map.importFromEPSG(city.epsg);
    lonLat.importFromEPSG(4326);
    map.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    lonLat.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    transform_.reset(OGRCreateCoordinateTransformation(&map, &lonLat));
  }
  bool ok() const { return transform_ != nullptr; }

  long Node(Vec2 at, const Tags& tags = {}) {
    double x = at.x + origin_.x, y = at.y + origin_.y;
    transform_->Transform(1, &x, &y);
    char position[96];
    std::snprintf(position, sizeof position, "lat=\"%.8f\" lon=\"%.8f\"", y, x);
    nodes_ += " <node id=\"" + std::to_string(++lastId_) + "\" version=\"1\" " + position;
    nodes_ += tags.empty() ? "/>\n" : ">\n" + TagText(tags) + " </node>\n";
    return lastId_;
  }
  long Way(const Polyline& line, const Tags& tags = {}) {
    std::vector<long> refs;
    for (const Vec2& p : line) refs.push_back(Node(p));
    // A closed ring ends on the node it starts from.
    if (line.size() > 2 && line.front() == line.back()) refs.back() = refs.front();
    std::string text = " <way id=\"" + std::to_string(++lastId_) + "\" version=\"1\">\n";
    for (long ref : refs) text += "  <nd ref=\"" + std::to_string(ref) + "\"/>\n";
    ways_ += text + TagText(tags) + " </way>\n";
    return lastId_;
  }
  void Relation(const std::vector<std::pair<std::string, long>>& wayMembers,
                const std::vector<std::pair<std::string, long>>& nodeMembers, const Tags& tags) {
    std::string text = " <relation id=\"" + std::to_string(++lastId_) + "\" version=\"1\">\n";
    for (const auto& [role, ref] : nodeMembers)
      text += "  <member type=\"node\" ref=\"" + std::to_string(ref) + "\" role=\"" + role + "\"/>\n";
    for (const auto& [role, ref] : wayMembers)
      text += "  <member type=\"way\" ref=\"" + std::to_string(ref) + "\" role=\"" + role + "\"/>\n";
    relations_ += text + TagText(tags) + " </relation>\n";
  }
  void Area(const citygen::Area& area, Tags tags) {
    std::vector<std::pair<std::string, long>> members;
    for (const Polygon& part : area.parts)
      for (std::size_t k = 0; k < part.rings.size(); ++k)
        members.push_back({k ? "inner" : "outer", Way(part.rings[k])});
    tags.push_back({"name", area.name});
    Relation(members, {}, tags);
  }
  std::string Text() const {
    return "<?xml version='1.0' encoding='UTF-8'?>\n<osm version=\"0.6\" generator=\"qiwu-citygen\">\n" +
           nodes_ + ways_ + relations_ + "</osm>\n";
  }

 private:
  static std::string TagText(const Tags& tags) {
    std::string text;
    for (const auto& [key, value] : tags)
      if (!value.empty()) text += "  <tag k=\"" + Escaped(key) + "\" v=\"" + Escaped(value) + "\"/>\n";
    return text;
  }

  Vec2 origin_;
  std::unique_ptr<OGRCoordinateTransformation> transform_;
  long lastId_ = 0;
  std::string nodes_, ways_, relations_;
};

}  // namespace

std::string WriteOsmXml(const City& city, const std::string& path) {
  OsmText osm(city);
  if (!osm.ok())
    return "no transformation from EPSG:" + std::to_string(city.epsg) + " to longitude and latitude";
  for (PoiType type : kPoiTypes)
    for (const Poi& poi : city.pois[std::size_t(type)]) {
      Tags tags = PlaceTags(type);
      tags.insert(tags.end(), {{"name", poi.name},
                               {"operator", poi.linkman},
                               {"phone", poi.tel},
                               {"addr:full", poi.address},
                               {"website", poi.web}});
      osm.Node(poi.at, tags);
    }
  for (const Road& road : city.roads)
    osm.Way(road.line, {{"highway", Highway(road.roadClass)}, {"name", road.name}});
  for (const citygen::Area& district : city.districts)
    osm.Area(district, {{"type", "boundary"}, {"boundary", "administrative"}, {"admin_level", "8"}});
  for (const citygen::Area& water : city.waters)
    osm.Area(water, {{"type", "multipolygon"}, {"natural", "water"}});
  for (const citygen::Area& green : city.greens)
    osm.Area(green, {{"type", "multipolygon"}, {"leisure", "park"}});
  std::vector<long> stopNodes;
  for (const Stop& stop : city.stops)
    stopNodes.push_back(osm.Node(stop.at, {{"highway", "bus_stop"}, {"name", stop.name}}));
  for (const BusLine& line : city.lines) {
    std::vector<std::pair<std::string, long>> stops;
    for (int stop : line.stops) stops.push_back({"stop", stopNodes[std::size_t(stop)]});
    osm.Relation({}, stops, {{"type", "route"}, {"route", "bus"}, {"ref", line.name}, {"name", line.name}});
  }
  return ReplaceFile(path, osm.Text());
}

}  // namespace citygen
