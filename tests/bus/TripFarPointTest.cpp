// Points far off the map: the reach rule (map/MapReach.h), and walks of absurd lengths that still
// make a plan whose numbers read as numbers.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "bus/TripPlanText.h"
#include "bus/TripSearch.h"
#include "map/MapReach.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kMax = std::numeric_limits<double>::max();

TEST(MapReach, TakesPointsWithin50KmOfTheExtent) {
  const MapRect extent{0, 0, 1000, 2000};
  const struct {
    double x, y;
    bool near;
  } cases[] = {
      {500, 1000, true},     {0, 2000, true},       {-50000, 1000, true},
      {-50001, 1000, false}, {500, 52000, true},    {500, 52001, false},
      {31000, 42000, true},  {31001, 42000, false},  // off a corner: 30 km and 40 km make 50
      {1e300, 0, false},     {-kMax, kMax, false},  {std::nan(""), 0, false},
      {0, kInf, false},
  };
  for (const auto& c : cases) EXPECT_EQ(WithinReach(extent, {c.x, c.y}), c.near) << c.x << "," << c.y;
  EXPECT_FALSE(WithinReach(std::nullopt, {0, 0}));
}

Layer PointsLayer(std::initializer_list<MapPoint> points, bool temporary = false) {
  FeatureStore store;
  for (const MapPoint& p : points) store.Add(kFeaturePoint, std::span<const MapPoint>(&p, 1), {});
  return Layer(QStringLiteral("点"), std::move(store), temporary);
}

TEST(MapReach, TheExtentSpansTheFeaturesOfTheDataLayers) {
  const Layer a = PointsLayer({{0, 0}, {10, 20}}), b = PointsLayer({{-5, 30}}), empty = PointsLayer({});
  const Layer marker = PointsLayer({{1e6, 1e6}}, true);
  const std::optional<MapRect> extent = LayersExtent({&a, &empty, &b, &marker});
  ASSERT_TRUE(extent);
  EXPECT_EQ(std::vector<double>({extent->minX, extent->minY, extent->maxX, extent->maxY}),
            std::vector<double>({-5, 0, 10, 30}));
  EXPECT_FALSE(LayersExtent({&empty, &marker}));
}

// Walking all the way between two points: one plan, however far, its distance in plain digits
// (never negative or wrapped round) or the bound shown beyond a million kilometres.
TEST(TripPlanText, AnyWalkIsAPlanWithPlainNumbers) {
  const trip::Index index(trip::Network{});
  const struct {
    double fromX, toX;
    QString walked;
  } cases[] = {
      {0, 1000, "1300"},
      {0, 1e8, "130000000"},
      {0, 1e300, "超过 1000000000"},
      {-kMax, kMax, "超过 1000000000"},  // the straight line itself is infinite
  };
  for (const auto& c : cases) {
    const trip::Place from{"A", -1, true, {c.fromX, 0}}, to{"B", -1, true, {c.toX, 0}};
    const std::vector<trip::Plan> plans = trip::Search(index, from, to).plans;
    ASSERT_EQ(plans.size(), 1u) << c.toX;
    const QString text = trip::PlanText(index, plans[0], to);
    EXPECT_TRUE(text.contains("全程步行 " + c.walked + " 米")) << text.toStdString();
    EXPECT_FALSE(text.contains('-') || text.contains("inf") || text.contains("nan")) << text.toStdString();
  }
}

}  // namespace
