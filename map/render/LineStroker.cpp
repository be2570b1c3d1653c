#include "map/render/LineStroker.h"

#include <QPaintEngine>

#include "map/render/PaintTarget.h"
#include "map/render/ScreenGeometry.h"

LineStroker::LineStroker(QPainter& painter, const QRectF& screen, StrokeBuffers& buffers)
    : painter_(painter), screen_(screen), buffers_(buffers) {}

void LineStroker::Draw(QPainter& painter, const PolylineBatch& lines, const QPen& pen) {
  painter.setPen(pen);
  if (PaintsVectors(painter)) {
    // A page keeps only what shows: whole polylines, each cut to the screen.
    const QRectF clip = screen_.adjusted(-pen.widthF(), -pen.widthF(), pen.widthF(), pen.widthF());
    for (std::size_t i = 0; i < lines.Count(); ++i) {
      const std::span<const QPointF> line = lines.Line(i);
      for (const QPolygonF& piece : ClipPolyline(QPolygonF(line.begin(), line.end()), clip))
        painter.drawPolyline(piece);
    }
    return;
  }
  if (pen.style() != Qt::SolidLine) {
    for (std::size_t i = 0; i < lines.Count(); ++i) {
      const std::span<const QPointF> line = lines.Line(i);
      painter.drawPolyline(line.data(), int(line.size()));
    }
    return;
  }
  // Segments wholly beyond one edge of the screen are left out.
  const QRectF clip = screen_.adjusted(-pen.widthF(), -pen.widthF(), pen.widthF(), pen.widthF());
  std::vector<QLineF>& segments = buffers_.segments;
  segments.clear();
  for (std::size_t k = 0; k < lines.Count(); ++k) {
    const std::span<const QPointF> line = lines.Line(k);
    for (std::size_t i = 1; i < line.size(); ++i) {
      const QPointF a = line[i - 1], b = line[i];
      if ((a.x() < clip.left() && b.x() < clip.left()) || (a.x() > clip.right() && b.x() > clip.right()) ||
          (a.y() < clip.top() && b.y() < clip.top()) || (a.y() > clip.bottom() && b.y() > clip.bottom()))
        continue;
      segments.emplace_back(a, b);
      // A few thousand at a time: Qt draws each segment on its own anyway, and a city's million
      // segments need not sit in memory together.
      if (segments.size() == kSegmentsPerCall) {
        painter.drawLines(segments.data(), int(segments.size()));
        segments.clear();
      }
    }
  }
  painter.drawLines(segments.data(), int(segments.size()));
}

bool LineStroker::DrawMasked(const PolylineBatch& lines, const QColor& color, double width) {
  QPaintDevice* device = painter_.device();
  if (!device || device->devType() != QInternal::Image || painter_.hasClipping() ||
      painter_.compositionMode() != QPainter::CompositionMode_SourceOver ||
      !painter_.testRenderHint(QPainter::Antialiasing))
    return false;
  auto& image = static_cast<QImage&>(*device);
  // Device pixels from the painter's: a scale by the pixel ratio and a shift (a tile), nothing else.
  const QTransform t = painter_.deviceTransform();
  if (t.type() > QTransform::TxScale || t.m11() != t.m22() || !CoverageMask::Supports(image)) return false;
  CoverageMask& mask = buffers_.mask;
  mask.Reset(image.size());
  std::vector<QPointF>& devicePoints = buffers_.devicePoints;
  const double scale = t.m11();
  for (std::size_t i = 0; i < lines.Count(); ++i) {
    const std::span<const QPointF> line = lines.Line(i);
    devicePoints.assign(line.begin(), line.end());
    for (QPointF& p : devicePoints) p = QPointF(p.x() * scale + t.dx(), p.y() * scale + t.dy());
    mask.AddPolyline(devicePoints, width * scale / 2);
  }
  QColor drawn = color;
  drawn.setAlphaF(color.alphaF() * painter_.opacity());
  mask.Composite(image, drawn);
  return true;
}

void LineStroker::Stroke(const PolylineBatch& lines, const QColor& color, double width,
                         Qt::PenStyle pattern) {
  if (lines.Empty() || !color.isValid() || pattern == Qt::NoPen || width <= 0) return;
  width = DrawnWidth(width);
  if (pattern == Qt::SolidLine && width > 1 && lines.Points() >= kMaskFromPoints &&
      DrawMasked(lines, color, width))
    return;
  const Qt::PenCapStyle cap = pattern == Qt::SolidLine ? Qt::SquareCap : Qt::FlatCap;
  if (color.alpha() == 255 || PaintsVectors(painter_)) {
    Draw(painter_, lines, QPen(color, width, pattern, cap, Qt::RoundJoin));
    return;
  }
  const qreal ratio = painter_.device()->devicePixelRatio();
  const QSize size = (screen_.size() * ratio).toSize();
  QImage& scratch = buffers_.scratch;
  if (scratch.size() != size) scratch = QImage(size, QImage::Format_ARGB32_Premultiplied);
  scratch.setDevicePixelRatio(ratio);
  scratch.fill(Qt::transparent);
  {
    QPainter layer(&scratch);
    layer.setRenderHints(painter_.renderHints());
    layer.setTransform(painter_.transform());
    Draw(layer, lines,
         QPen(QColor(color.red(), color.green(), color.blue()), width, pattern, cap, Qt::RoundJoin));
  }
  painter_.save();
  painter_.resetTransform();
  painter_.setOpacity(painter_.opacity() * color.alphaF());
  painter_.drawImage(QPointF(0, 0), scratch);
  painter_.restore();
}
