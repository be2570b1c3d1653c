#include "import/osm/OsmDistricts.h"

#include <climits>

namespace qiwu::import::osm {

int DistrictLevel(const std::map<int, int>& areasPerLevel) {
  int best = 0, bestDistance = INT_MAX;
  for (const auto& [level, count] : areasPerLevel) {  // coarsest first
    const int distance = count < kFewestDistricts ? kFewestDistricts - count
                         : count > kMostDistricts ? count - kMostDistricts
                                                  : 0;
    if (distance < bestDistance) best = level, bestDistance = distance;
  }
  return best;
}

}  // namespace qiwu::import::osm
