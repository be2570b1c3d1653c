#include "bus/TripSearch.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace trip {

namespace {

constexpr double kSameTime = 1e-9;

// Labels compare by time, then by the metres walked so far.
bool Better(double t1, double w1, double t2, double w2) {
  return t1 < t2 - kSameTime || (t1 <= t2 + kSameTime && w1 < w2);
}

struct Ride {
  int line = -1;
  int dir = 0;
  int boardAt = -1;  // occurrence on the line
  int alightAt = -1;
};

// One round's labels, by stop.
struct Round {
  std::vector<double> arriveTime, arriveWalk;  // having left ride k at the stop
  std::vector<Ride> ride;
  std::vector<double> boardTime, boardWalk;  // ready to board ride k at the stop
  std::vector<int> boardFrom;                // stop walked from (itself: no walk); -1: the trip's start
  std::vector<double> boardWalkMetres;       // of that walk

  explicit Round(int stops)
      : arriveTime(stops, kNoTrip),
        arriveWalk(stops, 0),
        ride(stops),
        boardTime(stops, kNoTrip),
        boardWalk(stops, 0),
        boardFrom(stops, -1),
        boardWalkMetres(stops, 0) {}
};

// The stops a place reaches on foot: itself as a stop without walking, and the placed stops within
// an access walk of its position.
std::vector<Index::Walk> WalksAt(const Index& index, const Place& place, walk::Walker* walker) {
  std::vector<Index::Walk> walks;
  if (place.stop >= 0) walks.push_back({place.stop, 0, 0});
  if (place.placed)
    for (const Index::Walk& w : index.AccessWalks(place.point, walker))
      if (w.stop != place.stop) walks.push_back(w);
  return walks;
}

class Searcher {
 public:
  Searcher(const Index& index, const Place& from, const Place& to)
      : index_(index),
        from_(from),
        to_(to),
        walker_(index.Streets() ? std::optional<walk::Walker>(std::in_place, index.Streets()->Network())
                                : std::nullopt),
        egress_(WalksAt(index, to, Walker())) {}

  SearchResult Run(const SearchOptions& options) {
    SearchResult result;
    result.bestMinutes.fill(kNoTrip);
    std::vector<Plan> best;  // the quickest plan of each ride count found
    if (auto walk = WalkAllTheWay()) {
      result.bestMinutes[0] = walk->minutes;
      best.push_back(*walk);
    }
    double bound = options.everyRideCount ? kNoTrip : result.bestMinutes[0];
    const int maxRides = std::clamp(options.maxRides, 0, kMaxRides);
    for (int k = 1; k <= maxRides; ++k) {
      rounds_.emplace_back(index_.StopCount());
      if (!Board(k, bound)) break;
      ScanLines(k, bound);
      std::optional<Plan> plan = Arrive(k);
      // Labels as slow as the bound were dropped, so a plan that slow may not be the quickest.
      if (plan && plan->minutes < bound) {
        result.bestMinutes[k] = plan->minutes;
        if (!options.everyRideCount) bound = std::min(bound, plan->minutes);
        best.push_back(std::move(*plan));
      }
    }
    std::sort(best.begin(), best.end(), [](const Plan& a, const Plan& b) { return a.rides < b.rides; });
    double quickest = kNoTrip;
    for (Plan& plan : best) {
      // The first is kept even when its time is infinite: walking all the way on an absurd map.
      if (!result.plans.empty() && plan.minutes >= quickest - kTieMinutes) continue;
      quickest = plan.minutes;
      result.plans.push_back(std::move(plan));
    }
    std::sort(result.plans.begin(), result.plans.end(),
              [this](const Plan& a, const Plan& b) { return PlanBefore(index_, a, b); });
    return result;
  }

 private:
  Round& R(int k) { return rounds_[k - 1]; }
  walk::Walker* Walker() { return walker_ ? &*walker_ : nullptr; }

