#pragma once
// The trip planner's window 出行规划 (not modal, Esc closes it, F1 asks for its help page): two
// boxes naming the start and the end (a stop, a place, or a point taken from the map), suggestions
// while typing, when to go (现在出发 / 出发时间 / 到达时间 with a date and time in the city's zone),
// the plans with their times, walking and changes, each opening into its legs, and 更早 / 更晚 for
// the plans of the hour before or after. A city without a timetable gets the plans of the average
// speeds, marked as estimates. A click on a line naming a stop lists that stop's departures. The
// selected plan is drawn on the main map on the window's own overlay, which goes when the window
// closes or the city switches.
#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

#include "bus/RouteOverlay.h"
#include "bus/TimedPaging.h"
#include "bus/TimedPlanLines.h"
#include "bus/TimedSource.h"
#include "bus/TripIndex.h"
#include "bus/TripModel.h"
#include "map/MapTypes.h"

class CityDatabase;
class DeparturesWindow;
class MapControl;
class QComboBox;
class QDateTimeEdit;
class QLabel;
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

  // The choices of cmbWhen.
  enum When { kNow, kDepartAt, kArriveBy };

  // Replaces the suggestions (by default PlaceSuggestions of the database).
  void SetSuggestions(TripSuggest suggest) { suggest_ = std::move(suggest); }
  // Where the city's timetable comes from (by default nowhere: every city is planned by estimate).
  // Asked again after a city switch.
  void SetTimedSource(trip::TimedSourceOf source);
  // A point taken from the map: the start or the end of the trip.
  void SetStart(MapPoint point);
  void SetEnd(MapPoint point);
  // The city was switched: its network is read again at the next search; the plans go.
  void CitySwitched();
  void Search();

  QLineEdit* txtFrom;
  QLineEdit* txtTo;
  QComboBox* cmbWhen;
  QDateTimeEdit* dtWhen;  // wall-clock time in the city's zone
  QPushButton* cmdSearch;
  QPushButton* cmdCopy;
  QPushButton* cmdEarlier;
  QPushButton* cmdLater;
  QLabel* lblNotice;  // the estimate notice, where the city has no timetable
  QTreeWidget* lstPlans;
  RouteOverlay* Overlay() const { return overlay_; }
  DeparturesWindow* Departures() const { return departures_; }

 signals:
  void HelpRequested();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void ClearPlans();
  bool PrepareCity();
  void PrepareTimetable();
  void WhenChosen();
  void SearchTimed();
  void ShowTimedPlans(const trip::TimedQuery& query);
  trip::TimedEnd TimedEndOf(const trip::Place& place) const;
  void StopClicked(const class QTreeWidgetItem* item);
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

  trip::TimedSourceOf timedSourceOf_;
  bool timetableAsked_ = false;  // since the last city switch
  std::shared_ptr<const trip::TimedSource> timed_;
  // The plans by the clock now listed (instead of plans_), the query that found them, the span of
  // times they cover and the clock of its day.
  std::vector<trip::TimedPlan> timedPlans_;
  trip::TimedQuery query_;
  trip::TimeSpan shown_;
  std::optional<trip::ServiceClock> clock_;
  DeparturesWindow* departures_ = nullptr;
};
