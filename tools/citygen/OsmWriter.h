#pragma once
// The city as an OpenStreetMap XML extract, tagged the way mappers tag a real city: places as
// nodes, roads as ways, districts, water and parks as relations, bus lines as route relations with
// their stops in order. Coordinates in longitude and latitude from the city's CRS.
#include <string>

#include "dataset/City.h"

namespace citygen {

// Writes the extract at path (replacing it); returns an empty string or the error.
std::string WriteOsmXml(const City& city, const std::string& path);

}  // namespace citygen
