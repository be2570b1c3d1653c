#include "import/osm/OsmTags.h"

#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <string_view>

namespace qiwu::import::osm {
namespace {

std::string Trimmed(std::string text) {
  const auto blank = [](unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.back())) text.pop_back();
  const auto first = std::find_if_not(text.begin(), text.end(), blank);
  return std::string(first, text.end());
}

bool OneOf(const std::string& value, std::initializer_list<std::string_view> values) {
  return std::find(values.begin(), values.end(), value) != values.end();
}

std::string FirstOf(const Tags& tags, std::initializer_list<const char*> keys) {
  for (const char* key : keys)
    if (std::string value = Trimmed(tags(key)); !value.empty()) return value;
  return {};
}

}  // namespace

std::string DisplayName(const Tags& tags) { return FirstOf(tags, {"name:zh", "name"}); }

std::optional<citygen::PoiType> PlaceType(const Tags& tags) {
  using citygen::PoiType;
  const std::string amenity = tags("amenity");
  if (OneOf(amenity, {"restaurant", "cafe", "fast_food", "bar", "pub", "food_court", "ice_cream", "cinema",
                      "theatre", "nightclub", "karaoke_box"}))
    return PoiType::Dining;
  if (OneOf(amenity, {"bank", "bureau_de_change"})) return PoiType::Bank;
  if (OneOf(amenity, {"hospital", "clinic", "doctors", "dentist"})) return PoiType::Clinic;
  if (OneOf(amenity, {"university", "college"})) return PoiType::College;
  if (OneOf(tags("tourism"), {"attraction", "museum", "viewpoint", "zoo", "theme_park", "gallery"}) ||
      OneOf(tags("historic"), {"monument", "memorial", "castle", "temple", "ruins", "archaeological_site",
                               "city_gate", "fort", "building"}))
    return PoiType::Sight;
  return std::nullopt;
}

std::optional<citygen::RoadClass> RoadClassOf(const Tags& tags) {
  using citygen::RoadClass;
  const std::string highway = tags("highway");
  if (OneOf(highway, {"motorway", "trunk", "primary", "motorway_link", "trunk_link", "primary_link"}))
    return RoadClass::Main;
  if (OneOf(highway, {"secondary", "tertiary", "secondary_link", "tertiary_link"}))
    return RoadClass::Secondary;
  if (OneOf(highway, {"residential", "unclassified", "living_street", "service", "pedestrian", "road"}))
    return RoadClass::Branch;
  return std::nullopt;
}

bool IsWater(const Tags& tags) {
  return tags("natural") == "water" || tags("waterway") == "riverbank" ||
         OneOf(tags("landuse"), {"reservoir", "basin"});
}

bool IsGreen(const Tags& tags) {
  return OneOf(tags("leisure"), {"park", "garden", "nature_reserve"}) ||
         OneOf(tags("landuse"), {"grass", "forest", "meadow", "recreation_ground", "village_green"}) ||
         OneOf(tags("natural"), {"wood", "grassland", "scrub"});
}

std::optional<int> AdministrativeLevel(const Tags& tags) {
  if (tags("boundary") != "administrative") return std::nullopt;
  const std::string level = Trimmed(tags("admin_level"));
  char* end = nullptr;
  const long value = std::strtol(level.c_str(), &end, 10);
  if (level.empty() || *end || value < 1 || value > 12) return std::nullopt;
  return int(value);
}

std::string Telephone(const Tags& tags) { return FirstOf(tags, {"phone", "contact:phone"}); }
std::string Website(const Tags& tags) { return FirstOf(tags, {"website", "contact:website"}); }

std::string Address(const Tags& tags) {
  if (std::string full = FirstOf(tags, {"addr:full"}); !full.empty()) return full;
  std::string address;
  for (const char* key : {"addr:province", "addr:city", "addr:district", "addr:street", "addr:housenumber"}) {
    const std::string part = Trimmed(tags(key));
    if (part.empty()) continue;
    // Chinese parts follow each other directly (广东省广州市); Latin ones are spaced.
    if (!address.empty() && (unsigned char)(address.back()) < 0x80) address += ' ';
    address += part;
  }
  return address;
}

}  // namespace qiwu::import::osm
