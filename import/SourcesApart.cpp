#include "import/SourcesApart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace qiwu::import {
namespace {

constexpr double kEarthRadiusKm = 6371.0088;

double Radians(double degrees) { return degrees * M_PI / 180; }

// The great-circle distance between two points (haversine).
double KmBetween(LonLat a, LonLat b) {
  const double dLat = Radians(b.lat - a.lat), dLon = Radians(b.lon - a.lon);
  const double h = std::sin(dLat / 2) * std::sin(dLat / 2) + std::cos(Radians(a.lat)) *
                                                                 std::cos(Radians(b.lat)) *
                                                                 std::sin(dLon / 2) * std::sin(dLon / 2);
  return 2 * kEarthRadiusKm * std::asin(std::min(1.0, std::sqrt(h)));
}

// The gap between two ranges on one axis: the nearest values of each, equal when they overlap.
std::pair<double, double> Nearest(double aMin, double aMax, double bMin, double bMax) {
  if (aMax < bMin) return {aMax, bMin};
  if (bMax < aMin) return {aMin, bMax};
  const double shared = std::max(aMin, bMin);
  return {shared, shared};
}

std::string Described(const SourceExtent& source) {
  char text[160];
  std::snprintf(text, sizeof text, " (longitude %.4f to %.4f, latitude %.4f to %.4f)", source.box.min.lon,
                source.box.max.lon, source.box.min.lat, source.box.max.lat);
  return source.source + text;
}

}  // namespace

double KmApart(const LonLatBox& a, const LonLatBox& b) {
  const auto [aLat, bLat] = Nearest(a.min.lat, a.max.lat, b.min.lat, b.max.lat);
  const auto [aLon, bLon] = Nearest(a.min.lon, a.max.lon, b.min.lon, b.max.lon);
  if (aLon == bLon) return KmBetween({aLon, aLat}, {bLon, bLat});
  // Apart east-west: meridians converge towards the poles, so the facing sides come nearest at the
  // shared latitude farthest from the equator.
  const double sharedLow = std::max(a.min.lat, b.min.lat), sharedHigh = std::min(a.max.lat, b.max.lat);
  if (sharedLow <= sharedHigh) {
    const double lat = std::abs(sharedLow) > std::abs(sharedHigh) ? sharedLow : sharedHigh;
    return KmBetween({aLon, lat}, {bLon, lat});
  }
  return KmBetween({aLon, aLat}, {bLon, bLat});
}

std::string ApartSources(const std::vector<SourceExtent>& sources) {
  for (std::size_t i = 0; i < sources.size(); ++i)
    for (std::size_t j = i + 1; j < sources.size(); ++j) {
      if (sources[i].box.Empty() || sources[j].box.Empty()) continue;
      const double km = KmApart(sources[i].box, sources[j].box);
      if (km <= kMostApartKm) continue;
      char distance[64];
      std::snprintf(distance, sizeof distance, "%.0f km", km);
      return "the sources lie " + std::string(distance) + " apart: " + Described(sources[i]) + " and " +
             Described(sources[j]) + "; --allow-apart imports them into one city all the same";
    }
  return {};
}

}  // namespace qiwu::import
