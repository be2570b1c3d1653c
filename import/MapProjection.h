#pragma once
// The imported city's map CRS: chosen from the data's centre (or given), and the projection of
// longitude and latitude (WGS 84) into the city's coordinates (metres from its origin).
#include <ogr_geometry.h>
#include <ogr_spatialref.h>

#include <memory>
#include <string>
#include <vector>

#include "dataset/City.h"
#include "import/TransitNetwork.h"

namespace qiwu::import {

// The metric CRS for a city around `centre`: inside China the CGCS2000 3-degree Gauss-Krüger zone
// of the "CM" family (EPSG:4534 for 75°E … 4554 for 135°E), elsewhere the WGS 84 UTM zone
// (326xx north of the equator, 327xx south).
int ChooseMapEpsg(LonLat centre);

// Empty when `epsg` names a projected CRS in metres; otherwise why it cannot be a map CRS.
std::string RefuseMapEpsg(int epsg);

class MapProjection {
 public:
  // Throws std::runtime_error when the CRS is unusable. The origin is the projected centre,
  // rounded to the metre.
  MapProjection(int epsg, LonLat centre);

  int epsg() const { return epsg_; }
  citygen::Vec2 origin() const { return origin_; }

  citygen::Vec2 ToCity(LonLat at) const;
  citygen::Polyline ToCity(const std::vector<LonLat>& line) const;
  // A geometry in longitude and latitude as the city's areas or lines (other kinds are dropped).
  std::vector<citygen::Polygon> AreasOf(const OGRGeometry& lonLat) const;
  std::vector<citygen::Polyline> LinesOf(const OGRGeometry& lonLat) const;

 private:
  std::unique_ptr<OGRGeometry> Projected(const OGRGeometry& lonLat) const;

  int epsg_;
  std::unique_ptr<OGRCoordinateTransformation> transform_;
  citygen::Vec2 origin_;
};

}  // namespace qiwu::import
