#pragma once
// Which administrative level of an extract makes the city's districts.
#include <map>

namespace qiwu::import::osm {

inline constexpr int kFewestDistricts = 3;
inline constexpr int kMostDistricts = 40;

// From the number of boundaries at each admin_level: the coarsest level (smallest number) with
// kFewestDistricts to kMostDistricts areas; without one, the level whose count lies nearest to that
// range (ties to the coarser). 0 when there are no boundaries.
int DistrictLevel(const std::map<int, int>& areasPerLevel);

}  // namespace qiwu::import::osm
