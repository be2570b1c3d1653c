#include "bus/RouteOverlay.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "mapwidgets/MapControl.h"

RouteOverlay::RouteOverlay(MapControl& map) : QWidget(&map), map_(map) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_NoSystemBackground);
  setGeometry(map.rect());
  map.installEventFilter(this);
  connect(&map, &MapControl::ViewChanged, this, qOverload<>(&QWidget::update));
}

void RouteOverlay::SetRoute(std::vector<RoutePath> paths, std::vector<RouteMark> marks) {
  paths_ = std::move(paths);
  marks_ = std::move(marks);
  setVisible(!paths_.empty() || !marks_.empty());
  raise();
  update();
}

MapRect RouteOverlay::Extent() const {
  std::vector<MapPoint> all;
  for (const auto& path : paths_) all.insert(all.end(), path.points.begin(), path.points.end());
  for (const auto& mark : marks_) all.push_back(mark.position);
  if (all.empty()) return {};
  MapRect r{all[0].x, all[0].y, all[0].x, all[0].y};
  for (const auto& p : all) {
    r.minX = std::min(r.minX, p.x);
    r.minY = std::min(r.minY, p.y);
    r.maxX = std::max(r.maxX, p.x);
    r.maxY = std::max(r.maxY, p.y);
  }
  return r;
}

QRectF RouteOverlay::LabelPlace(QSizeF label, QPointF at, const QRectF& area) {
  constexpr double kGap = 10;  // from the mark's centre, clear of its dot
  QRectF placed(QPointF(at.x() + kGap, at.y() - kGap - label.height()), label);
  if (placed.right() > area.right()) placed.moveRight(at.x() - kGap);
  if (placed.top() < area.top()) placed.moveTop(at.y() + kGap);
  placed.moveLeft(std::max(area.left(), std::min(placed.left(), area.right() - placed.width())));
  placed.moveTop(std::max(area.top(), std::min(placed.top(), area.bottom() - placed.height())));
  return placed;
}

bool RouteOverlay::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &map_ && event->type() == QEvent::Resize) setGeometry(map_.rect());
  return false;
}

void RouteOverlay::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  for (const auto& path : paths_) {
    if (path.points.empty()) continue;
    QPainterPath line(map_.MapToScreen(path.points.front()));
    for (const auto& p : path.points) line.lineTo(map_.MapToScreen(p));
    // A white casing under the coloured line keeps the route readable over any layer.
    painter.strokePath(line, QPen(QColor(255, 255, 255, 220), 9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.strokePath(line, QPen(path.color, 5, path.style, Qt::RoundCap, Qt::RoundJoin));
  }
  QFont font = painter.font();
  font.setBold(true);
  painter.setFont(font);
  for (const auto& mark : marks_) {
    const QPointF at = map_.MapToScreen(mark.position);
    painter.setPen(QPen(Qt::white, 2));
    painter.setBrush(mark.color);
    const bool passed = mark.label.isEmpty();
    painter.drawEllipse(at, passed ? 4 : 7, passed ? 4 : 7);
    if (passed || !QRectF(rect()).contains(at)) continue;  // a stop out of view keeps its label out too
    const QRectF box = painter.fontMetrics().boundingRect(mark.label).toRectF().adjusted(-3, -1, 3, 1);
    const QRectF placed = LabelPlace(box.size(), at, rect());
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 230));
    painter.drawRoundedRect(placed, 3, 3);
    painter.setPen(mark.color.darker(130));
    painter.drawText(placed, Qt::AlignCenter, mark.label);
  }
}
