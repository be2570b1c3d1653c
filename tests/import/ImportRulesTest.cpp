// The importer's rules that need no file: the map CRS, tags to city features and names, the
// district level, city names.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <stdexcept>
#include <vector>

#include "data/TransitMode.h"
#include "import/CityImport.h"
#include "import/MapProjection.h"
#include "import/osm/OsmDistricts.h"
#include "import/osm/OsmReader.h"
#include "import/osm/OsmTags.h"

using namespace qiwu::import;
using citygen::PoiType;
using citygen::RoadClass;

TEST(MapCrs, ZoneFromTheCentre) {
  const struct {
    double lon, lat;
    int epsg;
  } cases[] = {
      {75.0, 35.0, 4534},     {76.49, 35.0, 4534},  {76.5, 35.0, 4535},    {114.3, 30.6, 4547},
      {121.47, 31.2, 4549},   {134.9, 48.0, 4554},  {73.6, 39.5, 4534},    {126.97, 37.56, 32652},
      {-0.13, 51.5, 32630},   {0.0, 51.5, 32631},   {151.2, -33.9, 32756}, {-180.0, 10.0, 32601},
      {179.99, -10.0, 32760}, {-74.0, 40.7, 32618},
  };
  for (const auto& c : cases) EXPECT_EQ(ChooseMapEpsg({c.lon, c.lat}), c.epsg) << c.lon << "," << c.lat;
}

TEST(MapCrs, OnlyProjectedMetricCodes) {
  const struct {
    int epsg;
    bool accepted;
  } cases[] = {{4547, true}, {32650, true}, {3857, true}, {4326, false}, {2227, false}, {999999, false}};
  for (const auto& c : cases) EXPECT_EQ(RefuseMapEpsg(c.epsg).empty(), c.accepted) << c.epsg;
}

TEST(MapCrs, OriginIsTheProjectedCentre) {
  const MapProjection projection(4547, {114.0, 30.0});
  EXPECT_EQ(projection.origin().x, 500000);  // 114°E is the zone's central meridian
  const citygen::Vec2 centre = projection.ToCity({114.0, 30.0});
  EXPECT_NEAR(centre.x, 0, 1);
  EXPECT_NEAR(centre.y, 0, 1);
  EXPECT_GT(projection.ToCity({114.01, 30.0}).x, 900);  // about 963 m east
}

namespace {

struct TagMap : osm::Tags {
  std::map<std::string, std::string> values;
  TagMap(std::initializer_list<std::pair<const std::string, std::string>> v) : values(v) {}
  std::string operator()(const char* key) const override {
    const auto found = values.find(key);
    return found == values.end() ? "" : found->second;
  }
};

}  // namespace

std::string Described(const TagMap& tags) {
  std::string text;
  for (const auto& [key, value] : tags.values) text += key + "=" + value + " ";
  return text;
}

