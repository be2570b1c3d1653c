#include "mapwidgets/tools/UserTools.h"

#include "mapwidgets/MapControl.h"

namespace {

bool Shift(Qt::KeyboardModifiers m) { return m & Qt::ShiftModifier; }
bool Ctrl(Qt::KeyboardModifiers m) { return m & Qt::ControlModifier; }

}  // namespace

void UserPointTool::Release(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const MapPoint p = map_.ScreenToMap(event->position().x(), event->position().y());
  emit map_.ToolCompleted(Number(), p.x, p.y, p.x, p.y, 0, Shift(event->modifiers()),
                          Ctrl(event->modifiers()));
}

void UserPolylineTool::Press(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  cursorPoint_ = map_.ScreenToMap(event->position().x(), event->position().y());
  points_.push_back(cursorPoint_);
  const int phase = points_.size() == 1 ? kPolyToolBegin : kPolyToolInProgress;
  emit map_.PolylineToolStep(Number(), phase, points_, Shift(event->modifiers()), Ctrl(event->modifiers()));
  map_.UpdateOverlay();
}

void UserPolylineTool::Move(QMouseEvent* event) {
  if (points_.empty()) return;
  cursorPoint_ = map_.ScreenToMap(event->position().x(), event->position().y());
  map_.UpdateOverlay();
}

// The double click's first press already added its vertex.
void UserPolylineTool::DoubleClick(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && !points_.empty()) Finish(kPolyToolEnd, event->modifiers());
}

void UserPolylineTool::Key(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && !points_.empty()) Finish(kPolyToolEndEscaped, event->modifiers());
}

void UserPolylineTool::Deactivate() {
  if (!points_.empty()) Finish(kPolyToolEndEscaped, Qt::NoModifier);
}

void UserPolylineTool::Finish(int phase, Qt::KeyboardModifiers modifiers) {
  const std::vector<MapPoint> points = std::move(points_);
  points_.clear();
  map_.UpdateOverlay();
  emit map_.PolylineToolStep(Number(), phase, points, Shift(modifiers), Ctrl(modifiers));
}

void UserPolylineTool::PaintOverlay(QPainter& painter) const {
  if (points_.empty()) return;
  QPolygonF line;
  for (const MapPoint& p : points_) line << map_.MapToScreen(p);
  line << map_.MapToScreen(cursorPoint_);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(220, 40, 40), 2));
  painter.drawPolyline(line);
  painter.setBrush(Qt::white);
  painter.setPen(QPen(QColor(220, 40, 40), 1.5));
  for (int i = 0; i + 1 < line.size(); ++i) painter.drawEllipse(line[i], 3, 3);
}
