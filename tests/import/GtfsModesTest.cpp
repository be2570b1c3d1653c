// Which routes of a feed become lines, of which mode, colour and name, and what the feed's report
// counts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "data/TransitMode.h"
#include "import/gtfs/GtfsReader.h"
#include "import/gtfs/RouteTypes.h"
#include "tests/import/GtfsFeedFixture.h"

namespace {

using gtfsfixture::Files;
using gtfsfixture::PlainRows;
using gtfsfixture::Row;
using qiwu::import::KindOfRouteType;
using qiwu::import::SourceReport;
using qiwu::import::TransitLine;
using qiwu::import::TransitNetwork;

TEST(GtfsRouteTypesTest, EachTypeHasAModeOrAReason) {
  struct Type {
    std::uint32_t type;
    const char* mode;  // or why it is left out
  };
  const Type cases[] = {
      {0, "tram"},
      {1, "subway"},
      {2, "rail"},
      {3, "bus"},
      {4, "ferry"},
      {5, "cable_tram"},
      {6, "aerialway"},
      {7, "funicular"},
      {8, "not a mode of transit"},
      {10, "not a mode of transit"},
      {11, "trolleybus"},
      {12, "monorail"},
      {13, "not a mode of transit"},
      {99, "not a mode of transit"},
      {100, "rail"},
      {199, "rail"},
      {200, "coach"},
      {299, "coach"},
      {300, "rail"},
      {399, "rail"},
      {400, "subway"},
      {404, "subway"},
      {405, "monorail"},
      {406, "subway"},
      {699, "subway"},
      {700, "bus"},
      {799, "bus"},
      {800, "trolleybus"},
      {899, "trolleybus"},
      {900, "tram"},
      {999, "tram"},
      {1000, "ferry"},
      {1099, "ferry"},
      {1100, "air"},
      {1199, "air"},
      {1200, "ferry"},
      {1299, "ferry"},
      {1300, "aerialway"},
      {1399, "aerialway"},
      {1400, "funicular"},
      {1499, "funicular"},
      {1500, "taxi"},
      {1599, "taxi"},
      {1600, "other"},
      {1699, "other"},
      {1700, "miscellaneous"},
      {1799, "miscellaneous"},
      {1800, "not a mode of transit"},
      {9999, "not a mode of transit"},
      {4294967295, "not a mode of transit"},
  };
  for (const Type& c : cases) {
    const auto kind = KindOfRouteType(c.type);
    ASSERT_NE(kind.mode == nullptr, kind.leftOutFor == nullptr) << c.type << ": kept or left out, not both";
    EXPECT_STREQ(kind.mode ? kind.mode : kind.leftOutFor, c.mode) << c.type;
    if (kind.mode) {
      EXPECT_NE(city::FindTransitMode(kind.mode), nullptr) << kind.mode << " is a mode's key";
    }
  }
}

class GtfsModesTest : public gtfsfixture::FeedTest {
 protected:
  static const TransitLine* Named(const TransitNetwork& network, const std::string& name) {
    for (const TransitLine& line : network.lines)
      if (line.name == name) return &line;
    return nullptr;
  }
};

TEST_F(GtfsModesTest, LinesAreNamedByShortThenLongNameThenId) {
  const char* twoRoutes = "route_id,route_short_name,route_long_name,route_type\nR,5,,3\nS,,5,3\n";
  ExpectLines({
      {"short name first",
       {{"routes.txt", "route_id,route_short_name,route_long_name,route_type\nR,5,港湾线,3\n"}},
       "5: 甲 乙"},
      {"long name when the short one is blank",
       {{"routes.txt", "route_id,route_short_name,route_long_name,route_type\nR, , 港湾线 ,3\n"}},
       "港湾线: 甲 乙"},
      {"long name without a short-name column",
       {{"routes.txt", "route_id,route_long_name,route_type\nR,港湾线,3\n"}},
       "港湾线: 甲 乙"},
      {"route_id when both are blank",
       {{"routes.txt", "route_id,route_short_name,route_long_name,route_type\nR,,,3\n"}},
       "R: 甲 乙"},
      {"a long name clashes like any other",
       {{"routes.txt", twoRoutes},
        {"trips.txt", "route_id,trip_id\nR,t1\nS,t2\n"},
        {"stop_times.txt", "trip_id,stop_id,stop_sequence\nt1,A,1\nt1,B,2\nt2,C,1\n"}},
       "5 (R): 甲 乙; 5 (S): 丙"},
  });
}

TEST_F(GtfsModesTest, ColoursAreSixHexDigitsElseNoneAndCounted) {
  struct Colour {
    const char* given;
    const char* kept;
    long leftOut;  // counted as not six hex digits
  };
  const Colour cases[] = {
      {"ff8800", "FF8800", 0}, {" 00aaFF ", "00AAFF", 0}, {"", "", 0},       {"   ", "", 0},
      {"F80", "", 1},          {"#FF8800", "", 1},        {"GG0000", "", 1}, {"FF88001", "", 1},
      {"ＦＦ8800", "", 1},
  };
  for (const Colour& c : cases) {
    const std::string routes =
        std::string("route_id,route_short_name,route_type,route_color\nR,5,3,\"") + c.given + "\"\n";
    const TransitNetwork network = Read({{"routes.txt", routes.c_str()}});
    ASSERT_EQ(network.lines.size(), 1u) << c.given << ": a bad colour keeps its line";
    EXPECT_EQ(network.lines[0].colour, c.kept) << c.given;
    const SourceReport& report = network.reports.at(0);
    EXPECT_EQ(report.LeftOutCount("route_color", "not six hex digits"), c.leftOut) << c.given;
    EXPECT_EQ(report.KeptCount("route_color"), *c.kept ? 1 : 0) << c.given;
  }
}

TEST_F(GtfsModesTest, KeepsEveryModeAndCountsWhatItLeavesOut) {
  const TransitNetwork network = Read({
      {"routes.txt",
       "route_id,route_short_name,route_long_name,route_type,route_color\n"
       "T,,有轨电车1号线,0,ff8800\nX,x,,9999,\nP,p,,1100,zzzzzz\nQ,q,,1500,\nM,m,,1702,\n"
       "I,idle,,3,#123456\nF,f,,1200,12345\nN,n,,3,\n"},
      {"trips.txt", "route_id,trip_id\nT,t1\nT,t2\nX,x1\nP,p1\nQ,q1\nM,m1\nI,i1\nF,f1\n"},
      {"stops.txt",
       "stop_id,stop_name,stop_lat,stop_lon\nA,甲,30.0,114.0\nB,乙,30.1,114.1\nC,丙,30.2,114.2\n"
       "D,丁,30.3,114.3\nE,戊,,\nG,己,30.4,114.4\n"},
      // Only t1 of the tram is chosen; a route left out may call at a stop without a position.
      {"stop_times.txt",
       "trip_id,stop_id,stop_sequence\nt1,A,1\nt1,B,2\nt2,C,1\nt2,D,2\nx1,G,1\np1,E,1\nf1,A,1\n"},
  });
  ASSERT_EQ(network.lines.size(), 2u) << gtfsfixture::Describe(network);
  const TransitLine* tram = Named(network, "有轨电车1号线");
  const TransitLine* ferry = Named(network, "f");
  ASSERT_TRUE(tram && ferry) << gtfsfixture::Describe(network);
  EXPECT_EQ(std::tie(tram->mode, tram->colour), std::make_tuple("tram", "FF8800"));
  EXPECT_EQ(std::tie(ferry->mode, ferry->colour), std::make_tuple("ferry", ""));
  EXPECT_EQ(network.stops.size(), 2u) << "the ferry's stop is the tram's";

  struct Row {
    const char* kind;
    const char* why;  // null: kept
    long count;
  };
  const Row rows[] = {
      {"route_type 0", nullptr, 1},
      {"route_type 1200", nullptr, 1},
      {"route_type 9999", "not a mode of transit", 1},
      {"route_type 1100", "air", 1},
      {"route_type 1500", "taxi", 1},
      {"route_type 1702", "miscellaneous", 1},
      {"route_type 3", "no trip calls at a stop", 2},
      {"route_color", nullptr, 1},
      {"route_color", "not six hex digits", 1},
      {"trips", nullptr, 3},
      {"trips", "of a route left out", 4},
      {"trips", "no calls", 1},
      {"stops", nullptr, 2},
      {"stops", "only on trips not chosen", 2},
      {"stops", "no calls", 1},
      {"stops", "no position", 1},
  };
  const SourceReport& report = network.reports.at(0);
  for (const Row& row : rows)
    EXPECT_EQ(row.why ? report.LeftOutCount(row.kind, row.why) : report.KeptCount(row.kind), row.count)
        << row.kind << " " << (row.why ? row.why : "kept");
  long routes = 0;
  for (const char* type : {"0", "3", "1100", "1200", "1500", "1702", "9999"})
    routes += report.Read(std::string("route_type ") + type);
  EXPECT_EQ(routes, 8) << "each route once";
  EXPECT_EQ(report.Read("trips"), 8) << "each trip once";
  EXPECT_EQ(report.Read("stops"), 6) << "each stop once";
  EXPECT_NE(report.Text().find("kept as 有轨电车 1"), std::string::npos) << report.Text();

  const auto& extent = network.extents.at(0);
  EXPECT_EQ(std::make_tuple(extent.min.lon, extent.min.lat, extent.max.lon, extent.max.lat),
            std::make_tuple(114.0, 30.0, 114.4, 30.4))
      << "the stops with a position";
}

TEST_F(GtfsModesTest, ThePublishedSampleFeedKeepsEachRouteThatRuns) {
  const std::string feed = gtfsfixture::SampleFeed();
  if (!std::filesystem::exists(feed + "/gtfs.zip"))
    GTEST_SKIP() << feed << " is missing: run scripts/install-deps.sh";

  // What its files say: the routes of a kept type that some trip runs, each as its own name.
  const auto routes = PlainRows(feed + "/gtfs/routes.txt"), trips = PlainRows(feed + "/gtfs/trips.txt");
  const auto stops = PlainRows(feed + "/gtfs/stops.txt"), calls = PlainRows(feed + "/gtfs/stop_times.txt");
  std::set<std::string> calling, running;
  for (const Row& call : calls) calling.insert(call.at("trip_id"));
  for (const Row& trip : trips)
    if (calling.count(trip.at("trip_id"))) running.insert(trip.at("route_id"));
  std::vector<std::tuple<std::string, std::string, std::string>> expected, read;
  long trams = 0;
  std::set<std::string> types;
  for (const Row& route : routes) {
    types.insert("route_type " + route.at("route_type"));
    const auto kind = KindOfRouteType(std::uint32_t(std::stoul(route.at("route_type"))));
    if (!kind.mode || !running.count(route.at("route_id"))) continue;
    std::string colour = route.at("route_color");
    std::transform(colour.begin(), colour.end(), colour.begin(),
                   [](unsigned char c) { return std::toupper(c); });
    const std::string& shortName = route.at("route_short_name");
    const std::string& longName = route.at("route_long_name");
    expected.emplace_back(!shortName.empty()  ? shortName
                          : !longName.empty() ? longName
                                              : route.at("route_id"),
                          kind.mode, colour.size() == 6 ? colour : "");
    trams += route.at("route_type") == "0";
  }
  qiwu::import::LonLatBox box;
  for (const Row& stop : stops)
    if (!stop.at("stop_lat").empty())
      box.Add({std::stod(stop.at("stop_lon")), std::stod(stop.at("stop_lat"))});
  std::sort(expected.begin(), expected.end());
  ASSERT_GE(trams, 1) << "the sample has tram lines";

  for (const std::string& path : {feed + "/gtfs.zip", feed + "/gtfs"}) {
    std::vector<std::string> progress;
    const TransitNetwork network =
        qiwu::import::ReadGtfsFeeds({path}, [&](const std::string& line) { progress.push_back(line); });
    read.clear();
    for (const TransitLine& line : network.lines) read.emplace_back(line.name, line.mode, line.colour);
    std::sort(read.begin(), read.end());
    EXPECT_EQ(read, expected) << path;
    EXPECT_EQ(std::count_if(network.lines.begin(), network.lines.end(),
                            [](const TransitLine& line) { return line.mode == "tram"; }),
              trams)
        << path;
    const TransitLine* bus = Named(network, "Ada");
    ASSERT_NE(bus, nullptr) << path;
    EXPECT_GT(bus->route.size(), bus->stops.size()) << path << ": drawn along its shape";
    EXPECT_GE(progress.size(), 5u) << "a line for each file read";

    const SourceReport& report = network.reports.at(0);
    long routesRead = 0;
    for (const std::string& type : types) routesRead += report.Read(type);
    EXPECT_EQ(routesRead, long(routes.size())) << path;
    EXPECT_EQ(report.KeptCount("route_type 0"), trams) << path;
    EXPECT_EQ(report.Read("trips"), long(trips.size())) << path;
    EXPECT_EQ(report.Read("stops"), long(stops.size())) << path;
    EXPECT_EQ(report.KeptCount("stops"), long(network.stops.size())) << path;
    const auto& extent = network.extents.at(0);
    EXPECT_EQ(std::make_tuple(extent.min.lon, extent.min.lat, extent.max.lon, extent.max.lat),
              std::make_tuple(box.min.lon, box.min.lat, box.max.lon, box.max.lat))
        << path;
  }
}

}  // namespace
