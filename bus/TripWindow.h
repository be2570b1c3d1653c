#pragma once
// The trip planner's window 出行规划 (not modal, Esc closes it): two boxes naming the start and the
// end (a stop, a place, or a point taken from the map), suggestions while typing, the plans with
// their time, walking and changes, each opening into its legs. The selected plan is drawn on the
// main map on the window's own overlay, which goes when the window closes or the city switches.
#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

#include "bus/RouteOverlay.h"
#include "bus/TripIndex.h"
#include "bus/TripModel.h"
#include "map/MapTypes.h"

class CityDatabase;
class MapControl;
class QLineEdit;
class QPushButton;
class QStringListModel;
class QTreeWidget;

// What the boxes suggest for a text typed so far.
using TripSuggest = std::function<QStringList(const QString& text)>;

// The search box's suggestions (search::SearchIndex) that a trip can start or end at: stops and
// places, at most limit, each name once (lines and roads are not places).
TripSuggest PlaceSuggestions(CityDatabase& database, int limit = 12);

class TripWindow : public QWidget {
  Q_OBJECT

 public:
  // Map1: the main map (its layers name places and it shows the plan); database: the city's,
  // outliving the window.
  TripWindow(MapControl& Map1, CityDatabase& database, QWidget* parent);
  ~TripWindow() override;

  // Replaces the suggestions (by default PlaceSuggestions of the database).
  void SetSuggestions(TripSuggest suggest) { suggest_ = std::move(suggest); }
  // A point taken from the map: the start or the end of the trip.
  void SetStart(MapPoint point);
  void SetEnd(MapPoint point);
  // The city was switched: its network is read again at the next search; the plans go.
  void CitySwitched();
  void Search();

  QLineEdit* txtFrom;
  QLineEdit* txtTo;
  QPushButton* cmdSearch;
  QPushButton* cmdCopy;
  QTreeWidget* lstPlans;
  RouteOverlay* Overlay() const { return overlay_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void ClearPlans();
  bool PrepareCity();
  void Suggest(QLineEdit* box, QStringListModel* model);
  void ShowPlan(int plan);
  void CopyPlan();
  int SelectedPlan() const;
  std::vector<class Layer*> PointLayers() const;

  MapControl& Map1_;
  CityDatabase& database_;
  TripSuggest suggest_;
  const trip::Index* index_ = nullptr;  // the database's (trip::IndexOf), set by PrepareCity
  std::vector<trip::Plan> plans_;
  std::optional<trip::Place> from_, to_;
  QPointer<RouteOverlay> overlay_;
};
