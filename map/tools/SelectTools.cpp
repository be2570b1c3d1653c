#include "map/tools/SelectTools.h"

#include <cmath>

#include "map/MapControl.h"

namespace {

const QColor kBandColor(30, 90, 200);

MapPoint ToMap(const MapControl& map, QPoint p) { return map.ScreenToMap(p.x(), p.y()); }

}  // namespace

void SelectPointTool::Release(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const bool add = event->modifiers() & Qt::ShiftModifier;
  if (!add) map_.UnselectAll();
  const MapPoint p = ToMap(map_, event->position().toPoint());
  for (Layer* layer : map_.SelectableLayers()) {
    const std::vector<int> ids = layer->IdsAtPoint(p, map_.PickTolerance());
    if (ids.empty()) continue;
    // The last feature in layer order is the one drawn on top.
    if (add) {
      layer->Selection().SelectAtPoint(p.x, p.y, kSelectionAdd);
    } else {
      layer->Selection().Replace(layer->FeatureForId(ids.back()));
    }
    return;
  }
}

void DragSelectTool::Press(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  start_ = end_ = event->position().toPoint();
}

void DragSelectTool::Move(QMouseEvent* event) {
  if (!start_) return;
  end_ = event->position().toPoint();
  map_.UpdateOverlay();
}

void DragSelectTool::Release(QMouseEvent* event) {
  if (!start_ || event->button() != Qt::LeftButton) return;
  end_ = event->position().toPoint();
  const QPoint start = *start_;
  start_.reset();
  map_.UpdateOverlay();
  if (!(event->modifiers() & Qt::ShiftModifier)) map_.UnselectAll();
  Select(start, end_);
}

void SelectRadiusTool::Select(QPoint start, QPoint end) {
  const MapPoint c = ToMap(map_, start);
  const MapPoint e = ToMap(map_, end);
  const double r = std::hypot(e.x - c.x, e.y - c.y);
  for (Layer* layer : map_.SelectableLayers())
    layer->Selection().SelectWithinRadius(c.x, c.y, r, kSelectionAdd);
}

void SelectRadiusTool::PaintOverlay(QPainter& painter) const {
  if (!start_) return;
  const QPointF d = end_ - *start_;
  const double r = std::hypot(d.x(), d.y());
  painter.setPen(QPen(kBandColor, 1, Qt::DashLine));
  painter.setBrush(QColor(30, 90, 200, 40));
  painter.drawEllipse(QPointF(*start_), r, r);
}

void SelectRectTool::Select(QPoint start, QPoint end) {
  const MapPoint a = ToMap(map_, start);
  const MapPoint b = ToMap(map_, end);
  for (Layer* layer : map_.SelectableLayers())
    layer->Selection().SelectInRect(MapRect::FromCorners(a.x, a.y, b.x, b.y), kSelectionAdd);
}

void SelectRectTool::PaintOverlay(QPainter& painter) const {
  if (!start_) return;
  painter.setPen(QPen(kBandColor, 1, Qt::DashLine));
  painter.setBrush(QColor(30, 90, 200, 40));
  painter.drawRect(QRect(*start_, end_).normalized());
}
