// Where an imported city lies: sources that do not meet are refused, and every city has an outline
// for its whole-city view.
#include <gtest/gtest.h>

#include <cmath>

#include "import/CityOutline.h"
#include "import/SourcesApart.h"

using namespace qiwu::import;

namespace {

LonLatBox Box(double west, double south, double east, double north) {
  LonLatBox box;
  box.Add({west, south});
  box.Add({east, north});
  return box;
}

// The oracle: the shortest of the great-circle distances between points sampled densely along the
// two boxes' edges (the nearest points of two disjoint boxes lie on their edges).
double SampledKmApart(const LonLatBox& a, const LonLatBox& b) {
  const auto edge = [](const LonLatBox& box) {
    std::vector<LonLat> points;
    constexpr int kSteps = 400;
    for (int k = 0; k <= kSteps; ++k) {
      const double t = double(k) / kSteps;
      const double lon = box.min.lon + (box.max.lon - box.min.lon) * t;
      const double lat = box.min.lat + (box.max.lat - box.min.lat) * t;
      points.insert(points.end(),
                    {{lon, box.min.lat}, {lon, box.max.lat}, {box.min.lon, lat}, {box.max.lon, lat}});
    }
    return points;
  };
  const auto km = [](LonLat p, LonLat q) {
    const double r = M_PI / 180, dLat = (q.lat - p.lat) * r, dLon = (q.lon - p.lon) * r;
    const double h = std::pow(std::sin(dLat / 2), 2) +
                     std::cos(p.lat * r) * std::cos(q.lat * r) * std::pow(std::sin(dLon / 2), 2);
    return 2 * 6371.0088 * std::asin(std::sqrt(h));
  };
  double nearest = 1e9;
  for (LonLat p : edge(a))
    for (LonLat q : edge(b)) nearest = std::min(nearest, km(p, q));
  return nearest;
}

}  // namespace

TEST(SourcesApart, DistanceBetweenBoxesAgreesWithSampling) {
  const struct {
    LonLatBox a, b;
  } cases[] = {
      {Box(11.20, 46.45, 11.25, 46.48), Box(11.40, 46.45, 11.45, 46.50)},  // side by side
      {Box(11.20, 46.45, 11.25, 46.48), Box(11.20, 46.70, 11.25, 46.80)},  // one above the other
      {Box(11.20, 46.45, 11.25, 46.48), Box(11.60, 46.90, 11.70, 47.00)},  // corner to corner
      {Box(11.20, 46.45, 11.25, 46.48), Box(-122.5, 37.7, -122.3, 37.9)},  // an ocean between
      {Box(116.2, 39.8, 116.6, 40.1), Box(116.65, 39.0, 116.9, 41.0)},     // facing, at high latitude
      {Box(-58.5, -34.7, -58.3, -34.5), Box(-58.1, -34.9, -57.9, -34.6)},  // south of the equator
  };
  for (const auto& c : cases) {
    const double oracle = SampledKmApart(c.a, c.b);
    EXPECT_NEAR(KmApart(c.a, c.b), oracle, 0.002 * oracle + 0.05) << oracle;
    EXPECT_NEAR(KmApart(c.b, c.a), oracle, 0.002 * oracle + 0.05) << "either order";
  }
  EXPECT_EQ(KmApart(Box(11.2, 46.4, 11.3, 46.5), Box(11.25, 46.45, 11.4, 46.6)), 0) << "overlapping";
}

TEST(SourcesApart, OnlyPairsBeyondTheBoundAreRefused) {
  const LonLatBox extract = Box(11.20, 46.45, 11.25, 46.48);
  // 0.2° of longitude at 46.46°N is about 15.3 km, 0.3° about 23 km.
  const struct {
    std::vector<SourceExtent> sources;
    bool refused;
  } cases[] = {
      {{{"map.osm", extract}, {"the stops of near.zip", Box(11.45, 46.45, 11.5, 46.48)}}, false},
      {{{"map.osm", extract}, {"the stops of far.zip", Box(11.55, 46.45, 11.6, 46.48)}}, true},
      {{{"map.osm", extract}, {"the stops of empty.zip", LonLatBox()}}, false},
      {{{"the stops of a.zip", extract},
        {"the stops of b.zip", extract},
        {"the stops of c.zip", Box(12, 47, 12.1, 47.1)}},
       true},
  };
  for (const auto& c : cases) {
    const std::string refusal = ApartSources(c.sources);
    EXPECT_EQ(!refusal.empty(), c.refused) << refusal;
    if (c.refused) {
      EXPECT_NE(refusal.find(c.sources.back().source + " (longitude"), std::string::npos)
          << "names the extent of each: " << refusal;
    }
  }
}

namespace {

bool Inside(const citygen::Polygon& area, citygen::Vec2 at) {
  OGRLinearRing ring;
  for (citygen::Vec2 p : area.rings.front()) ring.addPoint(p.x, p.y);
  OGRPolygon polygon;
  polygon.addRing(&ring);
  OGRPoint point(at.x, at.y);
  return polygon.Contains(&point);
}

}  // namespace

TEST(CityOutline, TheExtractsBoundsElseTheHullOfEverything) {
  const MapProjection projection(32632, {11.22, 46.46});
  citygen::City city;
  city.name = "圣米迦勒";
  city.stops = {{"A", projection.ToCity({11.21, 46.455})}, {"B", projection.ToCity({11.23, 46.47})}};
  city.lines.push_back({"1", 1, {0, 1}, {city.stops[0].at, city.stops[1].at}, "tram", ""});
  city.pois[std::size_t(citygen::PoiType::Worship)].push_back(
      {"Kirche", projection.ToCity({11.225, 46.45}), {}, {}, {}, {}});

  citygen::City hull = city;
  EnsureCityOutline(LonLatBox(), projection, hull);
  ASSERT_EQ(hull.districts.size(), 1u);
  EXPECT_EQ(hull.districts[0].name, "圣米迦勒") << "named after the city";
  for (citygen::Vec2 at :
       {city.stops[0].at, city.stops[1].at, city.pois[std::size_t(citygen::PoiType::Worship)][0].at})
    EXPECT_TRUE(Inside(hull.districts[0].parts.at(0), at)) << at.x << "," << at.y;

  citygen::City bounded = city;
  EnsureCityOutline(Box(11.0, 46.3, 11.4, 46.6), projection, bounded);
  ASSERT_EQ(bounded.districts.size(), 1u);
  EXPECT_TRUE(Inside(bounded.districts[0].parts.at(0), projection.ToCity({11.39, 46.59})))
      << "the extract's bounds, not the hull";

  citygen::City point;
  point.name = "点";
  point.stops = {{"A", {10, 10}}};
  EnsureCityOutline(LonLatBox(), projection, point);
  ASSERT_EQ(point.districts.size(), 1u) << "a city of one point still gets an area";
  EXPECT_TRUE(Inside(point.districts[0].parts.at(0), {10, 10}));

  citygen::City districted = hull;
  EnsureCityOutline(LonLatBox(), projection, districted);
  EXPECT_EQ(districted.districts.size(), 1u) << "a city with districts gets nothing more";
}
