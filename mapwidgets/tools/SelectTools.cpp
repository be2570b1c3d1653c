#include "mapwidgets/tools/SelectTools.h"

#include <cmath>

#include "mapwidgets/FeaturePick.h"
#include "mapwidgets/MapControl.h"

namespace {

const QColor kBandColor(30, 90, 200);

MapPoint ToMap(const MapControl& map, QPoint p) { return map.ScreenToMap(p.x(), p.y()); }

}  // namespace

void SelectPointTool::Release(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const bool add = event->modifiers() & Qt::ShiftModifier;
  if (!add) map_.UnselectAll();
  const std::optional<PickedFeature> picked = FeatureUnder(map_, event->position());
  if (!picked) return;
  Layer& layer = *picked->layer;
  if (!add) {
    layer.Selection().Replace(layer.FeatureForId(picked->id));
  } else if (picked->preferredPoint) {
    const Feature point = layer.FeatureForId(picked->id);
    layer.Selection().SelectWithinRadius(point.CenterX(), point.CenterY(), 0, kSelectionAdd);
  } else {
    const MapPoint p = ToMap(map_, event->position().toPoint());
    layer.Selection().SelectAtPoint(p.x, p.y, kSelectionAdd);
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
