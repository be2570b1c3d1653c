#include "map/LonLat.h"

#include <ogr_spatialref.h>

#include <cmath>
#include <memory>

#include "map/GdalLockDown.h"

LonLatTransform::LonLatTransform(const QString& projection, LonLatDatum datum) {
  if (projection.trimmed().isEmpty()) return;
  LockDownGdal();
  OGRSpatialReference map;
  if (map.SetFromUserInput(projection.toUtf8().constData(),
                           OGRSpatialReference::SET_FROM_USER_INPUT_LIMITATIONS_get()) != OGRERR_NONE ||
      !map.IsProjected())
    return;
  map.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  std::unique_ptr<OGRSpatialReference> geographic;
  if (datum == LonLatDatum::kWgs84) {
    geographic = std::make_unique<OGRSpatialReference>();
    if (geographic->SetWellKnownGeogCS("WGS84") != OGRERR_NONE) return;
  } else {
    geographic.reset(map.CloneGeogCS());
    if (!geographic) return;
  }
  geographic->SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  transform_.reset(OGRCreateCoordinateTransformation(&map, geographic.get()));
}

LonLatTransform::~LonLatTransform() = default;

void LonLatTransform::Deleter::operator()(OGRCoordinateTransformation* t) const {
  OGRCoordinateTransformation::DestroyCT(t);
}

std::optional<MapPoint> LonLatTransform::ToLonLat(MapPoint p) const {
  if (!transform_) return std::nullopt;
  double x = p.x, y = p.y;
  if (!transform_->Transform(1, &x, &y) || !std::isfinite(x) || !std::isfinite(y)) return std::nullopt;
  return MapPoint{x, y};
}
