#pragma once
// Map-to-screen arithmetic for drawing: a plain scale and offset (no QTransform per point), vertex
// thinning at the pixel scale, clipping to the screen for label placement, and label anchors of
// regions. Map coordinates are metres in the workspace CRS; screen coordinates are pixels, y down.
#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>
#include <span>
#include <vector>

#include "map/MapTypes.h"
#include "map/MapView.h"

struct ScreenTransform {
  double scale = 1;    // pixels per metre
  double originX = 0;  // map x at screen x = 0
  double originY = 0;  // map y at screen y = 0

  static ScreenTransform Of(const MapView& view) {
    const MapRect e = view.Extent();
    return {1.0 / view.PixelSize(), e.minX, e.maxY};
  }
  QPointF operator()(MapPoint p) const { return {(p.x - originX) * scale, (originY - p.y) * scale}; }
};

// The vertices of a part on screen, leaving out each vertex closer than minStep pixels (in both axes)
// to the last one kept; the last vertex is always kept. out is cleared first.
void ToScreen(std::span<const MapPoint> part, const ScreenTransform& xf, double minStep, QPolygonF& out);

// The pieces of a screen polyline that lie inside rect.
std::vector<QPolygonF> ClipPolyline(const QPolygonF& line, const QRectF& rect);

// A closed screen ring cut to rect (Sutherland-Hodgman); empty when nothing is inside.
QPolygonF ClipRing(const QPolygonF& ring, const QRectF& rect);

// A point well inside a screen region (its rings, the first the outer one, holes counted even-odd) for
// its label: the outer ring's centroid when it lies inside, else the middle of the widest inside run of
// the horizontal line through it. False for a degenerate region.
bool LabelPoint(const std::vector<QPolygonF>& rings, QPointF& out);

// Square battlements along a screen path, on its left side, for the city wall: teeth `size` pixels
// deep and wide, one every 2 * size pixels, starting `offset` pixels from the path.
QPainterPath Battlements(const QPolygonF& path, double size, double offset);
