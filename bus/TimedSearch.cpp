#include "bus/TimedSearch.h"

#include <QDateTime>
#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <tuple>

#include "bus/TimedIndex.h"
#include "bus/TimedRaptor.h"

namespace trip {

std::unique_ptr<TimedIndex> BuildTimedIndex(citygen::Timetable timetable, QString& error,
                                            std::span<const walk::Street> streets) {
  const QTimeZone zone(QByteArray::fromStdString(timetable.timeZone));
  if (!zone.isValid()) {
    error = QStringLiteral("未知的时区：%1").arg(QString::fromStdString(timetable.timeZone));
    return nullptr;
  }
  const int platforms = int(timetable.platforms.size());
  for (const citygen::Trip& trip : timetable.trips)
    for (const citygen::Call& call : trip.calls)
      if (call.platform < 0 || call.platform >= platforms) {
        error = QStringLiteral("车次 %1 停靠的站台不存在").arg(QString::fromStdString(trip.id));
        return nullptr;
      }
  return std::make_unique<TimedIndex>(std::move(timetable), zone, streets);
}

const citygen::Timetable& TimetableOf(const TimedIndex& index) { return index.Table(); }
QTimeZone TimeZoneOf(const TimedIndex& index) { return index.Zone(); }

std::vector<int> PlatformsNamed(const TimedIndex& index, const QString& name) {
  const std::span<const int> named = index.PlatformsNamed(name);
  return {named.begin(), named.end()};
}

namespace {

// The walks between an end of the trip and its platforms: its own platforms without walking, the
// placed platforms within reach of its point.
std::vector<EndWalk> WalksOf(const TimedIndex& index, const TimedEnd& end, walk::Walker* walker) {
  std::map<int, EndWalk> best;
  if (end.placed)
    for (const TimedIndex::Walk& w : index.AccessWalks(end.point, walker))
      best[w.platform] = {w.platform, w.seconds, w.metres};
  for (int p : end.platforms)
    if (p >= 0 && p < index.PlatformCount()) best[p] = {p, 0, 0};
  std::vector<EndWalk> walks;
  for (const auto& [p, w] : best) walks.push_back(w);
  return walks;
}

struct Ends {
  std::vector<EndWalk> from, to;
  int direct = kNever;  // seconds on foot the whole way
  double directMetres = 0;
};

TimedPlan WalkingPlan(const Ends& ends, int depart) {
  TimedPlan plan;
  plan.depart = depart;
  plan.arrive = depart + ends.direct;
  plan.walkMetres = ends.directMetres;
  TimedLeg& leg = plan.legs.emplace_back();
  leg.metres = ends.directMetres;
  leg.depart = plan.depart;
  leg.arrive = plan.arrive;
  return plan;
}

TimedPlan PlanOf(const TimedIndex& index, const ServiceFrame& frame, const RaptorJourney& journey) {
  TimedPlan plan;
  plan.depart = journey.depart;
  plan.arrive = journey.arrive;
  plan.rides = int(journey.rides.size());
  const auto walk = [&](const EndWalk& w, int to, int depart) {
    if (w.platform == to && w.seconds == 0) return;
    if (w.platform < 0 && w.seconds == 0 && w.metres == 0) return;
    TimedLeg& leg = plan.legs.emplace_back();
    leg.fromPlatform = w.platform;
    leg.toPlatform = to;
    leg.metres = w.metres;
    leg.depart = depart;
    leg.arrive = depart + w.seconds;
    plan.walkMetres += w.metres;
  };
  int time = journey.depart;
  for (std::size_t i = 0; i < journey.rides.size(); ++i) {
    const RaptorRide& ride = journey.rides[i];
    const TimedRoute& route = index.Routes()[ride.route];
    const int board = index.StopOf(route, ride.board);
    walk(journey.walks[i], board, time);
    TimedLeg& leg = plan.legs.emplace_back();
    leg.mode = Leg::Mode::Ride;
    leg.fromPlatform = board;
    leg.toPlatform = index.StopOf(route, ride.alight);
    leg.trip = index.TripOf(route, ride.run);
    leg.boardCall = ride.board;
    leg.alightCall = ride.alight;
    leg.depart = index.Departure(route, ride.run, ride.board) + frame.offset[ride.day];
    leg.arrive = index.Arrival(route, ride.run, ride.alight) + frame.offset[ride.day];
    time = leg.arrive;
  }
  walk(journey.walks.back(), -1, time);
  return plan;
}

// Which ride counts a run's targets keep: earlier (in kernel time) by more than 1 s than every
// kept count with fewer rides. Returns (rides, kernel time).
std::vector<std::pair<int, int>> Kept(const Raptor& raptor, int maxRides) {
  std::vector<std::pair<int, int>> kept;
  int best = kNever;
  for (int r = 0; r <= maxRides; ++r) {
    const int t = raptor.Target(r);
    const bool exact = r == 0 || t < raptor.Target(r - 1);
    if (t < kNever && exact && t <= best - 2) kept.push_back({r, best = t});
  }
  return kept;
}

// The plan with r rides reaching the far end at `reached` (kernel time of the main search), found
// again by the opposite search, which starts there and may not pass the main search's `start`:
// so it leaves as late (or, arriving by a time, arrives as early) as it can.
std::optional<TimedPlan> Confirm(const TimedIndex& index, const ServiceFrame& frame, const Ends& ends,
                                 bool mainBackward, int rides, int reached, int start) {
  const bool backward = !mainBackward;
  Raptor confirm(index, frame, backward, rides);
  confirm.SetTargets(backward ? ends.from : ends.to);
  confirm.Run(-reached, backward ? ends.to : ends.from, kNever, -start);
  const RaptorJourney journey = confirm.Journey(rides);
  if (journey.rides.empty()) return std::nullopt;
  return PlanOf(index, frame, journey);
}

// How plans are listed: by departure, arrival, rides, then the trips ridden; a plan found for
// several departures of a window compares equal to itself.
auto PlanKey(const TimedPlan& p) {
  std::vector<int> trips;
  for (const TimedLeg& leg : p.legs) trips.push_back(leg.trip);
  return std::make_tuple(p.depart, p.arrive, p.rides, std::move(trips));
}

// Each walk leg's way, walked again between its ends.
void TraceWalks(const TimedIndex& index, walk::Walker* walker, const TimedQuery& query, TimedPlan& plan) {
  const auto at = [&](int platform, const TimedEnd& end) {
    if (platform < 0) return end.point;
    const citygen::Vec2 p = index.Table().platforms[std::size_t(platform)].at;
    return MapPoint{p.x, p.y};
  };
  for (TimedLeg& leg : plan.legs) {
    if (leg.mode != Leg::Mode::Walk) continue;
    walk::Walk walk =
        WalkBetween(index.Streets(), walker, at(leg.fromPlatform, query.from), at(leg.toPlatform, query.to));
    leg.path = std::move(walk.path);
    leg.streets = std::move(walk.streets);
  }
}

}  // namespace

std::vector<TimedPlan> SearchTimed(const TimedIndex& index, const TimedQuery& query) {
  if (!query.day.isValid()) return {};
  const ServiceFrame frame(index, query.day);
  std::optional<walk::Walker> walker;
  if (index.Streets()) walker.emplace(index.Streets()->Network());
  walk::Walker* const walking = walker ? &*walker : nullptr;
  Ends ends{WalksOf(index, query.from, walking), WalksOf(index, query.to, walking)};
  if (query.from.placed && query.to.placed) {
    const walk::Walk direct = WalkBetween(index.Streets(), walking, query.from.point, query.to.point);
    ends.direct = WalkedSeconds(direct.metres);
    ends.directMetres = direct.metres;
  }
  const int maxRides = std::clamp(query.maxRides, 0, kMaxRides);
  const bool backward = query.mode == TimedMode::ArriveBy;
  const int start = backward ? -query.seconds : query.seconds;  // kernel time
  const int window = std::max(0, query.windowSeconds);

  Raptor main(index, frame, backward, maxRides);
  main.SetTargets(backward ? ends.from : ends.to);
  const std::vector<EndWalk>& sources = backward ? ends.to : ends.from;
  // Runs from the latest time to the earliest: the window's ends and every departure between.
  std::vector<int> starts{start + window};
  if (window > 0)
    for (int at : main.DeparturesBetween(sources, start, start + window))
      if (at != starts.back()) starts.push_back(at);
  if (starts.back() != start) starts.push_back(start);

  std::vector<TimedPlan> plans;
  std::array<int, kMaxRides + 1> before{};
  bool walked = false;
  for (int at : starts) {
    for (int r = 0; r <= maxRides; ++r) before[r] = main.Target(r);
    main.Run(at, sources, ends.direct, kNever);
    for (const auto& [rides, reached] : Kept(main, maxRides)) {
      if (rides == 0) {
        walked = true;  // walking is one plan however late it leaves: listed once, from the start
        continue;
      }
      if (reached >= before[rides]) continue;  // a later departure's plan
      if (auto plan = Confirm(index, frame, ends, backward, rides, reached, at))
        plans.push_back(std::move(*plan));
    }
  }
  if (walked) plans.push_back(WalkingPlan(ends, backward ? query.seconds - ends.direct : query.seconds));

  std::sort(plans.begin(), plans.end(),
            [](const TimedPlan& a, const TimedPlan& b) { return PlanKey(a) < PlanKey(b); });
  plans.erase(std::unique(plans.begin(), plans.end(),
                          [](const TimedPlan& a, const TimedPlan& b) { return PlanKey(a) == PlanKey(b); }),
              plans.end());
  for (TimedPlan& plan : plans) TraceWalks(index, walking, query, plan);
  return plans;
}

std::vector<Departure> NextDepartures(const TimedIndex& index, const std::vector<int>& platforms, QDate day,
                                      int seconds, int windowSeconds) {
  if (!day.isValid()) return {};
  const ServiceFrame frame(index, day);
  const citygen::Timetable& table = index.Table();
  std::vector<Departure> departures;
  for (int p : platforms) {
    if (p < 0 || p >= index.PlatformCount()) continue;
    for (const TimedIndex::RouteCall& rc : index.RoutesThrough(p)) {
      const TimedRoute& r = index.Routes()[rc.route];
      if (rc.stop + 1 >= r.stopCount || !index.CanBoard(r, rc.stop)) continue;
      for (int d = 0; d < 3; ++d) {
        for (int t = 0; t < r.tripCount; ++t) {
          const int at = index.Departure(r, t, rc.stop) + frame.offset[d];
          const int service = index.ServiceOf(r, t);
          if (at < seconds || at > seconds + windowSeconds || service < 0 || !(frame.runs[service] >> d & 1))
            continue;
          const citygen::Trip& trip = table.trips[index.TripOf(r, t)];
          const std::string& headsign =
              trip.headsign.empty() ? table.platforms[trip.calls.back().platform].name : trip.headsign;
          departures.push_back({index.TripOf(r, t), p, at, QString::fromStdString(trip.line),
                                QString::fromStdString(headsign)});
        }
      }
    }
  }
  std::sort(departures.begin(), departures.end(), [](const Departure& a, const Departure& b) {
    return std::tie(a.depart, a.platform, a.trip) < std::tie(b.depart, b.platform, b.trip);
  });
  return departures;
}

int ServiceSecondsAt(const QTimeZone& zone, QDate day, QTime wallTime) {
  const qint64 start = QDateTime(day, QTime(12, 0), zone).toSecsSinceEpoch() - 12 * 3600;
  return int(QDateTime(day, wallTime, zone).toSecsSinceEpoch() - start);
}

QString ServiceTimeText(int seconds) {
  const int s = std::abs(seconds);
  return QStringLiteral("%1%2:%3:%4")
      .arg(seconds < 0 ? QStringLiteral("-") : QString())
      .arg(s / 3600, 2, 10, QLatin1Char('0'))
      .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
      .arg(s % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace trip
