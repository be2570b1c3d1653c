#pragma once
// The timetable prepared for timed searches (bus/TimedSearch.h): trips grouped into routes of one
// stop pattern whose trips never overtake each other, sorted by departure, so that the earliest
// trip from a call is a binary search; the routes through each platform; the walks between
// platforms; the days each service runs. Frequency-based trips are expanded into their runs here.
// Positions: a platform's `at` and a TimedEnd's point are taken in the same coordinates.
#include <QDate>
#include <QHash>
#include <QTimeZone>
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <unordered_map>
#include <vector>

#include "bus/StreetWalks.h"
#include "bus/TripModel.h"
#include "dataset/Timetable.h"
#include "map/MapTypes.h"

namespace trip {

constexpr int kChangeSeconds = 60;        // every boarding after the first, after the change's walk
constexpr std::int32_t kNever = 1 << 29;  // a time no trip reaches

// Seconds to walk a straight-line distance (walked × 1.3 at 4.5 km/h), rounded up.
int WalkSeconds(double straight);
// Seconds to walk metres walked, rounded up.
int WalkedSeconds(double walked);

struct TimedRoute {
  int stopCount = 0, tripCount = 0;
  std::uint32_t stopsBegin = 0;  // into TimedIndex::routeStops_ and the board/alight flags
  std::uint32_t tripsBegin = 0;  // into the per-run arrays
  std::uint32_t timesBegin = 0;  // into arrival/departure times: tripCount × stopCount, trip-major
};

class TimedIndex {
 public:
  // Walks go along streets where they make a network (bus/StreetWalks.h), else straight × 1.3.
  TimedIndex(citygen::Timetable timetable, QTimeZone zone, std::span<const walk::Street> streets = {});

  const citygen::Timetable& Table() const { return table_; }
  const QTimeZone& Zone() const { return zone_; }
  int PlatformCount() const { return int(table_.platforms.size()); }
  std::span<const int> PlatformsNamed(const QString& name) const;

  const std::vector<TimedRoute>& Routes() const { return routes_; }
  int StopOf(const TimedRoute& r, int i) const { return routeStops_[r.stopsBegin + i]; }
  bool CanBoard(const TimedRoute& r, int i) const { return rules_[r.stopsBegin + i] & kBoards; }
  bool CanAlight(const TimedRoute& r, int i) const { return rules_[r.stopsBegin + i] & kAlights; }
  std::int32_t Arrival(const TimedRoute& r, int t, int i) const {
    return arrival_[r.timesBegin + std::size_t(t) * r.stopCount + i];
  }
  std::int32_t Departure(const TimedRoute& r, int t, int i) const {
    return departure_[r.timesBegin + std::size_t(t) * r.stopCount + i];
  }
  int TripOf(const TimedRoute& r, int t) const { return runTrip_[r.tripsBegin + t]; }
  int ServiceOf(const TimedRoute& r, int t) const { return runService_[r.tripsBegin + t]; }

  // A route's arrays for the search's inner loop: platforms and rules by position, times trip-major.
  static constexpr std::uint8_t kBoards = 1, kAlights = 2;
  const int* StopsOf(const TimedRoute& r) const { return routeStops_.data() + r.stopsBegin; }
  const std::uint8_t* RulesOf(const TimedRoute& r) const { return rules_.data() + r.stopsBegin; }
  const std::int32_t* ArrivalsOf(const TimedRoute& r) const { return arrival_.data() + r.timesBegin; }
  const std::int32_t* DeparturesOf(const TimedRoute& r) const { return departure_.data() + r.timesBegin; }
  const int* ServicesOf(const TimedRoute& r) const { return runService_.data() + r.tripsBegin; }

  struct RouteCall {
    int route = -1, stop = -1;  // the route and the position of the platform on it
  };
  std::span<const RouteCall> RoutesThrough(int platform) const {
    return {routesThrough_.data() + routesBegin_[platform],
            routesThrough_.data() + routesBegin_[platform + 1]};
  }

  struct Walk {
    int platform = -1;
    int seconds = 0;
    double metres = 0;  // walked
  };
  // Other platforms within a change's walk: kTransferMetres of straight line, or kChangeWalkMetres
  // along the streets (the platform itself is the 0 m change).
  std::span<const Walk> TransfersFrom(int platform) const {
    return {transfers_.data() + transfersBegin_[platform], transfers_.data() + transfersBegin_[platform + 1]};
  }
  // The placed platforms within kAccessMetres of p.
  std::vector<Walk> PlatformsNear(MapPoint p) const;
  // The placed platforms walked to or from p: PlatformsNear, or within kAccessWalkMetres along the
  // streets (walker on Streets(); null: the call makes its own).
  std::vector<Walk> AccessWalks(MapPoint p, walk::Walker* walker) const;
  // The city's walks along its streets; null when it has none.
  const StreetWalks* Streets() const { return streets_.get(); }

  int ServiceCount() const { return int(services_.size()); }
  bool RunsOn(int service, QDate day) const;
  // Seconds from noon minus 12 h of `from` to noon minus 12 h of `to` in the index's zone.
  std::int64_t DayOffset(QDate from, QDate to) const;

  std::size_t MemoryBytes() const;

 private:
  struct ServiceDays {
    std::array<bool, 7> weekdays{};
    qint64 first = 1, last = 0;                       // julian days of calendar.txt, empty when none
    std::vector<std::pair<qint64, bool>> exceptions;  // julian day, added; sorted
  };
  void BuildRoutes();
  void BuildWalks(std::span<const walk::Street> streets);
  std::int64_t CellOf(double x, double y) const;

  citygen::Timetable table_;
  QTimeZone zone_;
  QHash<QString, std::vector<int>> byName_, byFoldedName_;
  std::vector<ServiceDays> services_;

  std::vector<TimedRoute> routes_;
  std::vector<int> routeStops_;
  std::vector<std::uint8_t> rules_;  // kBoards | kAlights by route position
  std::vector<std::int32_t> arrival_, departure_;
  std::vector<int> runTrip_, runService_;
  std::vector<std::uint32_t> routesBegin_;
  std::vector<RouteCall> routesThrough_;
  std::vector<std::uint32_t> transfersBegin_;
  std::vector<Walk> transfers_;
  std::unordered_map<std::int64_t, std::vector<int>> grid_;  // placed platforms by cell of kAccessMetres
  std::unique_ptr<const StreetWalks> streets_;               // places: the placed platforms
};

}  // namespace trip
