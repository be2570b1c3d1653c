#include "import/gtfs/RouteTypes.h"

namespace qiwu::import {
namespace {

struct TypeRange {
  std::uint32_t first, last;
  RouteKind kind;
};

// Read top to bottom, first match wins (405 before the 400s).
constexpr TypeRange kRouteTypes[] = {
    {0, 0, {"tram", nullptr}},
    {1, 1, {"subway", nullptr}},
    {2, 2, {"rail", nullptr}},
    {3, 3, {"bus", nullptr}},
    {4, 4, {"ferry", nullptr}},
    {5, 5, {"cable_tram", nullptr}},
    {6, 6, {"aerialway", nullptr}},
    {7, 7, {"funicular", nullptr}},
    {11, 11, {"trolleybus", nullptr}},
    {12, 12, {"monorail", nullptr}},
    {100, 199, {"rail", nullptr}},
    {200, 299, {"coach", nullptr}},
    {300, 399, {"rail", nullptr}},
    {405, 405, {"monorail", nullptr}},
    {400, 699, {"subway", nullptr}},
    {700, 799, {"bus", nullptr}},
    {800, 899, {"trolleybus", nullptr}},
    {900, 999, {"tram", nullptr}},
    {1000, 1099, {"ferry", nullptr}},
    {1100, 1199, {nullptr, "air"}},
    {1200, 1299, {"ferry", nullptr}},
    {1300, 1399, {"aerialway", nullptr}},
    {1400, 1499, {"funicular", nullptr}},
    {1500, 1599, {nullptr, "taxi"}},
    {1600, 1699, {"other", nullptr}},
    {1700, 1799, {nullptr, "miscellaneous"}},
};

}  // namespace

RouteKind KindOfRouteType(std::uint32_t routeType) {
  for (const TypeRange& range : kRouteTypes)
    if (routeType >= range.first && routeType <= range.last) return range.kind;
  return {nullptr, "not a mode of transit"};
}

std::string RouteTypeKind(std::uint32_t routeType) { return "route_type " + std::to_string(routeType); }

}  // namespace qiwu::import
