#pragma once
// A city as plain data. Coordinates are metres relative to the city's origin; the writers add the
// origin when they write a layer in the city's map CRS.
#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "dataset/Timetable.h"
#include "dataset/Vec2.h"

namespace citygen {

// The demo city's map CRS and origin (EPSG:4547, metres): its coordinates are relative to it.
constexpr int kDemoEpsg = 4547;
constexpr double kOriginX = 500000;
constexpr double kOriginY = 3400000;

using Polyline = std::vector<Vec2>;
using Ring = std::vector<Vec2>;  // closed: the last point repeats the first

struct Polygon {
  std::vector<Ring> rings;  // the first is the outer ring, the rest are holes
};

// A named area made of one or more polygons (a district, a park, a river).
struct Area {
  std::string name;
  std::vector<Polygon> parts;
};

struct NamedLine {
  std::string name;
  std::vector<Polyline> parts;
};

enum class RoadClass { Main, Secondary, Branch };

struct Road {
  std::string name;
  RoadClass roadClass = RoadClass::Branch;
  Polyline line;
  bool walkable = true;  // people may walk it (not a motorway, not foot=no)
};

struct Stop {
  std::string name;
  Vec2 at;
};

struct BusLine {
  std::string name;
  int id = 0;              // the line's sort key in the database
  std::vector<int> stops;  // indices into City::stops, in riding order
  Polyline route;          // passes every stop in that order
  // The mode of transit (TransitMode.h: bus, tram, subway…) and the route's colour (RRGGBB); both
  // empty in a city that records neither.
  std::string mode, colour;
};

// The kinds of place. Every city has the first five, in the order the database lists them; an
// imported city adds the others that it holds places of.
enum class PoiType {
  Dining,
  College,
  Sight,
  Bank,
  Clinic,
  Shop,
  Lodging,
  School,
  Worship,
  PublicService,
  TransportFacility,
  Venue,
  Pharmacy,
  OtherPlace
};
constexpr std::array<PoiType, 5> kPoiTypes = {PoiType::Dining, PoiType::College, PoiType::Sight,
                                              PoiType::Bank, PoiType::Clinic};
constexpr std::array<PoiType, 9> kMorePoiTypes = {
    PoiType::Shop,    PoiType::Lodging,       PoiType::School,
    PoiType::Worship, PoiType::PublicService, PoiType::TransportFacility,
    PoiType::Venue,   PoiType::Pharmacy,      PoiType::OtherPlace};
constexpr std::size_t kPoiTypeCount = kPoiTypes.size() + kMorePoiTypes.size();
const char* PoiTypeName(PoiType type);

struct Poi {
  std::string name;
  Vec2 at;
  // The contact columns: dining places and the further kinds fill them.
  std::string linkman, tel, address, web;
};

// A way that is drawn but is not a feature type: a footway, a railway, a river. kind is its
// OpenStreetMap value (footway, tram, canal…), an attribute the styles choose by.
struct Way {
  std::string name;
  std::string kind;
  Polyline line;
};

// Another name of a feature (its local or English name, an old name): the search box finds the
// feature by it. layer and name are the feature's type and name.
struct OtherName {
  std::string layer;
  std::string name;
  std::string other;
};

struct City {
  std::string name;                 // e.g. "栖坞市"
  int epsg = kDemoEpsg;             // the map CRS: projected, in metres
  Vec2 origin{kOriginX, kOriginY};  // map coordinates of the city's (0, 0), the initial view centre
  std::vector<Area> districts;
  std::vector<NamedLine> districtBorders;  // between districts, and the city's own border
  std::vector<Area> greens;
  std::vector<Area> waters;
  Area wall;
  std::vector<Road> roads;
  std::vector<Stop> stops;
  std::vector<BusLine> lines;
  std::array<std::vector<Poi>, kPoiTypeCount> pois;  // indexed by PoiType
  Vec2 tiePoint;                                     // two dining places lie exactly as far from it
  // Drawn only, written only when not empty.
  std::vector<Way> footways, railways, rivers;
  std::vector<Way> walkways;  // the walking network's unnamed and other walkable ways
  std::vector<Area> buildings;
  std::vector<OtherName> otherNames;
  Timetable timetable;  // empty: the city has none (written only when it has one)
};

// Whether the city records its lines' modes (an imported city does, the demo city does not): then
// the database has the table 线路属性 and the line layer the attributes mode and color.
bool RecordsModes(const City& city);

}  // namespace citygen
