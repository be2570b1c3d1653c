#include "map/render/LineStroker.h"

#include <algorithm>

LineStroker::LineStroker(QPainter& painter, const QRectF& screen, QImage& scratch)
    : painter_(painter), screen_(screen), scratch_(scratch) {}

void LineStroker::Draw(QPainter& painter, const std::vector<QPolygonF>& lines, const QPen& pen) {
  painter.setPen(pen);
  if (pen.style() != Qt::SolidLine) {
    for (const QPolygonF& line : lines) painter.drawPolyline(line);
    return;
  }
  // Segments wholly beyond one edge of the screen are left out.
  const QRectF clip = screen_.adjusted(-pen.widthF(), -pen.widthF(), pen.widthF(), pen.widthF());
  segments_.clear();
  for (const QPolygonF& line : lines) {
    for (qsizetype i = 1; i < line.size(); ++i) {
      const QPointF a = line[i - 1], b = line[i];
      if ((a.x() < clip.left() && b.x() < clip.left()) || (a.x() > clip.right() && b.x() > clip.right()) ||
          (a.y() < clip.top() && b.y() < clip.top()) || (a.y() > clip.bottom() && b.y() > clip.bottom()))
        continue;
      segments_.emplace_back(a, b);
    }
  }
  painter.drawLines(segments_.data(), int(segments_.size()));
}

void LineStroker::Stroke(const std::vector<QPolygonF>& lines, const QColor& color, double width,
                         Qt::PenStyle pattern) {
  if (lines.empty() || !color.isValid() || pattern == Qt::NoPen || width <= 0) return;
  const Qt::PenCapStyle cap = pattern == Qt::SolidLine ? Qt::SquareCap : Qt::FlatCap;
  if (color.alpha() == 255) {
    Draw(painter_, lines, QPen(color, width, pattern, cap, Qt::RoundJoin));
    return;
  }
  const qreal ratio = painter_.device()->devicePixelRatio();
  const QSize size = (screen_.size() * ratio).toSize();
  if (scratch_.size() != size) scratch_ = QImage(size, QImage::Format_ARGB32_Premultiplied);
  scratch_.setDevicePixelRatio(ratio);
  scratch_.fill(Qt::transparent);
  {
    QPainter layer(&scratch_);
    layer.setRenderHints(painter_.renderHints());
    layer.setTransform(painter_.transform());
    Draw(layer, lines,
         QPen(QColor(color.red(), color.green(), color.blue()), width, pattern, cap, Qt::RoundJoin));
  }
  painter_.save();
  painter_.resetTransform();
  painter_.setOpacity(painter_.opacity() * color.alphaF());
  painter_.drawImage(QPointF(0, 0), scratch_);
  painter_.restore();
}
