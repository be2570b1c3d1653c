#pragma once
// Small workspaces written to a temporary folder with GDAL, for the map component's tests.
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <vector>

#include "map/Layer.h"
#include "mapwidgets/MapControl.h"
#include "tests/support/TestCity.h"

class TempWorkspace {
 public:
  TempWorkspace();
  QString Path(const QString& file) const { return dir_.filePath(file); }

  // Writes layers into one GeoPackage file (relative to the folder).
  void WriteGpkg(const QString& file, const QList<testcity::Layer>& layers) const {
    testcity::WriteLayers(Path(file), layers);
  }
  // Writes a .gst: the header, the metadata block with the given lines in between.
  QString WriteGst(const QString& file, const QStringList& metadataLines) const;
  // A .gst listing the given layers of a GeoPackage in order, bottom first, in EPSG:4547.
  QString WriteGstForLayers(const QString& file, const QString& gpkg, const QStringList& layerNames) const {
    return testcity::WriteWorkspace(Path(file), gpkg, layerNames, {.zoom = QStringLiteral("4000")});
  }

 private:
  QTemporaryDir dir_;
};

// A map widget of a fixed size (not shown), for the control's operations and tools.
struct SizedMap {
  SizedMap() { map.resize(800, 600); }
  MapControl map;
};

// Writes a layer of named points with a GDAL driver and its layer creation options (for formats
// and options the test city builder does not write).
struct NamedMapPoint {
  QString name;
  MapPoint at;
};
void WritePointLayer(const char* driver, const QString& path, const char* layer, int epsg,
                     const std::vector<NamedMapPoint>& points, const QStringList& options = {});

using testcity::LineWkt;
using testcity::PointWkt;
using testcity::SquareWkt;
