#include "mapwidgets/tools/NavigationTools.h"

#include "mapwidgets/MapControl.h"

void PanTool::Press(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  dragStart_ = event->position().toPoint();
  map_.setCursor(Cursor());
}

void PanTool::Move(QMouseEvent* event) {
  if (dragStart_) map_.SetPanOffset(event->position().toPoint() - *dragStart_);
}

void PanTool::Release(QMouseEvent* event) {
  if (!dragStart_ || event->button() != Qt::LeftButton) return;
  const QPoint offset = event->position().toPoint() - *dragStart_;
  dragStart_.reset();
  map_.SetPanOffset({});
  map_.setCursor(Cursor());
  map_.PanByPixels(offset);
}

void PanTool::Deactivate() {
  if (dragStart_) map_.SetPanOffset({});
  dragStart_.reset();
}

void ZoomTool::Press(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  dragStart_ = dragEnd_ = event->position().toPoint();
}

void ZoomTool::Move(QMouseEvent* event) {
  if (!dragStart_) return;
  dragEnd_ = event->position().toPoint();
  map_.UpdateOverlay();
}

void ZoomTool::Release(QMouseEvent* event) {
  if (!dragStart_ || event->button() != Qt::LeftButton) return;
  dragEnd_ = event->position().toPoint();
  const bool drag = Dragging();
  const QPoint start = *dragStart_;
  dragStart_.reset();
  map_.UpdateOverlay();
  if (drag && factor_ > 1) {
    const MapPoint a = map_.ScreenToMap(start.x(), start.y());
    const MapPoint b = map_.ScreenToMap(dragEnd_.x(), dragEnd_.y());
    map_.SetBounds(MapRect::FromCorners(a.x, a.y, b.x, b.y));
    return;
  }
  MapView view = map_.View();
  view.SetCenter(map_.ScreenToMap(dragEnd_.x(), dragEnd_.y()));
  view.SetWidth(view.Width() / factor_);
  map_.SetView(view);
}

void ZoomTool::PaintOverlay(QPainter& painter) const {
  if (!Dragging() || factor_ <= 1) return;
  painter.setPen(QPen(QColor(30, 90, 200), 1, Qt::DashLine));
  painter.setBrush(QColor(30, 90, 200, 40));
  painter.drawRect(QRect(*dragStart_, dragEnd_).normalized());
}

bool ZoomTool::Dragging() const {
  return dragStart_ && (dragEnd_ - *dragStart_).manhattanLength() > kClickSlopPixels;
}