  std::optional<Plan> WalkAllTheWay() {
    Plan plan;
    if (from_.stop >= 0 && from_.stop == to_.stop) {
      plan.legs.push_back(Leg::WalkLeg(from_.stop, to_.stop, 0));
      return plan;
    }
    if (!from_.placed || !to_.placed) return std::nullopt;
    walk::Walk walk = WalkBetween(index_.Streets(), Walker(), from_.point, to_.point);
    plan.minutes = walk.metres / kWalkMetresPerMinute;
    plan.walkMetres = walk.metres;
    Leg& leg = plan.legs.emplace_back(Leg::WalkLeg(from_.stop, to_.stop, walk.metres));
    leg.path = std::move(walk.path);
    leg.streets = std::move(walk.streets);
    return plan;
  }

  // A walk leg's way, walked again between its ends.
  void Trace(Leg& leg) {
    const auto at = [this](int stop, const Place& place) {
      return stop >= 0 ? index_.Net().stops[std::size_t(stop)].position : place.point;
    };
    walk::Walk walk = WalkBetween(index_.Streets(), Walker(), at(leg.from, from_), at(leg.to, to_));
    leg.path = std::move(walk.path);
    leg.streets = std::move(walk.streets);
  }

  // Where ride k may be boarded: from the start, or after ride k - 1 with a change. False when
  // nowhere.
  bool Board(int k, double bound) {
    Round& round = R(k);
    bool any = false;
    auto offer = [&](int stop, double time, double walk, int fromStop, double metres) {
      if (time >= bound || !Better(time, walk, round.boardTime[stop], round.boardWalk[stop])) return;
      round.boardTime[stop] = time;
      round.boardWalk[stop] = walk;
      round.boardFrom[stop] = fromStop;
      round.boardWalkMetres[stop] = metres;
      any = true;
    };
    if (k == 1) {
      for (const Index::Walk& w : WalksAt(index_, from_, Walker()))
        offer(w.stop, w.minutes, w.metres, w.stop == from_.stop ? w.stop : -1, w.metres);
      return any;
    }
    const Round& last = R(k - 1);
    for (int s = 0; s < index_.StopCount(); ++s) {
      const double t = last.arriveTime[s];
      if (t == kNoTrip) continue;
      offer(s, t + kChangeMinutes, last.arriveWalk[s], s, 0);
      for (const Index::Walk& w : index_.TransfersFrom(s))
        offer(w.stop, t + kChangeMinutes + w.minutes, last.arriveWalk[s] + w.metres, s, w.metres);
    }
    return any;
  }

  void ScanLines(int k, double bound) {
    Round& round = R(k);
    std::vector<char> marked(std::size_t(index_.LineCount()), 0);
    for (int s = 0; s < index_.StopCount(); ++s) {
      if (round.boardTime[s] == kNoTrip) continue;
      for (int line : index_.LinesThrough(s)) marked[std::size_t(line)] = 1;
    }
    for (int line = 0; line < index_.LineCount(); ++line) {
      if (!marked[std::size_t(line)]) continue;
      ScanLine(round, line, +1, bound);
      ScanLine(round, line, -1, bound);
    }
  }

  void ScanLine(Round& round, int line, int dir, double bound) {
    const std::vector<int>& stops = index_.Net().lines[line].stops;
    const int n = int(stops.size());
    double time = kNoTrip, walk = 0;
    int boardAt = -1;
    for (int step = 0; step < n; ++step) {
      const int at = dir > 0 ? step : n - 1 - step;
      const int stop = stops[at];
      if (boardAt >= 0) {
        time += index_.SegmentMinutes(line, dir > 0 ? at - 1 : at);
        if (time < bound && Better(time, walk, round.arriveTime[stop], round.arriveWalk[stop])) {
          round.arriveTime[stop] = time;
          round.arriveWalk[stop] = walk;
          round.ride[stop] = {line, dir, boardAt, at};
        }
      }
      if (round.boardTime[stop] != kNoTrip &&
          (boardAt < 0 || Better(round.boardTime[stop], round.boardWalk[stop], time, walk))) {
        time = round.boardTime[stop];
        walk = round.boardWalk[stop];
        boardAt = at;
      }
    }
  }

