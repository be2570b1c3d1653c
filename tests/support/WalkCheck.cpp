#include "tests/support/WalkCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace walk;

double PathMetres(const std::vector<MapPoint>& path) {
  double metres = 0;
  for (std::size_t i = 1; i < path.size(); ++i)
    metres += std::hypot(path[i].x - path[i - 1].x, path[i].y - path[i - 1].y);
  return metres;
}

bool CloseMetres(double a, double b) { return std::abs(a - b) <= 1e-6 * std::max(1.0, std::abs(b)); }

void ExpectWalk(const Network& network, const WalkOracle& oracle, const Walk& walk, MapPoint a, MapPoint b,
                double tolerance) {
  // Equal to a millionth, and tolerance for each of `pieces` rounded numbers summed.
  const auto near = [&](double got, double want, double pieces) {
    return std::abs(got - want) <= 1e-6 * std::max(1.0, std::abs(want)) + tolerance * pieces;
  };
  const auto apart = [](MapPoint p, MapPoint q) { return std::hypot(p.x - q.x, p.y - q.y); };
  const WalkOracle::Answer expected = oracle.Walk(a, b);
  ASSERT_EQ(walk.straight, expected.straight) << a.x << "," << a.y << " → " << b.x << "," << b.y;
  EXPECT_TRUE(near(walk.metres, expected.metres, 1)) << walk.metres << " ≠ " << expected.metres;
  ASSERT_FALSE(walk.path.empty());
  EXPECT_LE(apart(walk.path.front(), a), tolerance);
  EXPECT_LE(apart(walk.path.back(), b), tolerance);
  if (walk.straight) return;
  const Join ja = *network.JoinOf(a), jb = *network.JoinOf(b);
  const double off = 1e-6 + tolerance;
  for (const MapPoint& p : walk.path)
    EXPECT_TRUE(oracle.OnStreet(p, off) || WalkOracle::Distance(p, a, ja.at) <= off ||
                WalkOracle::Distance(p, jb.at, b) <= off)
        << "off the streets: " << p.x << "," << p.y;
  EXPECT_TRUE(near(PathMetres(walk.path), walk.metres, 2.0 * double(walk.path.size())))
      << PathMetres(walk.path) << " ≠ " << walk.metres;
  double streetMetres = 0;
  for (std::size_t i = 0; i < walk.streets.size(); ++i) {
    streetMetres += walk.streets[i].metres;
    EXPECT_FALSE(walk.streets[i].name.isEmpty());
    if (i > 0) {
      EXPECT_NE(walk.streets[i].name, walk.streets[i - 1].name);
    }
  }
  EXPECT_TRUE(near(streetMetres, walk.metres - ja.metres - jb.metres, double(walk.streets.size()) + 1))
      << streetMetres << " along streets of " << walk.metres;
}

std::vector<Street> RiverStreets(double bridge) {
  std::vector<Street> streets;
  for (const double y : {100.0, -100.0})
    streets.push_back({y > 0 ? QStringLiteral("北岸路") : QStringLiteral("南岸路"),
                       {{{-7000, y}, {0, y}, {bridge, y}, {7000, y}}}});
  streets.push_back({QStringLiteral("桥"), {{{bridge, 100}, {bridge, -100}}}});
  return streets;
}
