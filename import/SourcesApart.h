#pragma once
// Sources that must meet: an extract and a feed (or two feeds) whose boxes lie far apart are
// almost always a mistake (the wrong file), and together they make a city that opens on an
// empty map.
#include <string>
#include <vector>

#include "import/TransitNetwork.h"

namespace qiwu::import {

struct SourceExtent {
  std::string source;  // how the message names it: "map.osm", "the stops of gtfs.zip"
  LonLatBox box;
};

inline constexpr double kMostApartKm = 20;

// The shortest distance in kilometres between two boxes (0 when they overlap or touch).
double KmApart(const LonLatBox& a, const LonLatBox& b);

// Empty when every two of the sources' boxes (empty ones left aside) lie at most kMostApartKm
// apart; otherwise the first pair that does not, naming both extents.
std::string ApartSources(const std::vector<SourceExtent>& sources);

}  // namespace qiwu::import
