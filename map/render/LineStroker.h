#pragma once
// Strokes screen polylines with a pen, fast. Solid lines are drawn segment by segment with square
// caps, thousands to a call: widths up to 1 px (and those a little over, which are snapped to
// 1 px) take the raster engine's one-pixel path. (drawPolyline is quicker there, but it draws each
// joint once, which changes how every thin street looks.) A wider solid pen on an image, for a batch
// of many points, is laid through a CoverageMask, without Qt's stroker, to the same picture.
// Patterned pens (dashes) keep whole polylines so that the pattern runs on across vertices. A
// translucent colour drawn by Qt goes opaque into a scratch image laid over the map at its opacity,
// so that overlapping lines of one layer do not darken each other. On a vector painter (a PDF) every
// line is a whole polyline in its own colour, translucent ones included.
#include <QImage>
#include <QPainter>
#include <vector>

#include "map/render/CoverageMask.h"
#include "map/render/PolylineBatch.h"

// Scratch space of the stroker, kept by the renderer between strokes and renderings.
struct StrokeBuffers {
  QImage scratch;
  CoverageMask mask;
  std::vector<QLineF> segments;
  std::vector<QPointF> devicePoints;
};

class LineStroker {
 public:
  // screen: the visible area in pixels.
  LineStroker(QPainter& painter, const QRectF& screen, StrokeBuffers& buffers);

  void Stroke(const PolylineBatch& lines, const QColor& color, double width, Qt::PenStyle pattern);

  // The mask pays for itself on many points (a whole city's streets); a zoomed-in view's few wide
  // lines are quicker through Qt's stroker, which also draws them exactly as before the mask.
  static constexpr std::size_t kMaskFromPoints = 16384;
  static constexpr std::size_t kSegmentsPerCall = 4096;

  // The width a line of `width` pixels is drawn at: widths in (1, 1.25] go to 1, so that they take
  // the one-pixel path.
  static double DrawnWidth(double width) { return width > 1 && width <= 1.25 ? 1.0 : width; }

 private:
  void Draw(QPainter& painter, const PolylineBatch& lines, const QPen& pen);
  // Draws through the mask when the painter paints straight onto an image; false otherwise.
  bool DrawMasked(const PolylineBatch& lines, const QColor& color, double width);

  QPainter& painter_;
  QRectF screen_;
  StrokeBuffers& buffers_;
};
