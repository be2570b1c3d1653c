// Walks along the streets against a plain Dijkstra referee (tests/support/WalkOracle) on the demo
// city and on generated grids, the searches to many places against single walks, and small
// networks that force detours, fall back to the straight line or hold bad geometries.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <cmath>
#include <random>

#include "bus/WalkNetwork.h"
#include "map/Workspace.h"
#include "tests/support/WalkCheck.h"
#include "tests/support/WalkOracle.h"

using namespace walk;

namespace {

const QString kDemoDir = QStringLiteral(QIWU_PROGRAM_DIR);
const QString kDemoCity = QStringLiteral("栖坞市");

// The demo city's main workspace and the streets of its walked layers, once.
struct DemoStreets {
  Workspace workspace;
  std::vector<Street> streets;

  DemoStreets() {
    if (!LoadWorkspace(kDemoDir + "/map/" + kDemoCity + "/" + kDemoCity + ".gst", workspace).ok())
      throw std::runtime_error("demo workspace");
    std::vector<Layer*> layers;
    for (const auto& layer : workspace.layers) layers.push_back(layer.get());
    streets = StreetsOf(WalkLayers(layers));
  }
  MapPoint Named(const QString& name) {
    for (const auto& layer : workspace.layers)
      if (const int id = layer->IdOfNamedFeature(name)) return layer->Store().CenterOf(id);
    throw std::runtime_error("no feature named " + name.toStdString());
  }
  static DemoStreets& Get() {
    static DemoStreets demo;
    return demo;
  }
};

// A grid of streets `spacing` apart with jittered crossings, some pieces missing (detours, parts
// that do not connect), some streets unnamed, and diagonals that cross streets without meeting them.
std::vector<Street> GridStreets(int size, double spacing, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> jitter(-spacing / 5, spacing / 5), unit(0, 1);
  std::vector<MapPoint> crossing;
  for (int i = 0; i < size * size; ++i)
    crossing.push_back({(i % size) * spacing + jitter(random), (i / size) * spacing + jitter(random)});
  std::vector<Street> streets;
  for (int line = 0; line < size; ++line)
    for (const bool across : {true, false}) {
      Street* street = nullptr;
      for (int k = 0; k < size; ++k) {
        const MapPoint p = across ? crossing[line * size + k] : crossing[k * size + line];
        if (!street || unit(random) < 0.15) {  // a gap, or a new street beginning here
          const bool gap = street && unit(random) < 0.5;
          street = &streets.emplace_back();
          street->name = unit(random) < 0.2 ? QString() : QStringLiteral("街%1").arg(streets.size());
          street->parts.emplace_back();
          if (!gap && k > 0)
            street->parts.back().push_back(across ? crossing[line * size + k - 1]
                                                  : crossing[(k - 1) * size + line]);
        }
        street->parts.back().push_back(p);
      }
    }
  for (int d = 0; d < size / 3; ++d)
    streets.push_back(
        {QStringLiteral("高架%1").arg(d),
         {{{unit(random) * spacing * size, -spacing}, {unit(random) * spacing * size, spacing * size}}}});
  return streets;
}

MapRect ExtentOf(const std::vector<Street>& streets) {
  MapRect r{INFINITY, INFINITY, -INFINITY, -INFINITY};
  for (const Street& s : streets)
    for (const auto& part : s.parts)
      for (const MapPoint& p : part) r = r.United({p.x, p.y, p.x, p.y});
  return r;
}

struct RandomCase {
  const char* name;
  std::vector<Street> (*streets)();
  int pairs;
  double spread;  // how far outside the streets' extent points may lie
};

class WalkAgainstOracle : public testing::TestWithParam<RandomCase> {};

// Random pairs, near each other and across the whole network, walked without a limit and within
// the access limit.
TEST_P(WalkAgainstOracle, RandomPairs) {
  const std::vector<Street> streets = GetParam().streets();
  const Network network(streets);
  const WalkOracle oracle(streets);
  ASSERT_GT(network.SegmentCount(), 0);
  EXPECT_EQ(network.LeftOut(), oracle.LeftOut());
  const MapRect extent = ExtentOf(streets);
  std::mt19937 random(11);
  const double spread = GetParam().spread;
  std::uniform_real_distribution<double> x(extent.minX - spread, extent.maxX + spread),
      y(extent.minY - spread, extent.maxY + spread), near(-600, 600);
  Walker walker(network);
  int straight = 0, beyondLimit = 0;
  for (int i = 0; i < GetParam().pairs && !HasFailure(); ++i) {
    const MapPoint a{x(random), y(random)};
    const MapPoint b =
        i % 2 ? MapPoint{x(random), y(random)} : MapPoint{a.x + near(random), a.y + near(random)};
    const std::optional<Walk> walk = walker.Between(a, b);
    ASSERT_TRUE(walk);
    ExpectWalk(network, oracle, *walk, a, b);
    straight += walk->straight;
    const std::optional<Walk> bounded = walker.Between(a, b, kAccessWalkMetres);
    EXPECT_EQ(bounded.has_value(), walk->metres <= kAccessWalkMetres);
    if (bounded) {
      EXPECT_EQ(bounded->metres, walk->metres);
    }
    beyondLimit += !bounded;
  }
  // The pairs tried both kinds of walk and both sides of the limit.
  EXPECT_GT(straight, 0);
  EXPECT_LT(straight, GetParam().pairs / 2);
  EXPECT_GT(beyondLimit, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Networks, WalkAgainstOracle,
    testing::Values(RandomCase{"demo_city", [] { return DemoStreets::Get().streets; }, 2000, 1500},
                    RandomCase{"grid_small", [] { return GridStreets(8, 120, 1); }, 1500, 400},
                    RandomCase{"grid_wide", [] { return GridStreets(30, 200, 2); }, 1500, 1200},
                    RandomCase{"grid_dense", [] { return GridStreets(40, 50, 3); }, 1500, 400}),
    [](const auto& info) { return std::string(info.param.name); });

// The searches to many places give each place the walk Between gives, and no other place.
TEST(WalkSearches, WithinAndChangeWalksAgreeWithSingleWalks) {
  const std::vector<Street> streets = GridStreets(30, 150, 4);
  const Network network(streets);
  const MapRect extent = ExtentOf(streets);
  std::mt19937 random(5);
  std::uniform_real_distribution<double> x(extent.minX - 1200, extent.maxX + 1200),
      y(extent.minY - 1200, extent.maxY + 1200);
  std::vector<MapPoint> points(600);
  for (MapPoint& p : points) p = {x(random), y(random)};
  points[1] = points[0];  // two places at one position
  const Places places(network, points);
  const ChangeWalks changes(network, places);
  Walker walker(network);
  const auto expectSame = [&](MapPoint from, std::span<const Reach> got, double limit, int self) {
    std::size_t next = 0;
    for (int place = 0; place < places.Count(); ++place) {
      if (place == self) continue;
      const std::optional<Walk> walk = walker.Between(from, places.Point(place), limit);
      const bool listed = next < got.size() && got[next].place == place;
      ASSERT_EQ(listed, walk.has_value()) << "place " << place;
      if (!listed) continue;
      EXPECT_TRUE(CloseMetres(got[next].metres, walk->metres));
      EXPECT_EQ(got[next].straight, walk->straight);
      ++next;
    }
    EXPECT_EQ(next, got.size());
  };
  std::size_t found = 0;
  for (int i = 0; i < 60 && !HasFailure(); ++i) {
    const MapPoint from{x(random), y(random)};
    const std::vector<Reach> within = walker.Within(from, places, kAccessWalkMetres);
    expectSame(from, within, kAccessWalkMetres, -1);
    found += within.size();
  }
  for (int place = 0; place < places.Count() && !HasFailure(); place += 7) {
    expectSame(places.Point(place), changes.From(place), kChangeWalkMetres, place);
    found += changes.From(place).size();
  }
  EXPECT_GT(found, 500u);
}

struct SmallCase {
  const char* name;
  std::vector<Street> streets;
  MapPoint a, b;
  double metres;  // the walk's
  bool straight;
};

Street Line(const char* name, std::vector<MapPoint> points) {
  return {QString::fromUtf8(name), {std::move(points)}};
}

class SmallNetworks : public testing::TestWithParam<SmallCase> {};

TEST_P(SmallNetworks, Walk) {
  const SmallCase& c = GetParam();
  const Network network(c.streets);
  const WalkOracle oracle(c.streets);
  const std::optional<Walk> walk = Walker(network).Between(c.a, c.b);
  ASSERT_TRUE(walk);
  EXPECT_NEAR(walk->metres, c.metres, 1e-9);
  EXPECT_EQ(walk->straight, c.straight);
  ExpectWalk(network, oracle, *walk, c.a, c.b);
}

// Two banks of a river at y = 0 and y = 100, with one bridge at x = 1000; a cross street over the
// river at x = 500 (a bridge without stairs) that shares no vertex with the banks.
const std::vector<Street> kRiver = {Line("南岸路", {{0, 0}, {500, 0}, {1000, 0}}),
                                    Line("北岸路", {{0, 100}, {500, 100}, {1000, 100}}),
                                    Line("大桥", {{1000, 0}, {1000, 100}})};

INSTANTIATE_TEST_SUITE_P(
    Cases, SmallNetworks,
    testing::Values(
        SmallCase{"round_by_the_bridge", kRiver, {100, -10}, {100, 110}, 10 + 900 + 100 + 900 + 10, false},
        SmallCase{"along_one_segment", kRiver, {100, -10}, {300, 20}, 10 + 200 + 20, false},
        SmallCase{"one_segment_backwards", kRiver, {300, 5}, {100, -5}, 5 + 200 + 5, false},
        SmallCase{"joined_at_a_vertex", kRiver, {500, -30}, {1030, 100}, 30 + 500 + 100 + 30, false},
        SmallCase{"crossing_without_a_shared_vertex",
                  {Line("东西路", {{0, 0}, {1000, 0}}), Line("高架", {{500, -500}, {500, 500}})},
                  {100, 10},
                  {510, 400},
                  std::hypot(410.0, 390.0) * 1.3,
                  true},
        SmallCase{"join_too_far", kRiver, {500, 1200}, {500, -5}, 1205 * 1.3, true},
        SmallCase{"no_streets", {}, {0, 0}, {300, 400}, 500 * 1.3, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WalkNetwork, LeavesOutAndCountsBadGeometries) {
  const double nan = std::nan(""), inf = INFINITY;
  const std::vector<Street> streets = {Line("好路", {{0, 0}, {100, 0}, {100, 0}, {200, 0}}),
                                       {QStringLiteral("空"), {}},
                                       Line("空线", {}),
                                       Line("一点", {{5, 5}}),
                                       Line("同点", {{5, 5}, {5, 5}}),
                                       Line("非数", {{0, 0}, {nan, 5}}),
                                       Line("无穷", {{0, 0}, {inf, 0}}),
                                       {QStringLiteral("一部分坏"), {{{0, 0}, {0, 50}}, {{0, 0}, {0, -inf}}}},
                                       {QStringLiteral("一部分空"), {{{0, 0}, {0, 50}}, {{7, 7}}}}};
  const Network network(streets);
  EXPECT_EQ(network.LeftOut(), 7);
  EXPECT_EQ(WalkOracle(streets).LeftOut(), 7);
  EXPECT_EQ(network.SegmentCount(), 3);
  EXPECT_EQ(network.NodeCount(), 4);
  EXPECT_FALSE(network.JoinOf({nan, 0}));
  EXPECT_FALSE(Walker(network).Between({0, 0}, {nan, 0}));
  const Places places(network, {{0, 10}, {nan, 0}, {10, inf}});
  EXPECT_EQ(Walker(network).Within({nan, 0}, places, kNoLimit).size(), 0u);
  const std::vector<Reach> reached = Walker(network).Within({0, 0}, places, kNoLimit);
  ASSERT_EQ(reached.size(), 1u);
  EXPECT_EQ(reached[0].metres, 10);
}

TEST(WalkNetwork, NamesTheStreetsWalkedMergingPiecesOfOneStreet) {
  const std::vector<Street> streets = {Line("东大街", {{0, 0}, {100, 0}, {200, 0}}),
                                       Line("东大街", {{200, 0}, {300, 0}}), Line("", {{300, 0}, {300, 100}}),
                                       Line("西街", {{300, 100}, {300, 150}, {400, 150}})};
  const Walk walk = *Walker(Network(streets)).Between({50, -10}, {350, 160});
  ASSERT_EQ(walk.streets.size(), 3u);
  EXPECT_EQ(walk.streets[0].name, QStringLiteral("东大街"));
  EXPECT_NEAR(walk.streets[0].metres, 250, 1e-9);
  EXPECT_EQ(walk.streets[1].name, kUnnamedStreet);
  EXPECT_NEAR(walk.streets[1].metres, 100, 1e-9);
  EXPECT_EQ(walk.streets[2].name, QStringLiteral("西街"));
  EXPECT_NEAR(walk.streets[2].metres, 100, 1e-9);
  const std::vector<MapPoint> path = {{50, -10},  {50, 0},    {100, 0},   {200, 0},  {300, 0},
                                      {300, 100}, {300, 150}, {350, 150}, {350, 160}};
  EXPECT_EQ(walk.path, path);
}

// The walk from 钟楼 to 高新大学 keeps to the streets but for its two join lines, as long as the
// referee's.
TEST(WalkNetwork, DemoCityBellTowerToHighTechUniversity) {
  DemoStreets& demo = DemoStreets::Get();
  const Network network(demo.streets);
  const MapPoint a = demo.Named(QStringLiteral("钟楼")), b = demo.Named(QStringLiteral("高新大学"));
  const std::optional<Walk> walk = Walker(network).Between(a, b);
  ASSERT_TRUE(walk);
  EXPECT_FALSE(walk->straight);
  EXPECT_GT(walk->path.size(), 4u);
  ExpectWalk(network, WalkOracle(demo.streets), *walk, a, b);
}

}  // namespace
