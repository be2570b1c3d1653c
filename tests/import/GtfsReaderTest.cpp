#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstdlib>
#include <filesystem>

#include "import/InputError.h"
#include "import/gtfs/GtfsReader.h"
#include "import/gtfs/LineNames.h"
#include "map/GdalLockDown.h"
#include "tests/import/GtfsFeedFixture.h"

namespace {

using gtfsfixture::Describe;
using gtfsfixture::Feed;
using gtfsfixture::Files;
using qiwu::import::InputError;
using qiwu::import::ReadGtfsFeeds;

class GtfsReaderTest : public gtfsfixture::FeedTest {};

TEST_F(GtfsReaderTest, ReadsCsvAsText) {
  ExpectLines({
      {"byte-order mark and CR LF",
       {{"stops.txt", "\xEF\xBB\xBFstop_id,stop_name,stop_lat,stop_lon\r\nA,甲,30,114\r\nB,乙,30,114\r\n"}},
       "5: 甲 乙"},
      {"quoted separators, quotes and line ends",
       {{"stops.txt",
         "stop_id,stop_name,stop_lat,stop_lon\nA,\"北门, 东侧\",30,114\nB,\"他说\"\"到了\"\"\",30,114\n"}},
       "5: 北门, 东侧 他说\"到了\""},
      {"a line end inside a quoted field",
       {{"stops.txt",
         "stop_id,stop_name,stop_lat,stop_lon\r\nA,\"两行\r\n说明\",30,114\r\n\"B\",乙,\"30\",114"}},
       "5: 两行\r\n说明 乙"},
      {"columns in any order, extra columns, short records, blank lines",
       {{"stops.txt", "stop_lon,extra,stop_name,stop_id,stop_lat,code\n114,x,甲,A,30\n\n114,,乙,B,30,7\n\n"}},
       "5: 甲 乙"},
      {"ids stay text: 01 and 1 are two stops",
       {{"stops.txt", "stop_id,stop_name,stop_lat,stop_lon\n01,零一,30,114\n1,一,30,114\n"},
        {"stop_times.txt", "trip_id,stop_id,stop_sequence\nt1,01,1\nt1,1,2\n"}},
       "5: 零一 一"},
      {"names verbatim, blanks kept",
       {{"stops.txt", "stop_id,stop_name,stop_lat,stop_lon\nA, 甲 ,30,114\nB,乙,30,114\n"}},
       "5:  甲  乙"},
  });
}

TEST_F(GtfsReaderTest, ReadsUpToItsBounds) {
  const std::string wide = "stop_id,stop_name,stop_lat,stop_lon" + std::string(996, ',') + "\nA,甲,30,114" +
                           std::string(996, ',') + "\nB,乙,30,114\n";
  std::string calls = "trip_id,stop_id,stop_sequence\n", expected = "5:";
  for (int i = 1; i <= 20000; ++i) {
    calls += "t1," + std::string(i % 2 ? "A," : "B,") + std::to_string(i) + "\n";
    expected += i % 2 ? " 甲" : " 乙";
  }
  ExpectLines({
      {"1,000 fields in the header and a record", {{"stops.txt", wide.c_str()}}, "5: 甲 乙"},
      {"20,000 calls", {{"stop_times.txt", calls.c_str()}}, expected.c_str()},
  });
}

TEST_F(GtfsReaderTest, RepresentativeTripBreaksTiesInEveryPosition) {
  const auto trips = [](const char* rows) { return std::string("route_id,trip_id,direction_id\n") + rows; };
  static const std::string t[] = {
      trips("R,t1,1\nR,t2,1\nR,t3,0\n"), trips("R,t1,1\nR,t2,\n"),  trips("R,t1,2\nR,t2,10\n"),
      trips("R,t1,0\nR,t2,0\nR,t3,0\n"), trips("R,t1,0\nR,t2,0\n"), trips("R,t10,0\nR,t9,0\n"),
      trips("R,t1,0\nR,t2,1\n"),
  };
  const char* calls = "trip_id,stop_id,stop_sequence\n";
  static const std::string s[] = {
      calls + std::string("t1,A,1\nt1,B,2\nt1,C,3\nt2,A,1\nt2,B,2\nt2,C,3\nt3,D,1\nt3,C,2\n"),
      calls + std::string("t1,A,1\nt1,B,2\nt1,C,3\nt2,B,1\nt2,A,2\n"),
      calls + std::string("t1,A,1\nt1,B,2\nt2,C,1\nt2,D,2\n"),
      // Interleaved rows; t3's pattern is longer but rarer.
      calls + std::string("t1,A,1\nt2,A,1\nt3,A,1\nt1,B,2\nt2,B,2\nt3,B,2\nt3,C,3\n"),
      calls + std::string("t1,A,1\nt1,B,2\nt2,B,1\nt2,C,2\nt2,D,3\n"),
      calls + std::string("t10,A,1\nt10,B,2\nt9,C,1\nt9,D,2\n"),
      // Sequences compare as numbers: 1 < 9 < 10; the direction-0 trip without calls does not count.
      calls + std::string("t2,A,10\nt2,B,9\nt2,C,01\n"),
  };
  ExpectLines({
      {"direction 0 beats frequency and length",
       {{"trips.txt", t[0].c_str()}, {"stop_times.txt", s[0].c_str()}},
       "5: 丁 丙"},
      {"without 0, blank comes first",
       {{"trips.txt", t[1].c_str()}, {"stop_times.txt", s[1].c_str()}},
       "5: 乙 甲"},
      {"without 0, directions compare as text",
       {{"trips.txt", t[2].c_str()}, {"stop_times.txt", s[2].c_str()}},
       "5: 丙 丁"},
      {"the most frequent pattern wins",
       {{"trips.txt", t[3].c_str()}, {"stop_times.txt", s[3].c_str()}},
       "5: 甲 乙"},
      {"equal frequency: more stops",
       {{"trips.txt", t[4].c_str()}, {"stop_times.txt", s[4].c_str()}},
       "5: 乙 丙 丁"},
      {"then the smaller trip_id as text",
       {{"trips.txt", t[5].c_str()}, {"stop_times.txt", s[5].c_str()}},
       "5: 甲 乙"},
      {"numeric stop_sequence",
       {{"trips.txt", t[6].c_str()}, {"stop_times.txt", s[6].c_str()}},
       "5: 丙 乙 甲"},
      {"no direction column", {{"trips.txt", "trip_id,route_id\nt1,R\n"}}, "5: 甲 乙"},
  });
}

TEST_F(GtfsReaderTest, LinesFollowTheRepresentativeTripsShapeElseTheirStops) {
  const char* trips = "route_id,trip_id,shape_id\nR,t1,S1\nR,t2,S2\n";
  const char* calls = "trip_id,stop_id,stop_sequence\nt1,A,1\nt1,B,2\nt2,A,1\nt2,B,2\n";
  const char* shapes =
      "shape_id,shape_pt_lat,shape_pt_lon,shape_pt_sequence\n"
      "S2,1,1,1\nS1,31,115,10\nS1,32,116,9\nS1,33,117,1\nS2,2,2,2\n";
  struct Shape {
    const char* what;
    Files changes;
    std::vector<double> lons;
  };
  const Shape cases[] = {
      {"shape of the smaller trip_id, in numeric sequence",
       {{"trips.txt", trips}, {"stop_times.txt", calls}, {"shapes.txt", shapes}},
       {117, 116, 115}},
      {"no shapes.txt", {{"trips.txt", trips}, {"stop_times.txt", calls}}, {114.0, 114.1}},
      {"a shape_id shapes.txt lacks",
       {{"trips.txt", "route_id,trip_id,shape_id\nR,t1,S9\n"}, {"shapes.txt", shapes}},
       {114.0, 114.1}},
  };
  for (const Shape& c : cases) {
    const auto network = Read(c.changes);
    ASSERT_EQ(network.lines.size(), 1u) << c.what;
    std::vector<double> lons;
    for (const auto& point : network.lines[0].route) lons.push_back(point.lon);
    EXPECT_EQ(lons, c.lons) << c.what;
  }
}

TEST_F(GtfsReaderTest, BadInputNamesFileAndLine) {
  const char* stopsHeader = "stop_id,stop_name,stop_lat,stop_lon\n";
  const std::string spanning =
      stopsHeader + std::string("A,\"甲\n乙\",30,114\nB,乙,30,114\nC,\"丙\n\",x,114\n");
  const std::string unclosed = stopsHeader + std::string("A,甲,30,114\nB,\"乙,30,114\nC,丙,30,114\n");
  // Bounds: 1,000 fields a record, 20,000 calls a trip, 200,000 points a shape.
  const std::string wideHeader =
      "stop_id,stop_name,stop_lat,stop_lon" + std::string(997, ',') + "\nA,甲,30,114\n";
  const std::string wideRecord = stopsHeader + std::string("A,甲,30,114") + std::string(997, ',') + "\n";
  std::string longTrip = "trip_id,stop_id,stop_sequence\n",
              longShape = "shape_id,shape_pt_lat,shape_pt_lon,shape_pt_sequence\n";
  for (int i = 1; i <= 20001; ++i)
    longTrip += "t1," + std::string(i % 2 ? "A," : "B,") + std::to_string(i) + "\n";
  for (int i = 1; i <= 200001; ++i) longShape += "S,30,114," + std::to_string(i) + "\n";
  const std::vector<Bad> cases = {
      {"missing file", {{"stops.txt", nullptr}}, "stops.txt", 0},
      {"missing column", {{"stops.txt", "stop_id,stop_name,stop_lon\nA,甲,114\n"}}, "stops.txt", 0},
      {"unknown trip",
       {{"stop_times.txt", "trip_id,stop_id,stop_sequence\nt1,A,1\nt7,B,2\n"}},
       "stop_times.txt",
       3},
      {"unknown stop",
       {{"stop_times.txt", "trip_id,stop_id,stop_sequence\nt1,A,1\nt1,a,2\n"}},
       "stop_times.txt",
       3},
      {"bad sequence",
       {{"stop_times.txt", "trip_id,stop_id,stop_sequence\nt1,A,1\nt1,B,2.5\n"}},
       "stop_times.txt",
       3},
      {"negative sequence",
       {{"stop_times.txt", "trip_id,stop_id,stop_sequence\nt1,A,-1\n"}},
       "stop_times.txt",
       2},
      {"a call at a stop without position",
       {{"stops.txt", "stop_id,stop_name,stop_lat,stop_lon\nA,甲,30,114\nB,乙,,\n"}},
       "stop_times.txt",
       3},
      {"bad latitude",
       {{"stops.txt", "stop_id,stop_name,stop_lat,stop_lon\nA,甲,北纬30,114\n"}},
       "stops.txt",
       2},
      {"latitude out of range",
       {{"stops.txt", "stop_id,stop_name,stop_lat,stop_lon\nA,甲,95,114\n"}},
       "stops.txt",
       2},
      {"a spanning record after another", {{"stops.txt", spanning.c_str()}}, "stops.txt", 5},
      {"unclosed quote", {{"stops.txt", unclosed.c_str()}}, "stops.txt", 3},
      {"text after a closing quote",
       {{"stops.txt", "stop_id,stop_name,stop_lat,stop_lon\nA,\"甲\"乙,30,114\n"}},
       "stops.txt",
       2},
      {"duplicate stop",
       {{"stops.txt", "stop_id,stop_name,stop_lat,stop_lon\nA,甲,30,114\nA,乙,30,114\n"}},
       "stops.txt",
       3},
      {"bad route_type", {{"routes.txt", "route_id,route_type\nR,bus\n"}}, "routes.txt", 2},
      {"trip of an unknown route", {{"trips.txt", "route_id,trip_id\nR,t1\nQ,t2\n"}}, "trips.txt", 3},
      {"duplicate trip", {{"trips.txt", "route_id,trip_id\nR,t1\nR,t1\n"}}, "trips.txt", 3},
      {"bad shape point",
       {{"trips.txt", "route_id,trip_id,shape_id\nR,t1,S\n"},
        {"shapes.txt", "shape_id,shape_pt_lat,shape_pt_lon,shape_pt_sequence\nS,30,114,1\nS,30,east,2\n"}},
       "shapes.txt",
       3},
      {"a header of 1,001 fields", {{"stops.txt", wideHeader.c_str()}}, "stops.txt", 1},
      {"a record of 1,001 fields", {{"stops.txt", wideRecord.c_str()}}, "stops.txt", 2},
      {"a trip of 20,001 calls", {{"stop_times.txt", longTrip.c_str()}}, "stop_times.txt", 20002},
      {"a shape of 200,001 points",
       {{"trips.txt", "route_id,trip_id,shape_id\nR,t1,S\n"}, {"shapes.txt", longShape.c_str()}},
       "shapes.txt",
       200002},
  };
  ExpectRefused(cases);
}

TEST(GtfsLineNamesTest, SharedNamesTakeRouteIdThenFeed) {
  struct Names {
    std::vector<qiwu::import::RouteName> routes;
    std::vector<std::string> expected;
  };
  const Names cases[] = {
      {{{"5", "R1", "a"}, {"5", "R2", "a"}, {"8", "R3", "a"}}, {"5 (R1)", "5 (R2)", "8"}},
      {{{"5", "R", "a"}, {"5", "R", "b"}, {"5", "Q", "a"}}, {"5 (R, a)", "5 (R, b)", "5 (Q)"}},
      {{{"5", "R", "a"}, {"5", "R", "a"}}, {"5 (R, a)", "5 (R, a) [2]"}},
      {{{"5", "A", "a"}, {"5", "B", "a"}, {"5 (A)", "C", "a"}}, {"5 (A)", "5 (B)", "5 (A) [2]"}},
  };
  for (const Names& c : cases)
    EXPECT_EQ(qiwu::import::UniqueLineNames(c.routes), c.expected) << c.expected[0];
}

TEST_F(GtfsReaderTest, FeedsAreFoldersOrZipsAndTogetherOneNetwork) {
  // Two operators' feeds repeat one routes.txt and split the trips between them.
  const char* routes = "route_id,route_short_name,route_type\nR,5,3\nS, 6 ,3\nT,,3\n";
  const Files a = Feed({{"routes.txt", routes}, {"trips.txt", "route_id,trip_id\nR,t1\n"}});
  const Files b =
      Feed({{"routes.txt", routes},
            {"trips.txt", "route_id,trip_id\nS,t2\nR,t3\nT,t4\n"},
            {"stop_times.txt", "trip_id,stop_id,stop_sequence\nt2,C,1\nt3,B,1\nt3,A,2\nt4,D,1\n"}});
  const auto network =
      ReadGtfsFeeds({gtfsfixture::WriteFolder(Path("a"), a), gtfsfixture::WriteZip(Path("b.zip"), b)}, {});
  EXPECT_EQ(Describe(network), "5 (R, a): 甲 乙; 5 (R, b): 乙 甲; 6: 丙; T: 丁");
  EXPECT_EQ(network.stops.size(), 6u) << "each feed's stops are its own";
  ASSERT_EQ(network.reports.size(), 2u) << "a report and an extent a feed";
  ASSERT_EQ(network.extents.size(), 2u);
  EXPECT_EQ(network.reports[1].Source(), Path("b.zip")) << "named as given";
  EXPECT_EQ(network.reports[0].KeptCount("stops"), 2);
  EXPECT_EQ(network.reports[1].KeptCount("stops"), 4);

  // An archive is recognised by its content, not its name.
  const std::string zip = gtfsfixture::WriteZip(Path("feed.gtfs"), Feed());
  EXPECT_EQ(Describe(ReadGtfsFeeds({zip}, {})), "5: 甲 乙");
  EXPECT_THROW(ReadGtfsFeeds({Path("nowhere")}, {}), InputError);
}

}  // namespace

namespace {

// Each lock-down runs in a child process of its own: a process locks GDAL down once.
TEST(GtfsLockDownTest, OnlyTheImporterKeepsZipArchives) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  QTemporaryDir dir;
  const std::string zip =
      gtfsfixture::WriteZip(dir.filePath(QStringLiteral("feed.zip")).toStdString(), Feed());
  const auto readZipAfter = [&](const QStringList& keepArchives) {
    LockDownGdal(CityLayerDrivers(), keepArchives);
    try {
      std::exit(ReadGtfsFeeds({zip}, {}).lines.size() == 1 ? 0 : 2);
    } catch (const InputError&) {
      std::exit(3);
    }
  };
  EXPECT_EXIT(readZipAfter({}), ::testing::ExitedWithCode(3), "") << "the program refuses archives";
  EXPECT_EXIT(readZipAfter({QStringLiteral("/vsicurl/")}), ::testing::ExitedWithCode(3), "")
      << "only archives are kept";
  EXPECT_EXIT(readZipAfter({QStringLiteral("/vsizip/")}), ::testing::ExitedWithCode(0), "")
      << "the importer reads zips";
}

}  // namespace
