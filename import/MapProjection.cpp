#include "import/MapProjection.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "dataset/Shapes.h"

namespace qiwu::import {
namespace {

// China's extent, coarsely: its bounding box without the Korean peninsula and Japan. Near the
// borders a user who wants the other zone gives --epsg.
bool InChina(LonLat at) {
  const bool inBox = at.lon >= 73.5 && at.lon <= 135.1 && at.lat >= 18.0 && at.lat <= 53.6;
  const bool koreaOrJapan = at.lon >= 125.5 && at.lat < 40.0;
  return inBox && !koreaOrJapan;
}

OGRSpatialReference SpatialReference(int epsg) {
  OGRSpatialReference srs;
  if (srs.importFromEPSG(epsg) != OGRERR_NONE)
    throw std::runtime_error("EPSG:" + std::to_string(epsg) + " is unknown");
  srs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  return srs;
}

void Shift(citygen::Polyline& line, citygen::Vec2 origin) {
  for (citygen::Vec2& p : line) p = p - origin;
}

}  // namespace

int ChooseMapEpsg(LonLat centre) {
  if (InChina(centre)) {
    const int meridian = std::clamp(int(std::lround(centre.lon / 3)) * 3, 75, 135);
    return 4534 + (meridian - 75) / 3;
  }
  const int zone = std::clamp(int(std::floor((centre.lon + 180) / 6)) + 1, 1, 60);
  return (centre.lat >= 0 ? 32600 : 32700) + zone;
}

std::string RefuseMapEpsg(int epsg) {
  OGRSpatialReference srs;
  if (srs.importFromEPSG(epsg) != OGRERR_NONE) return "EPSG:" + std::to_string(epsg) + " is unknown";
  if (!srs.IsProjected()) return "EPSG:" + std::to_string(epsg) + " is not a projected CRS";
  if (srs.GetLinearUnits() != 1.0) return "EPSG:" + std::to_string(epsg) + " does not measure in metres";
  return {};
}

MapProjection::MapProjection(int epsg, LonLat centre) : epsg_(epsg) {
  if (const std::string refusal = RefuseMapEpsg(epsg); !refusal.empty()) throw std::runtime_error(refusal);
  const OGRSpatialReference lonLat = SpatialReference(4326), map = SpatialReference(epsg);
  transform_.reset(OGRCreateCoordinateTransformation(&lonLat, &map));
  if (!transform_) throw std::runtime_error("no transformation from WGS 84 to EPSG:" + std::to_string(epsg));
  double x = centre.lon, y = centre.lat;
  if (!transform_->Transform(1, &x, &y) || !std::isfinite(x) || !std::isfinite(y))
    throw std::runtime_error("the data's centre lies outside EPSG:" + std::to_string(epsg));
  origin_ = {std::round(x), std::round(y)};
}

citygen::Vec2 MapProjection::ToCity(LonLat at) const {
  double x = at.lon, y = at.lat;
  transform_->Transform(1, &x, &y);
  return citygen::Vec2{x, y} - origin_;
}

citygen::Polyline MapProjection::ToCity(const std::vector<LonLat>& line) const {
  citygen::Polyline projected;
  for (const LonLat& at : line) projected.push_back(ToCity(at));
  return projected;
}

std::unique_ptr<OGRGeometry> MapProjection::Projected(const OGRGeometry& lonLat) const {
  std::unique_ptr<OGRGeometry> shape(lonLat.clone());
  if (shape->transform(transform_.get()) != OGRERR_NONE) return nullptr;
  return shape;
}

std::vector<citygen::Polygon> MapProjection::AreasOf(const OGRGeometry& lonLat) const {
  const auto shape = Projected(lonLat);
  if (!shape) return {};
  std::vector<citygen::Polygon> areas = citygen::PolygonsOf(*shape);
  for (citygen::Polygon& area : areas)
    for (citygen::Ring& ring : area.rings) Shift(ring, origin_);
  return areas;
}

std::vector<citygen::Polyline> MapProjection::LinesOf(const OGRGeometry& lonLat) const {
  const auto shape = Projected(lonLat);
  if (!shape) return {};
  std::vector<citygen::Polyline> lines = citygen::LinesOf(*shape);
  for (citygen::Polyline& line : lines) Shift(line, origin_);
  return lines;
}

}  // namespace qiwu::import
