#include "import/osm/OsmTags.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <initializer_list>
#include <string_view>

namespace qiwu::import::osm {
namespace {

// The length of the blank or control character at `at` (ASCII blanks and controls, U+0080 to
// U+00A0, the ideographic space U+3000); 0 for any other.
std::size_t BlankAt(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  if (byte(at) <= 0x20 || byte(at) == 0x7F) return 1;
  if (byte(at) == 0xC2 && at + 1 < text.size() && byte(at + 1) >= 0x80 && byte(at + 1) <= 0xA0) return 2;
  return text.substr(at, 3) == "\xE3\x80\x80" ? 3 : 0;
}

// Without the blank and control characters at either end; "" when it holds nothing else.
std::string Trimmed(std::string_view text) {
  std::size_t first = text.size(), end = 0;
  for (std::size_t at = 0; at < text.size();) {
    if (const std::size_t blank = BlankAt(text, at)) {
      at += blank;
      continue;
    }
    first = std::min(first, at);
    do ++at;
    while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80);
    end = at;
  }
  return first < end ? std::string(text.substr(first, end - first)) : std::string();
}

bool OneOf(const std::string& value, std::initializer_list<std::string_view> values) {
  return std::find(values.begin(), values.end(), value) != values.end();
}

std::string FirstOf(const Tags& tags, std::initializer_list<const char*> keys) {
  for (const char* key : keys)
    if (std::string value = Trimmed(tags(key)); !value.empty()) return value;
  return {};
}

bool Has(const Tags& tags, const char* key) { return !Trimmed(tags(key)).empty(); }

// A tag's value as a kind of the report: one line, of a bounded length.
std::string ReportValue(const std::string& value) {
  constexpr std::size_t kLongest = 40;
  std::size_t cut = std::min(value.size(), kLongest);
  while (cut > 0 && cut < value.size() && (static_cast<unsigned char>(value[cut]) & 0xC0) == 0x80) --cut;
  std::string shown = value.substr(0, cut);
  for (char& c : shown)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  return cut < value.size() ? shown + "…" : shown;
}

}  // namespace

std::string NameFrom(const Tags& tags, const std::vector<std::string>& keys) {
  for (const std::string& key : keys)
    if (std::string value = Trimmed(tags(key.c_str())); !value.empty()) return value;
  return {};
}

std::vector<std::string> OtherNames(const Tags& tags, const std::vector<std::string>& keys,
                                    const std::string& chosen) {
  std::vector<std::string> names;
  const auto add = [&](const std::string& key) {
    std::string name = Trimmed(tags(key.c_str()));
    if (!name.empty() && name != chosen && std::find(names.begin(), names.end(), name) == names.end())
      names.push_back(std::move(name));
  };
  for (const char* key : {"name", "name:en", "old_name"}) add(key);
  for (const std::string& key : keys) add(key);
  return names;
}

std::string RefuseNameKey(const std::string& key) {
  if (key.empty()) return "a name key may not be empty";
  if (key.size() > 64) return "a name key has at most 64 bytes: " + ReportValue(key);
  for (const char c : key)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != ':' && c != '_' && c != '-')
      return "a name key holds only letters, digits, ':', '_' and '-': " + ReportValue(key);
  return {};
}

bool IsTransitStop(const Tags& tags) {
  return Has(tags, "public_transport") ||
         OneOf(tags("railway"), {"station", "halt", "stop", "tram_stop", "subway_entrance", "platform"}) ||
         OneOf(tags("highway"), {"bus_stop", "platform"}) ||
         OneOf(tags("amenity"), {"bus_station", "ferry_terminal"});
}

