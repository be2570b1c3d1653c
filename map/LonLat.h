#pragma once
// Map coordinates to longitude and latitude (degrees): in the geographic CRS of the map's own datum
// for the status bar's read-out, or in WGS 84 for the coordinates that leave the program (the result
// table and its CSV). Built once per workspace; each conversion is one PROJ call.
#include <QString>
#include <memory>
#include <optional>

#include "map/MapTypes.h"

class OGRCoordinateTransformation;

enum class LonLatDatum { kMapOwn, kWgs84 };

class LonLatTransform {
 public:
  // projection: the workspace's CRS as MapControl::Projection() gives it. An empty or unusable
  // one makes a transform that converts nothing.
  explicit LonLatTransform(const QString& projection, LonLatDatum datum = LonLatDatum::kMapOwn);
  ~LonLatTransform();
  LonLatTransform(const LonLatTransform&) = delete;
  LonLatTransform& operator=(const LonLatTransform&) = delete;

  // x longitude, y latitude in degrees; nothing when the CRS or the point does not convert.
  std::optional<MapPoint> ToLonLat(MapPoint p) const;

 private:
  struct Deleter {
    void operator()(OGRCoordinateTransformation* t) const;
  };
  std::unique_ptr<OGRCoordinateTransformation, Deleter> transform_;
};
