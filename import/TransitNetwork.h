#pragma once
// A bus network as the open-data readers hand it to the importer: names as the source spells them,
// positions in longitude and latitude (WGS 84), before the city's projection is chosen.
#include <string>
#include <vector>

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
};

struct TransitNetwork {
  std::vector<TransitStop> stops;
  std::vector<TransitLine> lines;  // in the order the bus table numbers them (ID 1, 2, …)
};

}  // namespace qiwu::import
