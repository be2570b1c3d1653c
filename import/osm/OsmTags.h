#pragma once
// What an OpenStreetMap feature becomes in the city, decided from its tags alone.
#include <optional>
#include <string>

#include "dataset/City.h"

namespace qiwu::import::osm {

// Reads a tag's value by its OSM key ("name:zh", "addr:street"); absent tags read as "".
struct Tags {
  virtual ~Tags() = default;
  virtual std::string operator()(const char* key) const = 0;
};

// name:zh, else name (trimmed); "" when the feature has neither.
std::string DisplayName(const Tags& tags);

// The point type of a place from amenity, tourism and historic.
std::optional<citygen::PoiType> PlaceType(const Tags& tags);

// The class of a named road from highway; nothing for ways that are not streets for cars and
// pedestrians in town (paths, tracks, steps, cycleways, platforms, proposed roads).
std::optional<citygen::RoadClass> RoadClassOf(const Tags& tags);

bool IsWater(const Tags& tags);  // natural=water, waterway=riverbank, landuse=reservoir/basin
bool IsGreen(const Tags& tags);  // parks, gardens, woods, grass and similar land
// admin_level of an administrative boundary; nothing for any other feature.
std::optional<int> AdministrativeLevel(const Tags& tags);

// The card's fields.
std::string Telephone(const Tags& tags);  // phone, else contact:phone
std::string Website(const Tags& tags);    // website, else contact:website
// addr:full, else province, city, district, street and house number joined: directly after a
// Chinese part, with a space after a Latin one.
std::string Address(const Tags& tags);

}  // namespace qiwu::import::osm
