#include "bus/TimedRaptor.h"

#include <algorithm>

namespace trip {

ServiceFrame::ServiceFrame(const TimedIndex& index, QDate day) : runs(std::size_t(index.ServiceCount()), 0) {
  for (int d = 0; d < 3; ++d) {
    const QDate date = day.addDays(d - 1);
    offset[d] = std::int32_t(index.DayOffset(day, date));
    for (int s = 0; s < index.ServiceCount(); ++s)
      if (index.RunsOn(s, date)) runs[s] |= std::uint8_t(1 << d);
  }
}

Raptor::Raptor(const TimedIndex& index, const ServiceFrame& frame, bool backward, int maxRides)
    : index_(index),
      frame_(frame),
      backward_(backward),
      maxRides_(std::clamp(maxRides, 0, kMaxRides)),
      egress_(std::size_t(index.PlatformCount()), kNever),
      egressWalks_(std::size_t(index.PlatformCount())),
      firstStop_(index.Routes().size(), -1),
      isMarked_(std::size_t(index.PlatformCount()), 0),
      isImproved_(std::size_t(index.PlatformCount()), 0) {
  for (int d = 0; d < 3; ++d) kernelOffset_[d] = backward ? -frame.offset[d] : frame.offset[d];
  const std::size_t platforms = std::size_t(index.PlatformCount());
  ready_.assign(std::size_t(maxRides_) + 1, std::vector<int>(platforms, kNever));
  arrival_.assign(std::size_t(maxRides_) + 1, std::vector<int>(platforms, kNever));
  readyFrom_.assign(std::size_t(maxRides_) + 1, std::vector<Step>(platforms));
  arrivalFrom_.assign(std::size_t(maxRides_) + 1, std::vector<Ride>(platforms));
  target_.fill(kNever);
  targetFrom_.fill(-1);
}

void Raptor::SetTargets(std::span<const EndWalk> targets) {
  for (const EndWalk& w : targets) {
    if (w.seconds >= egress_[w.platform]) continue;
    egress_[w.platform] = w.seconds;
    egressWalks_[w.platform] = w;
  }
}

bool Raptor::Boards(const TimedRoute& r, int i) const {
  return backward_ ? index_.CanAlight(r, r.stopCount - 1 - i) : index_.CanBoard(r, i);
}
bool Raptor::Alights(const TimedRoute& r, int i) const {
  return backward_ ? index_.CanBoard(r, r.stopCount - 1 - i) : index_.CanAlight(r, i);
}
int Raptor::Dep(const TimedRoute& r, int run, int day, int i) const {
  if (!backward_) return index_.Departure(r, run, i) + kernelOffset_[day];
  return -index_.Arrival(r, r.tripCount - 1 - run, r.stopCount - 1 - i) + kernelOffset_[day];
}
int Raptor::Arr(const TimedRoute& r, int run, int day, int i) const {
  if (!backward_) return index_.Arrival(r, run, i) + kernelOffset_[day];
  return -index_.Departure(r, r.tripCount - 1 - run, r.stopCount - 1 - i) + kernelOffset_[day];
}
bool Raptor::RunsOn(const TimedRoute& r, int run, int day) const {
  const int service = index_.ServiceOf(r, backward_ ? r.tripCount - 1 - run : run);
  return service >= 0 && (frame_.runs[service] >> day & 1) != 0;
}

namespace {

// A route as the search rides it, mirrored when searching backwards: kernel times per run (on the
// frame's day d), platforms and rules per position.
template <bool Backward>
struct RouteView {
  RouteView(const TimedIndex& index, const TimedRoute& r, const ServiceFrame& frame, const int* offset)
      : n(r.stopCount),
        trips(r.tripCount),
        stops(index.StopsOf(r)),
        rules(index.RulesOf(r)),
        arrivals(index.ArrivalsOf(r)),
        departures(index.DeparturesOf(r)),
        services(index.ServicesOf(r)),
        runs(frame.runs.data()),
        offset(offset) {}

