#include "import/gtfs/LineNames.h"

#include <unordered_map>
#include <unordered_set>

#include "import/gtfs/FieldText.h"

namespace qiwu::import {

std::string_view OwnLineName(std::string_view shortName, std::string_view longName,
                             std::string_view routeId) {
  if (const std::string_view name = Trimmed(shortName); !name.empty()) return name;
  if (const std::string_view name = Trimmed(longName); !name.empty()) return name;
  return routeId;
}

std::vector<std::string> UniqueLineNames(const std::vector<RouteName>& routes) {
  std::unordered_map<std::string, int> uses;
  for (const auto& route : routes) ++uses[route.name];
  std::vector<std::string> names;
  std::vector<bool> shared;
  for (const auto& route : routes) {
    shared.push_back(uses[route.name] > 1);
    names.push_back(shared.back() ? route.name + " (" + route.routeId + ")" : route.name);
  }
  // Among the renamed ones: the same route_id in several feeds.
  std::unordered_map<std::string, int> renamedUses;
  for (std::size_t i = 0; i < names.size(); ++i)
    if (shared[i]) ++renamedUses[names[i]];
  for (std::size_t i = 0; i < names.size(); ++i)
    if (shared[i] && renamedUses[names[i]] > 1)
      names[i] = routes[i].name + " (" + routes[i].routeId + ", " + routes[i].feed + ")";

  // What the rule leaves equal (two feeds of one label, a route named like another's new name).
  std::unordered_set<std::string> taken;
  for (auto& name : names) {
    const std::string base = name;
    for (int k = 2; !taken.insert(name).second; ++k) name = base + " [" + std::to_string(k) + "]";
  }
  return names;
}

}  // namespace qiwu::import