TEST(OsmTags, PlaceTypesFirstMatchWins) {
  const std::optional<PoiType> none;
  const struct {
    TagMap tags;
    std::optional<PoiType> type;
  } cases[] = {
      // The five kinds as before, cinemas and theatres among the dining places.
      {{{"amenity", "restaurant"}}, PoiType::Dining},
      {{{"amenity", "cinema"}}, PoiType::Dining},
      {{{"amenity", "theatre"}}, PoiType::Dining},
      {{{"amenity", "bank"}}, PoiType::Bank},
      {{{"amenity", "doctors"}}, PoiType::Clinic},
      {{{"amenity", "university"}}, PoiType::College},
      {{{"tourism", "museum"}}, PoiType::Sight},
      {{{"historic", "castle"}}, PoiType::Sight},
      // The further kinds.
      {{{"shop", "bakery"}}, PoiType::Shop},
      {{{"shop", "yes"}}, PoiType::Shop},
      {{{"tourism", "guest_house"}}, PoiType::Lodging},
      {{{"amenity", "kindergarten"}}, PoiType::School},
      {{{"amenity", "place_of_worship"}}, PoiType::Worship},
      {{{"amenity", "townhall"}}, PoiType::PublicService},
      {{{"amenity", "courthouse"}}, PoiType::PublicService},
      {{{"amenity", "charging_station"}}, PoiType::TransportFacility},
      {{{"leisure", "stadium"}}, PoiType::Venue},
      {{{"amenity", "arts_centre"}}, PoiType::Venue},
      {{{"amenity", "pharmacy"}}, PoiType::Pharmacy},
      {{{"amenity", "toilets"}}, PoiType::OtherPlace},
      {{{"office", "company"}}, PoiType::OtherPlace},
      {{{"leisure", "playground"}}, PoiType::OtherPlace},
      {{{"tourism", "information"}}, PoiType::OtherPlace},
      // First match wins.
      {{{"amenity", "restaurant"}, {"shop", "deli"}}, PoiType::Dining},
      {{{"amenity", "pharmacy"}, {"shop", "chemist"}}, PoiType::Shop},
      {{{"amenity", "school"}, {"tourism", "hostel"}}, PoiType::Lodging},
      {{{"amenity", "place_of_worship"}, {"tourism", "attraction"}}, PoiType::Sight},
      {{{"amenity", "cinema"}, {"leisure", "park"}}, PoiType::Dining},  // the five keep their rules
      // Not places: green, water and district areas, the stops of the routes, anything else.
      {{{"leisure", "park"}}, none},
      {{{"landuse", "forest"}, {"tourism", "picnic_site"}}, none},
      {{{"natural", "water"}, {"leisure", "swimming_area"}}, none},
      {{{"boundary", "administrative"}, {"admin_level", "8"}, {"office", "government"}}, none},
      {{{"amenity", "bus_station"}}, none},
      {{{"amenity", "ferry_terminal"}}, none},
      {{{"highway", "bus_stop"}, {"amenity", "bench"}}, none},
      {{{"railway", "station"}, {"shop", "kiosk"}}, none},
      {{{"public_transport", "platform"}, {"amenity", "shelter"}}, none},
      {{{"historic", "wayside_cross"}}, none},
      {{{"shop", " \t"}}, none},
      {{{"highway", "residential"}}, none},
  };
  for (const auto& c : cases) EXPECT_EQ(osm::PlaceType(c.tags), c.type) << Described(c.tags);
}

