#pragma once
// Strokes screen polylines with a pen, fast. A solid pen draws the polylines segment by segment with
// square caps: the raster engine has a fast path for single wide antialiased segments, while a wide
// polyline or path goes through the general stroker, some thirty times slower. Square caps overlap at
// the vertices, so bends stay closed. Patterned pens (dashes) keep whole polylines so that the pattern
// runs on across vertices. A translucent colour is drawn opaque into a scratch image and laid over the
// map at its opacity, so that overlapping lines of one layer do not darken each other.
#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <vector>

class LineStroker {
 public:
  // screen: the visible area in pixels; scratch: an image kept by the caller between strokes.
  LineStroker(QPainter& painter, const QRectF& screen, QImage& scratch);

  void Stroke(const std::vector<QPolygonF>& lines, const QColor& color, double width,
              Qt::PenStyle pattern = Qt::SolidLine);

 private:
  void Draw(QPainter& painter, const std::vector<QPolygonF>& lines, const QPen& pen);

  QPainter& painter_;
  QRectF screen_;
  QImage& scratch_;
  std::vector<QLineF> segments_;
};
