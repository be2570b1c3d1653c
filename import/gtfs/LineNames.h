#pragma once
// Unique names for the lines of several feeds.
#include <string>
#include <string_view>
#include <vector>

namespace qiwu::import {

struct RouteName {
  std::string name;  // the route's own name (OwnLineName), not yet unique
  std::string routeId;
  std::string feed;  // the feed's label
};

// A route's own name: route_short_name, else route_long_name (each without blanks at either end),
// else route_id.
std::string_view OwnLineName(std::string_view shortName, std::string_view longName, std::string_view routeId);

// The name of each route, in the same order: the name itself where no other route shares it,
// else "name (route_id)", and where that still repeats "name (route_id, feed)". A name that even so
// matches an earlier one gets " [2]", " [3]", ….
std::vector<std::string> UniqueLineNames(const std::vector<RouteName>& routes);

}  // namespace qiwu::import
