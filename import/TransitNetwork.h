#pragma once
// A bus network as the open-data readers hand it to the importer: names as the source spells them,
// positions in longitude and latitude (WGS 84), before the city's projection is chosen.
#include <algorithm>
#include <string>
#include <vector>

#include "dataset/Timetable.h"
#include "import/ImportReport.h"

namespace qiwu::import {

struct LonLat {
  double lon = 0;
  double lat = 0;
};

// One stop point. Several points may share a name (the two sides of a street); the bus table
// knows only the name, the stop layer every point.
struct TransitStop {
  std::string name;
  LonLat at;
};

struct TransitLine {
  std::string name;           // unique within the network
  std::vector<int> stops;     // indices into TransitNetwork::stops, in riding order
  std::vector<LonLat> route;  // the line's course; the stops joined where the source has none
  std::string mode;           // a key of city::kTransitModes (data/TransitMode.h)
  std::string colour;         // RRGGBB, upper case, or empty
};

// The corners of what a source covers, in longitude and latitude.
struct LonLatBox {
  LonLat min{1e300, 1e300}, max{-1e300, -1e300};
  bool Empty() const { return min.lon > max.lon; }
  void Add(LonLat at) {
    min = {std::min(min.lon, at.lon), std::min(min.lat, at.lat)};
    max = {std::max(max.lon, at.lon), std::max(max.lat, at.lat)};
  }
};

struct TransitNetwork {
  std::vector<TransitStop> stops;
  std::vector<TransitLine> lines;  // in the order the bus table numbers them (ID 1, 2, …)
  // One a source read (each GTFS feed): what it held and what became of it, and the box of its stops.
  std::vector<SourceReport> reports;
  std::vector<LonLatBox> extents;
  // When the trips of the lines run, where the source tells it (GTFS feeds; not OpenStreetMap's
  // route relations): platform positions as x = longitude, y = latitude.
  citygen::Timetable timetable;
};

}  // namespace qiwu::import