std::optional<citygen::PoiType> PlaceType(const Tags& tags) {
  using citygen::PoiType;
  const std::string amenity = tags("amenity");
  if (OneOf(amenity, {"restaurant", "cafe", "fast_food", "bar", "pub", "food_court", "ice_cream", "cinema",
                      "theatre", "nightclub", "karaoke_box"}))
    return PoiType::Dining;
  if (OneOf(amenity, {"bank", "bureau_de_change"})) return PoiType::Bank;
  if (OneOf(amenity, {"hospital", "clinic", "doctors", "dentist"})) return PoiType::Clinic;
  if (OneOf(amenity, {"university", "college"})) return PoiType::College;
  const std::string tourism = tags("tourism");
  if (OneOf(tourism, {"attraction", "museum", "viewpoint", "zoo", "theme_park", "gallery"}) ||
      OneOf(tags("historic"), {"monument", "memorial", "castle", "temple", "ruins", "archaeological_site",
                               "city_gate", "fort", "building"}))
    return PoiType::Sight;
  // Areas of their own layers and the stops of the routes are not also places.
  if (IsGreen(tags) || IsWater(tags) || tags("boundary") == "administrative" || IsTransitStop(tags))
    return std::nullopt;
  if (Has(tags, "shop")) return PoiType::Shop;
  if (OneOf(tourism, {"hotel", "hostel", "guest_house", "motel"})) return PoiType::Lodging;
  if (OneOf(amenity, {"school", "kindergarten"})) return PoiType::School;
  if (amenity == "place_of_worship") return PoiType::Worship;
  if (OneOf(amenity, {"post_office", "police", "townhall", "library", "fire_station", "courthouse"}))
    return PoiType::PublicService;
  if (OneOf(amenity, {"parking", "fuel", "bicycle_rental", "charging_station"}))
    return PoiType::TransportFacility;
  const std::string leisure = tags("leisure");
  if (OneOf(leisure, {"sports_centre", "stadium"}) || amenity == "arts_centre") return PoiType::Venue;
  if (amenity == "pharmacy") return PoiType::Pharmacy;
  if (!Trimmed(amenity).empty() || !Trimmed(tourism).empty() || !Trimmed(leisure).empty() ||
      Has(tags, "office"))
    return PoiType::OtherPlace;
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

std::string FootwayKind(const Tags& tags) {
  std::string highway = tags("highway");
  return OneOf(highway, {"footway", "path", "steps", "cycleway"}) ? highway : "";
}

bool IsWalkable(const Tags& tags) {
  const std::string highway = tags("highway");
  if (highway.empty() ||
      OneOf(highway, {"motorway", "motorway_link", "trunk_link", "construction", "proposed"}))
    return false;
  const std::string foot = tags("foot");
  return foot != "no" && (foot == "yes" || !OneOf(tags("access"), {"private", "no"}));
}

std::string RailwayKind(const Tags& tags) {
  std::string railway = tags("railway");
  return OneOf(railway, {"rail", "subway", "light_rail", "tram", "narrow_gauge"}) ? railway : "";
}

std::string RiverKind(const Tags& tags) {
  std::string waterway = tags("waterway");
  return OneOf(waterway, {"river", "canal", "stream"}) ? waterway : "";
}

bool IsBuilding(const Tags& tags) {
  const std::string building = Trimmed(tags("building"));
  return !building.empty() && building != "no";
}

bool IsWater(const Tags& tags) {
  return tags("natural") == "water" || tags("waterway") == "riverbank" ||
         OneOf(tags("landuse"), {"reservoir", "basin"});
}

bool IsGreen(const Tags& tags) {
  return OneOf(tags("leisure"), {"park", "garden", "nature_reserve"}) ||
         OneOf(tags("landuse"),
               {"grass", "forest", "meadow", "recreation_ground", "village_green", "park"}) ||
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

std::string ReportKind(const char* key, const std::string& value) { return key + ("=" + ReportValue(value)); }

std::string MainTag(const Tags& tags) {
  for (const char* key :
       {"amenity", "shop", "tourism", "leisure", "office", "historic", "highway", "railway", "waterway",
        "natural", "landuse", "building", "boundary", "public_transport", "route"})
    if (const std::string value = tags(key); !value.empty()) return ReportKind(key, value);
  return "other tags";
}

std::string RouteMode(const std::string& route) {
  if (route == "train") return "rail";
  return OneOf(route, {"bus", "trolleybus", "tram", "subway", "light_rail", "monorail", "ferry", "funicular",
                       "aerialway"})
             ? route
             : "";
}

std::string RouteColour(const std::string& colour) {
  std::string digits = colour.starts_with('#') ? colour.substr(1) : colour;
  if (digits.size() != 6 ||
      !std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isxdigit(c); }))
    return {};
  for (char& c : digits) c = char(std::toupper(static_cast<unsigned char>(c)));
  return digits;
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
