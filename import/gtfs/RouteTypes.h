#pragma once
// What a GTFS route_type (the basic types and the extended ones of the Google Transit list) becomes:
// a mode of transit, or the reason the route is left out.
#include <cstdint>
#include <string>

namespace qiwu::import {

struct RouteKind {
  const char* mode;        // a key of city::kTransitModes, or null when the route is left out
  const char* leftOutFor;  // "air", "taxi", "miscellaneous", "not a mode of transit"; null when kept
};

RouteKind KindOfRouteType(std::uint32_t routeType);

// The report's kind of a route of that type: "route_type 3".
std::string RouteTypeKind(std::uint32_t routeType);

}  // namespace qiwu::import
