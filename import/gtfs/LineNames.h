#pragma once
// Unique names for the lines of several feeds.
#include <string>
#include <vector>

namespace qiwu::import {

struct RouteName {
  std::string name;  // route_short_name trimmed, else route_id
  std::string routeId;
  std::string feed;  // the feed's label
};

// The name of each route, in the same order: the name itself where no other route shares it,
// else "name (route_id)", and where that still repeats "name (route_id, feed)". A name that even so
// matches an earlier one gets " [2]", " [3]", ….
std::vector<std::string> UniqueLineNames(const std::vector<RouteName>& routes);

}  // namespace qiwu::import