  int Stop(int i) const { return stops[Backward ? n - 1 - i : i]; }
  bool Boards(int i) const {
    return Backward ? rules[n - 1 - i] & TimedIndex::kAlights : rules[i] & TimedIndex::kBoards;
  }
  bool Alights(int i) const {
    return Backward ? rules[n - 1 - i] & TimedIndex::kBoards : rules[i] & TimedIndex::kAlights;
  }
  int Dep(int run, int day, int i) const {
    if (Backward) return -arrivals[std::size_t(trips - 1 - run) * n + (n - 1 - i)] + offset[day];
    return departures[std::size_t(run) * n + i] + offset[day];
  }
  int Arr(int run, int day, int i) const {
    if (Backward) return -departures[std::size_t(trips - 1 - run) * n + (n - 1 - i)] + offset[day];
    return arrivals[std::size_t(run) * n + i] + offset[day];
  }
  bool RunsOn(int run, int day) const {
    const int service = services[Backward ? trips - 1 - run : run];
    return service >= 0 && (runs[service] >> day & 1) != 0;
  }
  // The first run in [lo, hi) leaving position i on day d at or after `ready`, or hi.
  int FirstFrom(int i, int d, int ready, int lo, int hi) const {
    while (lo < hi) {
      const int mid = (lo + hi) / 2;
      if (Dep(mid, d, i) < ready)
        lo = mid + 1;
      else
        hi = mid;
    }
    return lo;
  }
  // The earliest run (and its day) leaving position i at or after `ready` and before `before`.
  std::pair<int, int> Earliest(int i, int ready, int before) const {
    std::pair<int, int> best{-1, 0};
    for (int d = 0; d < 3; ++d) {
      if (Dep(trips - 1, d, i) < ready || Dep(0, d, i) >= before) continue;  // the day's runs miss
      for (int run = FirstFrom(i, d, ready, 0, trips); run < trips && Dep(run, d, i) < before; ++run) {
        if (!RunsOn(run, d)) continue;
        before = Dep(run, d, i);
        best = {run, d};
        break;
      }
    }
    return best;
  }

