// The planners' walks along the demo city's streets against the walking referee
// (tests/support/WalkOracle): the walk-only plan as qiwu-cli writes it, the access and change walks
// of random trips, and a city without streets keeping the straight rule.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cmath>
#include <random>

#include "bus/TripCity.h"
#include "bus/TripSearch.h"
#include "tests/bus/TripDemoCity.h"
#include "tests/support/CliRun.h"
#include "tests/support/WalkCheck.h"

using namespace trip;

namespace {

constexpr double kRounding = 0.071;  // a point written to 0.1 m lies this close to the exact one

const WalkOracle& DemoOracle() {
  static const WalkOracle oracle(DemoCity::Get().streets);
  return oracle;
}

const walk::Network& DemoNetwork() { return DemoCity::Get().streetsIndex->Streets()->Network(); }

MapPoint PointOf(const QJsonValue& value) {
  const QJsonArray xy = value.toArray();
  return {xy[0].toDouble(), xy[1].toDouble()};
}

// Whether a walk of these metres along path is the straight line × 1.3: a walk on the streets is
// never longer than its path, which is at least that straight line.
bool Straight(double metres, const std::vector<MapPoint>& path, double tolerance) {
  return path.size() == 2 && metres > PathMetres(path) + tolerance;
}

// A walk leg of the JSON as a walk: its path and streets as written, rounded.
walk::Walk WalkOf(const QJsonObject& leg) {
  walk::Walk walk;
  walk.metres = leg["metres"].toDouble();
  for (const QJsonValue& p : leg["path"].toArray()) walk.path.push_back(PointOf(p));
  for (const QJsonValue& s : leg["streets"].toArray())
    walk.streets.push_back({s["name"].toString(), s["metres"].toDouble()});
  walk.straight = walk.streets.empty() && Straight(walk.metres, walk.path, 0.1);
  return walk;
}

// The walk-only plan 钟楼 → 高新大学, as qiwu-cli writes it by the timetable and as the estimate:
// every vertex of its path on a street or one of its two join lines, its metres the referee's.
TEST(TripStreetWalks, WalkOnlyPlanFromTheBellTowerKeepsToTheStreets) {
  DemoCity& demo = DemoCity::Get();
  const auto from = FindPlace(*demo.index, QStringLiteral("钟楼"), demo.layersFromTop);
  const auto to = FindPlace(*demo.index, QStringLiteral("高新大学"), demo.layersFromTop);
  ASSERT_TRUE(from && to);
  const QStringList when[] = {{"--estimate"}, {"--at", "2024-03-05 08:00"}};
  for (const QStringList& how : when) {
    const CliRun run =
        RunProgram(QStringLiteral(QIWU_CLI),
                   QStringList{"--root", kDemoDir, "trip", "钟楼", "高新大学", "--json"} + how);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    int walkOnly = 0;
    for (const QJsonValue& plan : QJsonDocument::fromJson(run.out).object()["plans"].toArray()) {
      const QJsonArray legs = plan["legs"].toArray();
      if (legs.size() != 1 || legs[0]["mode"] != "walk") continue;
      ++walkOnly;
      const walk::Walk walk = WalkOf(legs[0].toObject());
      EXPECT_FALSE(walk.straight) << how.join(' ').toStdString();
      EXPECT_GT(walk.path.size(), 4u);
      ExpectWalk(DemoNetwork(), DemoOracle(), walk, from->point, to->point, kRounding);
    }
    EXPECT_EQ(walkOnly, 1) << how.join(' ').toStdString() << run.out.toStdString();
  }
}

MapPoint StopPoint(const Index& index, int stop, const Place& end) {
  return stop >= 0 ? index.Net().stops[std::size_t(stop)].position : end.point;
}

// Random trips between points of the city: every walk leg of every plan is the referee's walk
// between its ends, within its limit, and walks to stops go along the streets. (The demo city's
// stop names lie too far apart for changes on foot: the river city below has them.)
TEST(TripStreetWalks, AccessAndChangeWalksGoAlongTheStreets) {
  const Index& index = *DemoCity::Get().streetsIndex;
  MapRect box{1e300, 1e300, -1e300, -1e300};
  for (const Stop& s : index.Net().stops)
    if (s.placed)
      box = {std::min(box.minX, s.position.x), std::min(box.minY, s.position.y),
             std::max(box.maxX, s.position.x), std::max(box.maxY, s.position.y)};
  std::mt19937 random(11);
  std::uniform_real_distribution<double> x(box.minX, box.maxX), y(box.minY, box.maxY);
  int accessOnStreets = 0;  // walks of plans with a ride
  for (int trip = 0; trip < 150; ++trip) {
    const Place from{QStringLiteral("起"), -1, true, {x(random), y(random)}};
    const Place to{QStringLiteral("终"), -1, true, {x(random), y(random)}};
    for (const Plan& plan : Search(index, from, to).plans)
      for (const Leg& leg : plan.legs) {
        if (leg.mode != Leg::Mode::Walk) continue;
        const bool access = leg.from < 0 || leg.to < 0;
        const walk::Walk walk{leg.metres, Straight(leg.metres, leg.path, 1e-6), leg.path, leg.streets};
        ExpectWalk(DemoNetwork(), DemoOracle(), walk, StopPoint(index, leg.from, from),
                   StopPoint(index, leg.to, to));
        if (plan.rides > 0) {
          EXPECT_LE(leg.metres, access ? walk::kAccessWalkMetres : walk::kChangeWalkMetres);
        }
        accessOnStreets += access && plan.rides > 0 && !walk.streets.empty();
      }
  }
  EXPECT_GT(accessOnStreets, 0);
  std::printf("%d access walks of plans along the streets\n", accessOnStreets);
}

// Two lines ending on either bank of a river 200 m wide, bridged at x = bridge: the change walk
// between them goes over the bridge, and where that is longer than 390 m there is no change,
// though the straight rule would allow it (260 m).
struct RiverCity {
  Network network;
  std::vector<walk::Street> streets;