// The table of docs/import-osm.md as data, read top to bottom by a plain loop: the oracle that
// every pair of a pool of tags is checked against.
TEST(OsmTags, PlaceTypesFollowTheDocumentedTable) {
  struct Row {
    std::optional<PoiType> type;                                            // nothing: not a place
    std::vector<std::pair<std::string, std::vector<std::string>>> matches;  // key, values ({}: any)
  };
  const std::optional<PoiType> none;
  const std::vector<Row> table = {
      {PoiType::Dining,
       {{"amenity",
         {"restaurant", "cafe", "fast_food", "bar", "pub", "food_court", "ice_cream", "cinema", "theatre",
          "nightclub", "karaoke_box"}}}},
      {PoiType::Bank, {{"amenity", {"bank", "bureau_de_change"}}}},
      {PoiType::Clinic, {{"amenity", {"hospital", "clinic", "doctors", "dentist"}}}},
      {PoiType::College, {{"amenity", {"university", "college"}}}},
      {PoiType::Sight,
       {{"tourism", {"attraction", "museum", "viewpoint", "zoo", "theme_park", "gallery"}},
        {"historic",
         {"monument", "memorial", "castle", "temple", "ruins", "archaeological_site", "city_gate", "fort",
          "building"}}}},
      {none,
       {{"leisure", {"park", "garden", "nature_reserve"}},
        {"landuse",
         {"grass", "forest", "meadow", "recreation_ground", "village_green", "park", "reservoir", "basin"}},
        {"natural", {"wood", "grassland", "scrub", "water"}},
        {"waterway", {"riverbank"}},
        {"boundary", {"administrative"}},
        {"public_transport", {}},
        {"railway", {"station", "halt", "stop", "tram_stop", "subway_entrance", "platform"}},
        {"highway", {"bus_stop", "platform"}},
        {"amenity", {"bus_station", "ferry_terminal"}}}},
      {PoiType::Shop, {{"shop", {}}}},
      {PoiType::Lodging, {{"tourism", {"hotel", "hostel", "guest_house", "motel"}}}},
      {PoiType::School, {{"amenity", {"school", "kindergarten"}}}},
      {PoiType::Worship, {{"amenity", {"place_of_worship"}}}},
      {PoiType::PublicService,
       {{"amenity", {"post_office", "police", "townhall", "library", "fire_station", "courthouse"}}}},
      {PoiType::TransportFacility, {{"amenity", {"parking", "fuel", "bicycle_rental", "charging_station"}}}},
      {PoiType::Venue, {{"leisure", {"sports_centre", "stadium"}}, {"amenity", {"arts_centre"}}}},
      {PoiType::Pharmacy, {{"amenity", {"pharmacy"}}}},
      {PoiType::OtherPlace,
       {{"amenity", {}}, {"shop", {}}, {"tourism", {}}, {"leisure", {}}, {"office", {}}}},
  };
  const auto oracle = [&](const std::map<std::string, std::string>& tags) -> std::optional<PoiType> {
    for (const Row& row : table)
      for (const auto& [key, values] : row.matches) {
        const auto tag = tags.find(key);
        if (tag != tags.end() && (values.empty() || std::count(values.begin(), values.end(), tag->second)))
          return row.type;
      }
    return std::nullopt;
  };
  const std::vector<std::pair<std::string, std::string>> pool = {
      {"amenity", "cafe"},
      {"amenity", "cinema"},
      {"amenity", "bank"},
      {"amenity", "clinic"},
      {"amenity", "college"},
      {"amenity", "school"},
      {"amenity", "police"},
      {"amenity", "fuel"},
      {"amenity", "arts_centre"},
      {"amenity", "pharmacy"},
      {"amenity", "bus_station"},
      {"amenity", "bench"},
      {"shop", "books"},
      {"tourism", "zoo"},
      {"tourism", "motel"},
      {"tourism", "artwork"},
      {"historic", "ruins"},
      {"historic", "milestone"},
      {"leisure", "garden"},
      {"leisure", "stadium"},
      {"leisure", "pitch"},
      {"office", "ngo"},
      {"landuse", "grass"},
      {"landuse", "park"},
      {"natural", "water"},
      {"natural", "peak"},
      {"boundary", "administrative"},
      {"public_transport", "station"},
      {"railway", "tram_stop"},
      {"railway", "rail"},
      {"highway", "bus_stop"},
      {"highway", "footway"},
      {"building", "yes"},
  };
  for (std::size_t i = 0; i < pool.size(); ++i)
    for (std::size_t j = i; j < pool.size(); ++j) {
      if (j != i && pool[i].first == pool[j].first) continue;
      TagMap tags{pool[i], pool[j]};
      EXPECT_EQ(osm::PlaceType(tags), oracle(tags.values)) << Described(tags);
    }
}

TEST(OsmTags, RoadClasses) {
  const struct {
    const char* highway;
    std::optional<RoadClass> roadClass;
  } cases[] = {{"motorway", RoadClass::Main},      {"trunk", RoadClass::Main},
               {"primary", RoadClass::Main},       {"secondary", RoadClass::Secondary},
               {"tertiary", RoadClass::Secondary}, {"residential", RoadClass::Branch},
               {"pedestrian", RoadClass::Branch},  {"footway", std::nullopt},
               {"cycleway", std::nullopt},         {"proposed", std::nullopt}};
  for (const auto& c : cases)
    EXPECT_EQ(osm::RoadClassOf(TagMap{{"highway", c.highway}}), c.roadClass) << c.highway;
}