  int n, trips;
  const int* stops;
  const std::uint8_t* rules;
  const std::int32_t *arrivals, *departures;
  const int* services;
  const std::uint8_t* runs;
  const int* offset;
};

}  // namespace

template <bool Backward>
void Raptor::ScanRoute(int k, int route, int first, int limit) {
  const RouteView<Backward> r(index_, index_.Routes()[route], frame_, kernelOffset_.data());
  std::vector<int>& arrival = arrival_[k];
  const std::vector<int>& ready = ready_[k - 1];
  int run = -1, day = 0, board = -1;
  for (int i = first; i < r.n; ++i) {
    const int p = r.Stop(i);
    if (run >= 0 && r.Alights(i)) {
      const int a = r.Arr(run, day, i);
      if (a <= limit && a < arrival[p]) {
        arrival[p] = a;
        arrivalFrom_[k][p] = {route, run, day, board, i};
        if (!isImproved_[p]) {
          isImproved_[p] = 1;
          improved_.push_back(p);
        }
      }
    }
    if (ready[p] >= kNever || i + 1 >= r.n || !r.Boards(i)) continue;
    const int current = run >= 0 ? r.Dep(run, day, i) : kNever;
    if (ready[p] > current) continue;
    const auto [earliest, earliestDay] = r.Earliest(i, ready[p], current);
    if (earliest >= 0) {
      run = earliest;
      day = earliestDay;
      board = i;
    }
  }
}

void Raptor::Run(int at, std::span<const EndWalk> sources, int direct, int limit) {
  const auto mark = [&](int p) {
    if (!isMarked_[p]) {
      isMarked_[p] = 1;
      marked_.push_back(p);
    }
  };
  for (const EndWalk& s : sources) {
    const int t = at + s.seconds;
    if (t >= ready_[0][s.platform]) continue;
    ready_[0][s.platform] = t;
    readyFrom_[0][s.platform] = {-1, true, s.seconds, s.metres};
    mark(s.platform);
  }
  if (direct < kNever) {
    target_[0] = at + direct;
    targetFrom_[0] = -2;
  }
  const int platforms = index_.PlatformCount();
  for (int k = 1; k <= maxRides_; ++k) {
    for (int p = 0; p < platforms; ++p) {
      if (ready_[k - 1][p] < ready_[k][p]) {
        ready_[k][p] = ready_[k - 1][p];
        readyFrom_[k][p] = {};
      }
      if (k >= 2 && arrival_[k - 1][p] < arrival_[k][p]) {
        arrival_[k][p] = arrival_[k - 1][p];
        arrivalFrom_[k][p] = {};
      }
    }
    if (target_[k - 1] < target_[k]) {
      target_[k] = target_[k - 1];
      targetFrom_[k] = -1;
    }
    if (marked_.empty()) continue;

    for (int p : marked_) {
      isMarked_[p] = 0;
      for (const TimedIndex::RouteCall& rc : index_.RoutesThrough(p)) {
        const int i = backward_ ? index_.Routes()[rc.route].stopCount - 1 - rc.stop : rc.stop;
        int& first = firstStop_[rc.route];
        if (first < 0) routesToScan_.push_back(rc.route);
        if (first < 0 || i < first) first = i;
      }
    }
    marked_.clear();
    const int bound = std::min(limit, target_[k - 1] - 1);
    for (int route : routesToScan_) {
      if (backward_)
        ScanRoute<true>(k, route, firstStop_[route], bound);
      else
        ScanRoute<false>(k, route, firstStop_[route], bound);
      firstStop_[route] = -1;
    }
    routesToScan_.clear();

    for (int p : improved_) {
      isImproved_[p] = 0;
      const int a = arrival_[k][p];
      if (egress_[p] < kNever && a + egress_[p] < target_[k] && a + egress_[p] <= limit) {
        target_[k] = a + egress_[p];
        targetFrom_[k] = p;
      }
      const auto change = [&](int q, int seconds, double metres) {
        const int t = a + seconds + kChangeSeconds;
        if (t >= ready_[k][q] || t > bound) return;
        ready_[k][q] = t;
        readyFrom_[k][q] = {p, false, seconds, metres};
        mark(q);
      };
      change(p, 0, 0);
      for (const TimedIndex::Walk& w : index_.TransfersFrom(p)) change(w.platform, w.seconds, w.metres);
    }
    improved_.clear();
  }
  for (int p : marked_) isMarked_[p] = 0;
  marked_.clear();
}

RaptorRide Raptor::RealRide(const Ride& ride) const {
  if (!backward_) return {ride.route, ride.run, ride.day, ride.board, ride.alight};
  const TimedRoute& r = index_.Routes()[ride.route];
  return {ride.route, r.tripCount - 1 - ride.run, ride.day, r.stopCount - 1 - ride.alight,
          r.stopCount - 1 - ride.board};
}

RaptorJourney Raptor::Journey(int k) const {
  RaptorJourney journey;
  while (k > 0 && targetFrom_[k] == -1) --k;
  int p = targetFrom_[k];
  if (p < 0) return journey;
  // Collected from the target back to the source: real order when searching backwards.
  journey.walks.push_back(egressWalks_[p]);
  journey.walks.back().platform = p;
  for (int round = k;;) {
    while (arrivalFrom_[round][p].route < 0) --round;
    const Ride& ride = arrivalFrom_[round][p];
    journey.rides.push_back(RealRide(ride));
    const int q = StopAt(index_.Routes()[ride.route], ride.board);
    int m = round - 1;
    while (!readyFrom_[m][q].access && readyFrom_[m][q].from < 0) --m;
    const Step& step = readyFrom_[m][q];
    journey.walks.push_back({step.access ? -1 : step.from, step.seconds, step.metres});
    if (step.access) break;
    p = step.from;
    round = m;
  }
  if (!backward_) {
    std::reverse(journey.rides.begin(), journey.rides.end());
    std::reverse(journey.walks.begin(), journey.walks.end());
  }
  // Each walk starts where the ride before it ended (the first at the trip's start).
  for (std::size_t i = 0; i < journey.walks.size(); ++i) {
    if (i == 0) {
      journey.walks[i].platform = -1;
      continue;
    }
    const RaptorRide& before = journey.rides[i - 1];
    journey.walks[i].platform = index_.StopOf(index_.Routes()[before.route], before.alight);
  }
  const RaptorRide& first = journey.rides.front();
  const RaptorRide& last = journey.rides.back();
  const TimedRoute& fr = index_.Routes()[first.route];
  const TimedRoute& lr = index_.Routes()[last.route];
  journey.depart =
      index_.Departure(fr, first.run, first.board) + frame_.offset[first.day] - journey.walks.front().seconds;
  journey.arrive =
      index_.Arrival(lr, last.run, last.alight) + frame_.offset[last.day] + journey.walks.back().seconds;
  return journey;
}

std::vector<int> Raptor::DeparturesBetween(std::span<const EndWalk> sources, int from, int to) const {
  std::vector<int> times;
  for (const EndWalk& s : sources) {
    for (const TimedIndex::RouteCall& rc : index_.RoutesThrough(s.platform)) {
      const TimedRoute& r = index_.Routes()[rc.route];
      const int i = backward_ ? r.stopCount - 1 - rc.stop : rc.stop;
      if (i + 1 >= r.stopCount || !Boards(r, i)) continue;
      for (int d = 0; d < 3; ++d) {
        int lo = 0, hi = r.tripCount;
        while (lo < hi) {
          const int mid = (lo + hi) / 2;
          if (Dep(r, mid, d, i) < from + s.seconds)
            lo = mid + 1;
          else
            hi = mid;
        }
        for (; lo < r.tripCount && Dep(r, lo, d, i) <= to + s.seconds; ++lo)
          if (RunsOn(r, lo, d)) times.push_back(Dep(r, lo, d, i) - s.seconds);
      }
    }
  }
  std::sort(times.begin(), times.end(), std::greater<>());
  times.erase(std::unique(times.begin(), times.end()), times.end());
  return times;
}

}  // namespace trip