  explicit RiverCity(double bridge) {
    const MapPoint stops[] = {{-6000, 100}, {0, 100}, {0, -100}, {6000, -100}};
    for (int s = 0; s < 4; ++s) network.stops.push_back({QStringLiteral("站%1").arg(s), true, stops[s]});
    network.lines = {{QStringLiteral("1路"), {0, 1}}, {QStringLiteral("2路"), {2, 3}}};
    streets = RiverStreets(bridge);
  }
};

TEST(TripStreetWalks, ChangeWalksCrossTheRiverOnTheBridge) {
  struct Case {
    double bridge;
    bool changes;
  };
  for (const Case c : {Case{50, true}, Case{-90, true}, Case{150, false}, Case{-400, false}}) {
    const RiverCity city(c.bridge);
    const Index index(city.network, city.streets);
    const WalkOracle oracle(city.streets);
    const Place from{QStringLiteral("西"), -1, true, {-6000, 100}},
        to{QStringLiteral("东"), -1, true, {6000, -100}};
    const std::vector<Plan> plans = Search(index, from, to).plans;
    const auto ridden = std::find_if(plans.begin(), plans.end(), [](const Plan& p) { return p.rides == 2; });
    ASSERT_EQ(ridden != plans.end(), c.changes) << c.bridge;
    if (!c.changes) continue;
    const Leg& change = ridden->legs[2];
    ASSERT_EQ(change.mode, Leg::Mode::Walk);
    const walk::Walk walk{change.metres, false, change.path, change.streets};
    ExpectWalk(index.Streets()->Network(), oracle, walk, city.network.stops[1].position,
               city.network.stops[2].position);
    ASSERT_EQ(change.streets.size(), 3u) << c.bridge;
    EXPECT_EQ(change.streets[1].name, QStringLiteral("桥"));
  }
}

// A city whose street layers are empty walks straight lines × 1.3, as the walk-only plan shows.
TEST(TripStreetWalks, ACityWithoutStreetsWalksStraight) {
  const Index& index = *DemoCity::Get().index;
  ASSERT_EQ(index.Streets(), nullptr);
  const Place from{QStringLiteral("起"), -1, true, {500000, 3400000}};
  const Place to{QStringLiteral("终"), -1, true, {500300, 3400400}};
  const std::vector<Plan> plans = Search(index, from, to).plans;
  const auto found = std::find_if(plans.begin(), plans.end(), [](const Plan& p) { return p.rides == 0; });
  ASSERT_NE(found, plans.end());
  const Plan& walkOnly = *found;
  EXPECT_DOUBLE_EQ(walkOnly.walkMetres, 500 * kWalkDetour);
  EXPECT_EQ(walkOnly.legs.front().path, (std::vector<MapPoint>{from.point, to.point}));
  EXPECT_TRUE(walkOnly.legs.front().streets.empty());
}

}  // namespace