TEST(OsmTags, CardFields) {
  const struct {
    TagMap tags;
    std::string address, tel, web;
  } cases[] = {
      {{{"contact:phone", "0736-1234567"}, {"contact:website", "www.x.cn"}}, "", "0736-1234567", "www.x.cn"},
      {{{"phone", "1"}, {"contact:phone", "2"}, {"website", "a"}, {"contact:website", "b"}}, "", "1", "a"},
      {{{"addr:province", "湖北省"},
        {"addr:city", "武汉市"},
        {"addr:street", "解放大道"},
        {"addr:housenumber", "1号"}},
       "湖北省武汉市解放大道1号",
       "",
       ""},
      {{{"addr:street", "Kapuzinerstraße"}, {"addr:housenumber", "12"}}, "Kapuzinerstraße 12", "", ""},
      {{{"addr:full", "北京市东城区1号"}, {"addr:street", "长安街"}}, "北京市东城区1号", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(osm::Address(c.tags), c.address);
    EXPECT_EQ(osm::Telephone(c.tags), c.tel);
    EXPECT_EQ(osm::Website(c.tags), c.web);
  }
}

TEST(OsmTags, NamesInTheReadersLanguage) {
  const std::vector<std::string> byDefault = osm::DefaultNameKeys(), japanese = {"name:ja", "name"};
  const struct {
    TagMap tags;
    const std::vector<std::string>& keys;
    std::string name;
    std::vector<std::string> others;
  } cases[] = {
      {{{"name:zh-Hans", "简"},
        {"name:zh", "中"},
        {"name", "Local"},
        {"name:en", "English"},
        {"old_name", "Old"}},
       byDefault,
       "简",
       {"Local", "English", "Old", "中"}},
      {{{"name", "Bank of China"}, {"name:zh", " 中国银行 "}}, byDefault, "中国银行", {"Bank of China"}},
      {{{"name:zh", "  "}, {"name", "Local"}}, byDefault, "Local", {}},
      {{{"name:zh-Hans", "\x01\t\x7F"}, {"name:zh", "中"}}, byDefault, "中", {}},
      {{{"name:zh", "\xE3\x80\x80"},
        {"name",
         "\xC2\xA0"
         "Caf\xC3\xA9\xC2\x85"}},
       byDefault,
       "Caf\xC3\xA9",
       {}},
      {{{"name", "A"}, {"name:en", " A"}, {"old_name", "B"}, {"name:zh", "B"}}, byDefault, "B", {"A"}},
      {{{"name", " a\nb "}}, byDefault, "a\nb", {}},
      {{{"name:en", "Only English"}}, byDefault, "", {"Only English"}},
      {{{"name:ja", "日本"}, {"name:zh", "中"}, {"name", "Local"}}, japanese, "日本", {"Local"}},
      {{{"name:ja", "\x02"}, {"name", "Local"}, {"name:en", "Local"}}, japanese, "Local", {}},
  };
  for (const auto& c : cases) {
    const std::string name = osm::NameFrom(c.tags, c.keys);
    EXPECT_EQ(name, c.name) << Described(c.tags);
    EXPECT_EQ(osm::OtherNames(c.tags, c.keys, name), c.others) << Described(c.tags);
  }
}

TEST(OsmTags, NameKeysThatMayReachTheDriver) {
  for (const std::string& good :
       std::vector<std::string>{"name", "name:zh-Hans", "alt_name", "name:zh_pinyin", std::string(64, 'n')})
    EXPECT_EQ(osm::RefuseNameKey(good), "") << good;
  for (const std::string& bad : std::vector<std::string>{"", "name=x", "name,x", "name x", "名字",
                                                         "name\n[points]", "a.b", std::string(65, 'n')})
    EXPECT_NE(osm::RefuseNameKey(bad), "") << bad;
  EXPECT_THROW(osm::OsmConfiguration({"name", "name\nother_tags=yes"}), std::invalid_argument);
  EXPECT_THROW(osm::OsmConfiguration(std::vector<std::string>{}), std::invalid_argument);
}

TEST(OsmTags, RouteModesAndColours) {
  const struct {
    const char* route;
    const char* mode;
  } modes[] = {{"bus", "bus"},
               {"trolleybus", "trolleybus"},
               {"tram", "tram"},
               {"subway", "subway"},
               {"light_rail", "light_rail"},
               {"train", "rail"},
               {"monorail", "monorail"},
               {"ferry", "ferry"},
               {"funicular", "funicular"},
               {"aerialway", "aerialway"},
               {"hiking", ""},
               {"railway", ""},
               {"bicycle", ""},
               {"", ""}};
  for (const auto& c : modes) {
    const std::string mode = osm::RouteMode(c.route);
    EXPECT_EQ(mode, c.mode) << c.route;
    if (!mode.empty()) {
      EXPECT_NE(city::FindTransitMode(mode), nullptr) << mode;
    }
  }
  const struct {
    const char* tag;
    const char* colour;
  } colours[] = {{"#00a0e0", "00A0E0"}, {"FF0000", "FF0000"}, {"#F00", ""},     {"red", ""},
                 {"#12345G", ""},       {"##123456", ""},     {"#1234567", ""}, {"", ""}};
  for (const auto& c : colours) EXPECT_EQ(osm::RouteColour(c.tag), c.colour) << c.tag;
}

std::string Repeated(const std::string& text, int times) {
  std::string repeated;
  while (times-- > 0) repeated += text;
  return repeated;
}

TEST(OsmTags, DrawnWaysAndMainTags) {
  const struct {
    TagMap tags;
    std::string footway, railway, river;
    bool building;
    std::string mainTag;
  } cases[] = {
      {{{"highway", "footway"}}, "footway", "", "", false, "highway=footway"},
      {{{"highway", "steps"}}, "steps", "", "", false, "highway=steps"},
      {{{"highway", "pedestrian"}}, "", "", "", false, "highway=pedestrian"},
      {{{"railway", "narrow_gauge"}}, "", "narrow_gauge", "", false, "railway=narrow_gauge"},
      {{{"railway", "abandoned"}}, "", "", "", false, "railway=abandoned"},
      {{{"waterway", "canal"}}, "", "", "canal", false, "waterway=canal"},
      {{{"waterway", "ditch"}}, "", "", "", false, "waterway=ditch"},
      {{{"building", "yes"}, {"amenity", "school"}}, "", "", "", true, "amenity=school"},
      {{{"building", "no"}, {"barrier", "wall"}}, "", "", "", false, "building=no"},
      {{{"barrier", "wall"}}, "", "", "", false, "other tags"},
      {{{"shop", "x"}, {"amenity", "y"}, {"route", "tram"}}, "", "", "", false, "amenity=y"},
      {{{"shop", "a\nb"}}, "", "", "", false, "shop=a?b"},
      {{{"shop", std::string(20, 'x') + Repeated("中", 10)}},
       "",
       "",
       "",
       false,
       "shop=" + std::string(20, 'x') + Repeated("中", 6) + "…"},  // never half a character
  };
  for (const auto& c : cases) {
    EXPECT_EQ(osm::FootwayKind(c.tags), c.footway) << Described(c.tags);
    EXPECT_EQ(osm::RailwayKind(c.tags), c.railway) << Described(c.tags);
    EXPECT_EQ(osm::RiverKind(c.tags), c.river) << Described(c.tags);
    EXPECT_EQ(osm::IsBuilding(c.tags), c.building) << Described(c.tags);
    EXPECT_EQ(osm::MainTag(c.tags), c.mainTag) << Described(c.tags);
  }
}

TEST(OsmTags, AreasAndBoundaries) {
  EXPECT_TRUE(osm::IsWater(TagMap{{"natural", "water"}}));
  for (const auto& [key, value] : std::vector<std::pair<std::string, std::string>>{{"leisure", "park"},
                                                                                   {"landuse", "forest"},
                                                                                   {"landuse", "grass"},
                                                                                   {"landuse", "park"},
                                                                                   {"natural", "wood"}})
    EXPECT_TRUE(osm::IsGreen(TagMap{{key, value}})) << key << "=" << value;
  EXPECT_FALSE(osm::IsGreen(TagMap{{"landuse", "residential"}}));
  EXPECT_EQ(osm::AdministrativeLevel(TagMap{{"boundary", "administrative"}, {"admin_level", "6"}}), 6);
  EXPECT_EQ(osm::AdministrativeLevel(TagMap{{"boundary", "administrative"}, {"admin_level", "6;7"}}),
            std::nullopt);
  EXPECT_EQ(osm::AdministrativeLevel(TagMap{{"boundary", "postal_code"}, {"admin_level", "6"}}),
            std::nullopt);
}

TEST(OsmDistricts, CoarsestLevelWithAHandfulToAFewDozen) {
  const struct {
    std::map<int, int> perLevel;
    int level;
  } cases[] = {
      {{{2, 1}, {4, 1}, {6, 12}, {8, 140}}, 6},  // the city's districts, not its streets' quarters
      {{{6, 3}, {8, 40}}, 6},                    // both edges of the range count
      {{{6, 2}, {8, 41}}, 6},                    // none in range: nearest, ties to the coarser
      {{{4, 1}, {8, 45}}, 4},
      {{}, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(osm::DistrictLevel(c.perLevel), c.level);
}

TEST(CityName, OnlyPlainFolderNames) {
  for (const char* good : {"栖坞市", "Bolzano Bozen", "city-2"}) EXPECT_EQ(RefuseCityName(good), "") << good;
  for (const char* bad : {"", ".", "..", ".hidden", "a/b", "..\\x", "a\nb", "引\"号", "\""})
    EXPECT_NE(RefuseCityName(bad), "") << bad;
}
