#pragma once
// What an OpenStreetMap feature becomes in the city, decided from its tags alone.
#include <optional>
#include <string>
#include <vector>

#include "dataset/City.h"

namespace qiwu::import::osm {

// Reads a tag's value by its OSM key ("name:zh", "addr:street"); absent tags read as "".
struct Tags {
  virtual ~Tags() = default;
  virtual std::string operator()(const char* key) const = 0;
};

// The value of the first of `keys` that holds a name: trimmed of blanks and control characters,
// so that a value of only those is no name. "" when none does.
std::string NameFrom(const Tags& tags, const std::vector<std::string>& keys);

// The feature's other names, trimmed alike: name, name:en, old_name, then the rest of `keys`, in
// that order, without `chosen` (its name) and without repeats.
std::vector<std::string> OtherNames(const Tags& tags, const std::vector<std::string>& keys,
                                    const std::string& chosen);

// Why a key cannot be a name key ("" when it can): keys reach GDAL's configuration, so only
// letters, digits, ':', '_' and '-', at most 64 bytes.
std::string RefuseNameKey(const std::string& key);

// The kind of place a feature is: the table of docs/import-osm.md, top to bottom, first match.
// Nothing for green, water and district areas, transit stations and stops, and any other feature.
std::optional<citygen::PoiType> PlaceType(const Tags& tags);

// A transit station or stop (public_transport=*, railway=station…, highway=bus_stop…): it stays
// with the stops of the routes, not a place.
bool IsTransitStop(const Tags& tags);

// The class of a named road from highway; nothing for ways that are not streets for cars and
// pedestrians in town (paths, tracks, steps, cycleways, platforms, proposed roads).
std::optional<citygen::RoadClass> RoadClassOf(const Tags& tags);

// The drawn ways' kinds (the tag's value), "" for a feature that is not one.
std::string FootwayKind(const Tags& tags);  // highway=footway, path, steps, cycleway
// Whether people may walk the way: any highway but motorways, trunk links and roads under
// construction or proposed, unless foot=no, or access=private|no without foot=yes.
bool IsWalkable(const Tags& tags);
std::string RailwayKind(const Tags& tags);  // railway=rail, subway, light_rail, tram, narrow_gauge
std::string RiverKind(const Tags& tags);    // waterway=river, canal, stream
bool IsBuilding(const Tags& tags);          // building=*, not building=no

bool IsWater(const Tags& tags);  // natural=water, waterway=riverbank, landuse=reservoir/basin
bool IsGreen(const Tags& tags);  // parks, gardens, woods, grass and similar land
// admin_level of an administrative boundary; nothing for any other feature.
std::optional<int> AdministrativeLevel(const Tags& tags);

// "key=value" as a kind of the import report: one line, the value cut after 40 bytes.
std::string ReportKind(const char* key, const std::string& value);

// "key=value" of the first of the main keys the feature has (amenity, shop, tourism, leisure,
// office, historic, highway, railway, waterway, natural, landuse, building, boundary,
// public_transport, route), else "other tags": the kind the import report counts it as.
std::string MainTag(const Tags& tags);

// The mode of transit (a key of data/TransitMode.h) of a route relation's route value: bus,
// trolleybus, tram, subway, light_rail, monorail, ferry, funicular and aerialway are their own
// keys, train is rail; "" for any other value.
std::string RouteMode(const std::string& route);
// A colour tag's value "#RRGGBB" or "RRGGBB" as RRGGBB in upper case; "" for any other value.
std::string RouteColour(const std::string& colour);

// The card's fields.
std::string Telephone(const Tags& tags);  // phone, else contact:phone
std::string Website(const Tags& tags);    // website, else contact:website
// addr:full, else province, city, district, street and house number joined: directly after a
// Chinese part, with a space after a Latin one.
std::string Address(const Tags& tags);

}  // namespace qiwu::import::osm
