#pragma once
// A drawn transfer route over the main map: the ridden part of each line as a coloured path and
// the departure, change and destination stops as labelled marks. It is a transparent child
// widget of the map that follows the map's view, so the map's layers (and their positions)
// stay untouched. Coordinates are metres in the map's CRS.
#include <QColor>
#include <QString>
#include <QWidget>
#include <vector>

#include "map/MapTypes.h"

class MapControl;

struct RoutePath {
  std::vector<MapPoint> points;  // stop positions in the direction of travel
  QColor color;
  Qt::PenStyle style = Qt::SolidLine;  // walks are dashed
};

struct RouteMark {
  MapPoint position;
  QString label;  // the stop's name; a stop passed on the way has none and a smaller mark
  QColor color;
};

class RouteOverlay : public QWidget {
 public:
  // Covers map and is owned by it.
  explicit RouteOverlay(MapControl& map);

  void SetRoute(std::vector<RoutePath> paths, std::vector<RouteMark> marks);
  void Clear() { SetRoute({}, {}); }
  const std::vector<RoutePath>& Paths() const { return paths_; }
  const std::vector<RouteMark>& Marks() const { return marks_; }
  // The rectangle holding every path and mark; an empty rectangle at 0,0 when there is none.
  MapRect Extent() const;

  // Where a label of the given size goes beside a mark at the screen point `at`: above and to
  // the right, turned to the other side where it would cross an edge of area, and kept inside
  // area whatever its size.
  static QRectF LabelPlace(QSizeF label, QPointF at, const QRectF& area);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  MapControl& map_;
  std::vector<RoutePath> paths_;
  std::vector<RouteMark> marks_;
};