  // The quickest plan with exactly k rides; among plans within kTieMinutes of it the one walking
  // least, then the one with the smaller sequence of line names.
  std::optional<Plan> Arrive(int k) {
    const Round& round = R(k);
    double quickest = kNoTrip;
    for (const Index::Walk& w : egress_)
      if (round.arriveTime[w.stop] != kNoTrip)
        quickest = std::min(quickest, round.arriveTime[w.stop] + w.minutes);
    std::optional<Plan> chosen;
    for (const Index::Walk& w : egress_) {
      const double t = round.arriveTime[w.stop];
      if (t == kNoTrip || t + w.minutes > quickest + kTieMinutes) continue;
      Plan plan = Unwind(k, w);
      if (!chosen || PlanBefore(index_, plan, *chosen)) chosen = std::move(plan);
    }
    return chosen;
  }

  Plan Unwind(int k, const Index::Walk& egress) {
    Plan plan;
    plan.rides = k;
    plan.minutes = R(k).arriveTime[egress.stop] + egress.minutes;
    std::vector<Leg> legs;
    if (egress.stop != to_.stop) legs.push_back(Leg::WalkLeg(egress.stop, -1, egress.metres));
    int at = egress.stop;
    for (int j = k; j >= 1; --j) {
      const Ride& ride = R(j).ride[at];
      const std::vector<int>& stops = index_.Net().lines[ride.line].stops;
      Leg leg;
      leg.mode = Leg::Mode::Ride;
      leg.from = stops[ride.boardAt];
      leg.to = at;
      leg.line = ride.line;
      for (int i = ride.boardAt;; i += ride.dir) {
        leg.stops.push_back(stops[i]);
        if (i == ride.alightAt) break;
        leg.minutes += index_.SegmentMinutes(ride.line, ride.dir > 0 ? i : i - 1);
      }
      legs.push_back(std::move(leg));
      const int boarded = stops[ride.boardAt];
      const int walkedFrom = R(j).boardFrom[boarded];
      const double metres = R(j).boardWalkMetres[boarded];
      if (walkedFrom != boarded) legs.push_back(Leg::WalkLeg(walkedFrom, boarded, metres));
      at = walkedFrom;
    }
    std::reverse(legs.begin(), legs.end());
    for (Leg& leg : legs)
      if (leg.mode == Leg::Mode::Walk) {
        plan.walkMetres += leg.metres;
        Trace(leg);
      }
    plan.legs = std::move(legs);
    return plan;
  }

  const Index& index_;
  const Place& from_;
  const Place& to_;
  std::optional<walk::Walker> walker_;  // on the index's streets, when it has them
  const std::vector<Index::Walk> egress_;
  std::vector<Round> rounds_;
};

std::vector<QString> LineNames(const Index& index, const Plan& plan) {
  std::vector<QString> names;
  for (const Leg& leg : plan.legs)
    if (leg.mode == Leg::Mode::Ride) names.push_back(index.Net().lines[leg.line].name);
  return names;
}

}  // namespace

bool PlanBefore(const Index& index, const Plan& a, const Plan& b) {
  if (std::abs(a.minutes - b.minutes) > kTieMinutes) return a.minutes < b.minutes;
  if (a.rides != b.rides) return a.rides < b.rides;
  if (a.walkMetres != b.walkMetres) return a.walkMetres < b.walkMetres;
  return LineNames(index, a) < LineNames(index, b);
}

SearchResult Search(const Index& index, const Place& from, const Place& to, const SearchOptions& options) {
  return Searcher(index, from, to).Run(options);
}

}  // namespace trip
