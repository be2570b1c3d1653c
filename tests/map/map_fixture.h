#pragma once
// Small workspaces written to a temporary folder with GDAL, for the map component's tests.
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <vector>

#include "map/Layer.h"
#include "map/MapControl.h"

struct WktFeature {
  QString name;
  QString wkt;
};

// One layer to write: geometry as WKT in the layer's CRS (EPSG code), a `name` attribute.
struct LayerDef {
  QString name;
  std::vector<WktFeature> features;
  int epsg = 4547;
};

class TempWorkspace {
 public:
  TempWorkspace();
  QString Path(const QString& file) const { return dir_.filePath(file); }

  // Writes layers into one GeoPackage file (relative to the folder).
  void WriteGpkg(const QString& file, const std::vector<LayerDef>& layers) const;
  // Writes a .gst: the header, the metadata block with the given lines in between.
  QString WriteGst(const QString& file, const QStringList& metadataLines) const;
  // A .gst listing the given layers of a GeoPackage in order, bottom first, in EPSG:4547.
  QString WriteGstForLayers(const QString& file, const QString& gpkg, const QStringList& layerNames,
                            const QString& center = QStringLiteral("500000,3400000"),
                            const QString& zoom = QStringLiteral("4000")) const;

 private:
  QTemporaryDir dir_;
};

// A map widget of a fixed size (not shown), for the control's operations and tools.
struct SizedMap {
  SizedMap() { map.resize(800, 600); }
  MapControl map;
};

// A point, a line and a square ring as WKT.
QString PointWkt(double x, double y);
QString LineWkt(const std::vector<MapPoint>& points);
QString SquareWkt(double cx, double cy, double half);
