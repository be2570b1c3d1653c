#pragma once
// Draws the route of a plan line on the main map: a double click on a line of the plan window
// shows the ridden part of each line, marks the departure, change and destination stops, and
// fits the view to the route. The drawing lives in a RouteOverlay over Map1.
#include <QObject>
#include <QPointer>
#include <QString>

#include "bus/RouteOverlay.h"

class CityDatabase;
class MapControl;

class RouteDrawing : public QObject {
  Q_OBJECT

 public:
  // Map1: the main map the route is drawn on; database, which outlives this object, gives the
  // lines' stops.
  RouteDrawing(MapControl& Map1, CityDatabase& database, QObject* parent);

  // A new search by the plan window: its plan lines are read with these names; the route drawn
  // for the previous search is removed.
  void NewSearch(const QString& departure, const QString& destination);

  // The plan is gone (its window closed, or the city switched): the route goes, and plan lines
  // read from now on draw nothing until the next search.
  void Clear();

  // Draws the route of one plan line of the current search; a line that names no ride (a
  // message, the separator) or whose stops the map does not have leaves the map as it is.
  void ShowPlanLine(const QString& planLine);

  // The overlay on Map1, nullptr before the first route was drawn.
  RouteOverlay* Overlay() const { return overlay_; }

 private:
  MapControl& Map1_;
  CityDatabase& database_;
  QString departure_;
  QString destination_;
  QPointer<RouteOverlay> overlay_;  // a child of Map1
};
