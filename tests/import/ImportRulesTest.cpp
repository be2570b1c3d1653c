// The importer's rules that need no file: the map CRS, tags to city features, the district level,
// city names.
#include <gtest/gtest.h>

#include <map>

#include "import/CityImport.h"
#include "import/MapProjection.h"
#include "import/osm/OsmDistricts.h"
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

TEST(OsmTags, PlaceTypes) {
  const struct {
    TagMap tags;
    std::optional<PoiType> type;
  } cases[] = {
      {{{"amenity", "restaurant"}}, PoiType::Dining},  {{{"amenity", "cinema"}}, PoiType::Dining},
      {{{"amenity", "bank"}}, PoiType::Bank},          {{{"amenity", "doctors"}}, PoiType::Clinic},
      {{{"amenity", "university"}}, PoiType::College}, {{{"tourism", "museum"}}, PoiType::Sight},
      {{{"historic", "castle"}}, PoiType::Sight},      {{{"amenity", "school"}}, std::nullopt},
      {{{"tourism", "hotel"}}, std::nullopt},          {{{"shop", "bakery"}}, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(osm::PlaceType(c.tags), c.type) << c.tags.values.begin()->second;
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

TEST(OsmTags, NamesAndCardFields) {
  const struct {
    TagMap tags;
    std::string name, address, tel, web;
  } cases[] = {
      {{{"name", "Bank of China"}, {"name:zh", " 中国银行 "}}, "中国银行", "", "", ""},
      {{{"name", "Luigi's"}, {"contact:phone", "0736-1234567"}, {"contact:website", "www.x.cn"}},
       "Luigi's",
       "",
       "0736-1234567",
       "www.x.cn"},
      {{{"phone", "1"}, {"contact:phone", "2"}, {"website", "a"}, {"contact:website", "b"}},
       "",
       "",
       "1",
       "a"},
      {{{"addr:province", "湖北省"},
        {"addr:city", "武汉市"},
        {"addr:street", "解放大道"},
        {"addr:housenumber", "1号"}},
       "",
       "湖北省武汉市解放大道1号",
       "",
       ""},
      {{{"addr:street", "Kapuzinerstraße"}, {"addr:housenumber", "12"}}, "", "Kapuzinerstraße 12", "", ""},
      {{{"addr:full", "北京市东城区1号"}, {"addr:street", "长安街"}}, "", "北京市东城区1号", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(osm::DisplayName(c.tags), c.name);
    EXPECT_EQ(osm::Address(c.tags), c.address);
    EXPECT_EQ(osm::Telephone(c.tags), c.tel);
    EXPECT_EQ(osm::Website(c.tags), c.web);
  }
}

TEST(OsmTags, AreasAndBoundaries) {
  EXPECT_TRUE(osm::IsWater(TagMap{{"natural", "water"}}));
  EXPECT_TRUE(osm::IsGreen(TagMap{{"leisure", "park"}}));
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
