#include "import/CityOutline.h"

#include <memory>

#include "dataset/Shapes.h"

namespace qiwu::import {
namespace {

// A box's outline in the city's coordinates; its edges are divided so that they bend with the
// projection as the meridians and parallels do.
citygen::Ring BoxOutline(const LonLatBox& box, const MapProjection& projection) {
  constexpr int kSteps = 16;
  const LonLat corners[] = {
      box.min, {box.max.lon, box.min.lat}, box.max, {box.min.lon, box.max.lat}, box.min};
  std::vector<LonLat> outline;
  for (int side = 0; side < 4; ++side)
    for (int k = 0; k < kSteps; ++k) {
      const double t = double(k) / kSteps;
      const LonLat a = corners[side], b = corners[side + 1];
      outline.push_back({a.lon + (b.lon - a.lon) * t, a.lat + (b.lat - a.lat) * t});
    }
  outline.push_back(box.min);
  return projection.ToCity(outline);
}

// Every vertex the city holds.
OGRMultiPoint Vertices(const citygen::City& city) {
  OGRMultiPoint points;
  const auto add = [&points](citygen::Vec2 at) {
    OGRPoint point(at.x, at.y);
    points.addGeometry(&point);
  };
  const auto addLine = [&add](const citygen::Polyline& line) {
    for (citygen::Vec2 at : line) add(at);
  };
  const auto addAreas = [&addLine](const std::vector<citygen::Area>& areas) {
    for (const citygen::Area& area : areas)
      for (const citygen::Polygon& part : area.parts) addLine(part.rings.front());
  };
  addAreas(city.greens);
  addAreas(city.waters);
  addAreas(city.buildings);
  for (const citygen::Road& road : city.roads) addLine(road.line);
  for (const auto* ways : {&city.footways, &city.railways, &city.rivers})
    for (const citygen::Way& way : *ways) addLine(way.line);
  for (const citygen::BusLine& line : city.lines) addLine(line.route);
  for (const citygen::Stop& stop : city.stops) add(stop.at);
  for (const std::vector<citygen::Poi>& places : city.pois)
    for (const citygen::Poi& place : places) add(place.at);
  return points;
}

// The hull of the city's vertices, widened by a margin so that a city of one point or one straight
// line still has an area.
std::vector<citygen::Polygon> Hull(const citygen::City& city) {
  constexpr double kMargin = 200;  // metres
  const OGRMultiPoint points = Vertices(city);
  if (points.IsEmpty()) return {};
  const std::unique_ptr<OGRGeometry> hull(points.ConvexHull());
  if (!hull) return {};
  const citygen::Shape widened = citygen::Buffer(*hull, kMargin);
  return widened ? citygen::PolygonsOf(*widened) : std::vector<citygen::Polygon>{};
}

}  // namespace

void EnsureCityOutline(const LonLatBox& bounds, const MapProjection& projection, citygen::City& city) {
  if (!city.districts.empty()) return;
  std::vector<citygen::Polygon> outline;
  if (!bounds.Empty() && bounds.min.lon < bounds.max.lon && bounds.min.lat < bounds.max.lat)
    outline.push_back({{BoxOutline(bounds, projection)}});
  else
    outline = Hull(city);
  if (!outline.empty()) city.districts.push_back({city.name, std::move(outline)});
}

}  // namespace qiwu::import
