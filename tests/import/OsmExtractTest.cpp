// What the OpenStreetMap reader makes of whole files: the places, drawn ways, lines of every mode
// and the report of a real extract (osmtogeojson's map.osm, a corner of St. Michael/Eppan) and of
// small files written here.
#include <gdal_priv.h>
#include <gtest/gtest.h>
#include <ogr_geometry.h>

#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "import/osm/OsmReader.h"
#include "tests/import/OsmFileFixture.h"

namespace {

using qiwu::import::TransitLine;
using namespace qiwu::import::osm;
using citygen::PoiType;

class OsmExtract : public testing::Test {
 protected:
  void SetUp() override { GDALAllRegister(); }
  std::string Path(const std::string& name) const {
    return dir_.filePath(QString::fromStdString(name)).toStdString();
  }
  Extract Read(const std::string& path, const std::vector<std::string>& nameKeys = DefaultNameKeys()) {
    const std::string scratch = Path("scratch" + std::to_string(++reads_));
    QDir().mkpath(QString::fromStdString(scratch));
    return ReadOsm(path, scratch, nameKeys, {});
  }
  QTemporaryDir dir_;
  int reads_ = 0;
};

const Place* FindPlace(const Extract& extract, const std::string& name) {
  const auto found = std::find_if(extract.places.begin(), extract.places.end(),
                                  [&](const Place& place) { return place.name == name; });
  return found == extract.places.end() ? nullptr : &*found;
}

const TransitLine* FindLine(const Extract& extract, const std::string& name) {
  const auto found = std::find_if(extract.bus.lines.begin(), extract.bus.lines.end(),
                                  [&](const TransitLine& line) { return line.name == name; });
  return found == extract.bus.lines.end() ? nullptr : &*found;
}

struct ReportRow {
  std::string kind;
  long kept;
  std::string why;  // the reason of the left out
  long leftOut;
};

// Checks the report's rows and returns how many objects they count.
long CheckReport(const qiwu::import::SourceReport& report, const std::vector<ReportRow>& rows) {
  long objects = 0;
  for (const ReportRow& row : rows) {
    EXPECT_EQ(report.KeptCount(row.kind), row.kept) << row.kind;
    EXPECT_EQ(report.LeftOutCount(row.kind, row.why), row.leftOut) << row.kind << ": " << row.why;
    EXPECT_EQ(report.Read(row.kind), row.kept + row.leftOut) << row.kind << ": left out for another reason";
    objects += report.Read(row.kind);
  }
  return objects;
}

TEST_F(OsmExtract, TheRealExtractKeepsItsChurchAndSchool) {
  const char* source = std::getenv("QIWU_SOURCE_DIR");
  ASSERT_NE(source, nullptr);
  const std::string path =
      std::string(source) + "/tests/fixtures/npm/node_modules/osmtogeojson/test-cli/data/map.osm";
  ASSERT_TRUE(std::filesystem::exists(path)) << path << " is missing: run scripts/install-deps.sh";
  const Extract extract = Read(path);

  // The church: relation 121733, a multipolygon whose tags are on its outer way 33748706.
  const Place* church = FindPlace(extract, "Pfarrkirche Sankt Michael");
  ASSERT_NE(church, nullptr);
  EXPECT_EQ(church->type, PoiType::Worship);
  EXPECT_EQ(church->otherNames, std::vector<std::string>{"Kapuzinerkirche zur Heimsuchung Mariens"});
  const auto building = std::find_if(extract.buildings.begin(), extract.buildings.end(),
                                     [](const Way& way) { return way.name == "Pfarrkirche Sankt Michael"; });
  ASSERT_NE(building, extract.buildings.end());
  const OGRPoint at(church->at.lon, church->at.lat);
  EXPECT_TRUE(building->shape->Contains(&at)) << "the place lies inside the church";
  // The school: way 33748710, closed, amenity=school.
  const Place* school = FindPlace(extract, "Volksschule");
  ASSERT_NE(school, nullptr);
  EXPECT_EQ(school->type, PoiType::School);
  EXPECT_EQ(extract.places.size(), 2u);
  EXPECT_EQ(extract.buildings.size(), 9u);  // 8 building ways and the church
  EXPECT_EQ(extract.roads.size(), 3u);      // the named pedestrian ways
  EXPECT_TRUE(extract.footways.empty());    // its one footway has no name
  // The walking network's other ways: two unnamed pedestrian ways, the footway and the public
  // service way; the service way with access=private is not walked.
  EXPECT_EQ(extract.walkways.size(), 4u);

  EXPECT_EQ(extract.report.Source(), path);
  const long objects = CheckReport(extract.report, {
                                                       {"amenity=place_of_worship", 1, "", 0},
                                                       {"amenity=school", 1, "", 0},
                                                       {"amenity=parking", 0, "unnamed", 1},
                                                       {"amenity=fountain", 0, "unnamed", 1},
                                                       {"highway=crossing", 0, "no rule", 1},
                                                       {"highway=pedestrian", 5, "unnamed", 0},
                                                       {"highway=service", 1, "unnamed", 1},
                                                       {"highway=footway", 1, "unnamed", 0},
                                                       {"building=yes", 6, "", 0},
                                                       {"building=school", 1, "", 0},
                                                       {"building=terrace", 1, "", 0},
                                                       {"landuse=orchard", 0, "no rule", 1},
                                                       {"other tags", 0, "no rule", 1},  // barrier=wall
                                                       {"route=hiking", 0, "no rule", 1},
                                                       // relation 1165342: its outer way is not in the file
                                                       {"landuse=residential", 0, "does not assemble", 1},
                                                   });
  long handedOut = 0;
  for (const auto& [layer, count] : extract.perLayer) handedOut += count;
  // Each object once: the hiking route counts as a route relation, not as GDAL's feature too.
  EXPECT_EQ(objects, handedOut + 1);
}

TEST_F(OsmExtract, LinesOfEveryModeDrawnWaysAndNamesOfTheReadersChoice) {
  const osmfixture::Content content{
      {{1, 11.30, 46.50, {{"railway", "tram_stop"}, {"name", "Museum"}, {"name:ja", "博物館"}}},
       {2, 11.31, 46.51, {{"railway", "tram_stop"}, {"name", "Bahnhof"}}},
       {3, 11.32, 46.52, {{"railway", "stop"}, {"name", "Messe"}}},
       {4,
        11.33,
        46.53,
        {{"amenity", "cafe"}, {"name", "Café Rosa"}, {"name:ja", "\x7F\t"}, {"name:en", "Rose"}}},
       {5, 11.34, 46.54, {}},
       {6, 11.35, 46.54, {}},
       {7, 11.35, 46.55, {}},
       {8, 11.34, 46.55, {}}},
      {{20, {5, 6}, {{"highway", "footway"}, {"name", "Waalweg"}}},
       {21, {6, 7}, {{"highway", "footway"}}},
       {22, {7, 8}, {{"railway", "tram"}}},
       {23, {8, 5}, {{"waterway", "stream"}, {"name", "Bach"}}},
       {24, {5, 6, 7, 5}, {{"building", "yes"}}},
       {25, {5, 7, 8, 5}, {{"leisure", "park"}, {"name", "Stadtpark"}}}},
      {{10, {1, 2}, {{"route", "tram"}, {"ref", "T1"}, {"colour", "#00a0e0"}}},
       {11, {2, 3}, {{"route", "train"}, {"ref", " \t"}, {"name", "Regio"}, {"colour", "red"}}},
       {12, {1}, {{"route", "tram"}, {"ref", "T2"}}},
       {13, {1, 2}, {{"route", "hiking"}, {"ref", "H"}}}},
      {{40, {{99, "outer"}}, {{"type", "multipolygon"}, {"landuse", "forest"}}}},
      {11.2, 46.4, 11.4, 46.6}};
  for (const char* format : {".osm", ".osm.pbf"}) {
    SCOPED_TRACE(format);
    const Extract extract =
        Read(osmfixture::WriteOsm(Path(std::string("modes") + format), content), {"name:ja", "name"});
    ASSERT_EQ(extract.bus.lines.size(), 2u);
    const TransitLine* tram = FindLine(extract, "T1");
    ASSERT_NE(tram, nullptr);
    EXPECT_EQ(tram->mode, "tram");
    EXPECT_EQ(tram->colour, "00A0E0");
    ASSERT_EQ(tram->stops.size(), 2u);
    EXPECT_EQ(extract.bus.stops[tram->stops[0]].name, "博物館");
    const TransitLine* train = FindLine(extract, "Regio");
    ASSERT_NE(train, nullptr);
    EXPECT_EQ(train->mode, "rail");
    EXPECT_EQ(train->colour, "");

    ASSERT_EQ(extract.places.size(), 1u);  // the park is green, the stops stay with the routes
    EXPECT_EQ(extract.places[0].name, "Café Rosa");
    EXPECT_EQ(extract.places[0].otherNames, std::vector<std::string>{"Rose"});
    ASSERT_EQ(extract.footways.size(), 1u);
    EXPECT_EQ(extract.footways[0].name + "/" + extract.footways[0].kind, "Waalweg/footway");
    ASSERT_EQ(extract.railways.size(), 1u);
    EXPECT_EQ(extract.railways[0].kind, "tram");
    ASSERT_EQ(extract.rivers.size(), 1u);
    EXPECT_EQ(extract.rivers[0].name + "/" + extract.rivers[0].kind, "Bach/stream");
    EXPECT_EQ(extract.buildings.size(), 1u);
    ASSERT_EQ(extract.greens.size(), 1u);
    EXPECT_EQ(extract.greens[0].name, "Stadtpark");

    ASSERT_FALSE(extract.bounds.Empty());
    EXPECT_DOUBLE_EQ(extract.bounds.min.lon, 11.2);
    EXPECT_DOUBLE_EQ(extract.bounds.min.lat, 46.4);
    EXPECT_DOUBLE_EQ(extract.bounds.max.lon, 11.4);
    EXPECT_DOUBLE_EQ(extract.bounds.max.lat, 46.6);

    CheckReport(extract.report, {
                                    {"route=tram", 1, "fewer than two stops", 1},
                                    {"route=train", 1, "", 0},
                                    {"route=hiking", 0, "no rule", 1},
                                    {"colour (of a route)", 0, "not RRGGBB", 1},
                                    {"landuse=forest", 0, "does not assemble", 1},
                                    {"railway=tram_stop", 0, "a stop", 2},
                                    {"railway=stop", 0, "a stop", 1},
                                    {"amenity=cafe", 1, "", 0},
                                    {"highway=footway", 2, "unnamed", 0},
                                    {"railway=tram", 1, "", 0},
                                    {"waterway=stream", 1, "", 0},
                                    {"building=yes", 1, "", 0},
                                    {"leisure=park", 1, "", 0},
                                });
  }
}

TEST_F(OsmExtract, NameKeysTheDriverCannotTakeAreRefused) {
  const std::string path = osmfixture::WriteSmallCity(Path("small.osm"));
  EXPECT_THROW(Read(path, {"name", "name\nother_tags=yes"}), std::invalid_argument);
  EXPECT_THROW(Read(path, {}), std::invalid_argument);
  EXPECT_EQ(Read(path, {"name"}).bus.lines.size(), 1u);
}

}  // namespace
