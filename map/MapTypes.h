#pragma once
// Plain value types of the map component. Map coordinates are metres in the workspace's
// projected CRS; colours are 0x00BBGGRR values (255 is red, 0xFF0000 blue).
#include <QColor>
#include <QString>
#include <algorithm>

#include "kit/Outcome.h"

struct MapPoint {
  double x = 0;
  double y = 0;

  bool operator==(const MapPoint&) const = default;
};

struct MapRect {
  double minX = 0, minY = 0, maxX = 0, maxY = 0;

  // The rectangle spanned by two corners in any order.
  static MapRect FromCorners(double x1, double y1, double x2, double y2) {
    return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
  }
  double Width() const { return maxX - minX; }
  double Height() const { return maxY - minY; }
  double CenterX() const { return (minX + maxX) / 2; }
  double CenterY() const { return (minY + maxY) / 2; }
  bool Contains(const MapPoint& p) const { return p.x >= minX && p.x <= maxX && p.y >= minY && p.y <= maxY; }
  // The smallest rectangle holding both.
  MapRect United(const MapRect& o) const {
    return {std::min(minX, o.minX), std::min(minY, o.minY), std::max(maxX, o.maxX), std::max(maxY, o.maxY)};
  }
};

// Units, tools, feature types and tool phases under the numbers the program uses.
constexpr int kUnitMetres = 7;

constexpr int kToolPointer = 1000;
constexpr int kToolPan = 1001;
constexpr int kToolZoomIn = 1003;
constexpr int kToolZoomOut = 1004;
constexpr int kToolSelectPoint = 1007;
constexpr int kToolSelectRadius = 1008;
constexpr int kToolSelectRect = 1009;

// The user tools the program defines on the main map.
constexpr int kToolPick = 1;     // one point: the centre of a radius search, the position of a nearest search
constexpr int kToolMeasure = 2;  // polyline: measures a distance

constexpr int kUserToolPoint = 0;     // one click
constexpr int kUserToolPolyline = 4;  // successive clicks, double click finishes, Esc cancels
constexpr int kCursorCrossHair = 2;

constexpr int kFeatureRegion = 0;
constexpr int kFeatureLine = 1;
constexpr int kFeaturePoint = 2;

constexpr int kPolyToolBegin = 0;
constexpr int kPolyToolEnd = 1;
constexpr int kPolyToolEndEscaped = 2;
constexpr int kPolyToolInProgress = 3;  // a vertex was added while drawing

constexpr int kSearchWhollyWithin = 2;
constexpr int kSelectionNew = 0;

// The style of a feature the program makes: a bitmap marker, a region or a line.
struct FeatureStyle {
  int SymbolType = 1;  // 1: bitmap marker
  QString SymbolBitmapName;
  int SymbolBitmapSize = 12;
  bool SymbolBitmapTransparent = true;

  int RegionPattern = 0;  // 0: no fill
  quint32 RegionColor = 0xFFFFFF;
  quint32 RegionBorderColor = 0;
  int RegionBorderWidth = 1;

  quint32 LineColor = 0;
  int LineWidth = 1;
};

// The numbers of the map's failures (loading a workspace, setting a map up); the Outcome's text
// names the file or layer at fault.
constexpr int kMapErrorFileMissing = 1001;    // the workspace or a layer's data file does not exist
constexpr int kMapErrorMalformedLine = 1002;  // a workspace line that is not "\KEY" = "value"
constexpr int kMapErrorLayerMissing = 1003;   // a layer the workspace or the program names is absent
constexpr int kMapErrorBadProjection = 1004;  // a CRS that cannot be read or transformed
constexpr int kMapErrorReadFailed = 1005;     // GDAL could not open or read the data
constexpr int kMapErrorWriteFailed = 1006;    // a file could not be written
