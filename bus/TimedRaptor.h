#pragma once
// RAPTOR rounds over a TimedIndex (Delling, Pajor, Werneck): round k holds, for every platform, the
// earliest arrival with at most k rides. The same rounds run backwards (the latest departure that
// still reaches the end) on the timetable mirrored: stops reversed, times negated, boarding and
// leaving swapped. Times inside are "kernel times": real times forwards, negated backwards, so
// that smaller is always better. Labels may be kept from one run to the next (rRAPTOR: runs for
// departures from latest to earliest).
#include <QDate>
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "bus/TimedIndex.h"

namespace trip {

// The service days a query on `day` sees: the day before (its times past 24:00), the day and the
// day after, each with its trips' times shifted onto the query day's clock.
struct ServiceFrame {
  ServiceFrame(const TimedIndex& index, QDate day);
  std::array<std::int32_t, 3> offset{};  // added to a run's times; day − 1, day, day + 1
  std::vector<std::uint8_t> runs;        // by service: bit d set when it runs on day d − 1
};

// A walk between an end of the trip and a platform, `seconds` long.
struct EndWalk {
  int platform = -1;
  int seconds = 0;
  double metres = 0;
};

// A journey found, in riding order (real, not mirrored): the walk from the start, per ride the
// walk before it (the first: from the start), the walk to the end.
struct RaptorRide {
  int route = -1, run = -1, day = 0;  // day: 0, 1, 2 for the frame's days
  int board = -1, alight = -1;        // positions on the route
};
struct RaptorJourney {
  std::vector<RaptorRide> rides;
  std::vector<EndWalk> walks;  // rides + 1: before each ride, then to the end (platform: where it starts)
  int depart = 0, arrive = 0;  // real times
};

class Raptor {
 public:
  Raptor(const TimedIndex& index, const ServiceFrame& frame, bool backward, int maxRides);

  // The walks from the search's target platforms to its target (forwards: to the trip's end).
  void SetTargets(std::span<const EndWalk> targets);
  // One run from the source at kernel time `at`: walks to the first platforms, the whole way on
  // foot (`direct`, kNever: none). Arrivals later than `limit` are not followed. Labels of earlier
  // runs stay (their departures were later, so they are still reachable).
  void Run(int at, std::span<const EndWalk> sources, int direct, int limit);
  // The best kernel time at the target with at most k rides (kNever: none).
  int Target(int k) const { return target_[k]; }
  // The journey behind Target(k) (after a run without earlier labels).
  RaptorJourney Journey(int k) const;

  // The kernel departure times from the sources in [from, to]: `at` values for Run.
  std::vector<int> DeparturesBetween(std::span<const EndWalk> sources, int from, int to) const;

 private:
  struct Ride {  // how an arrival label was reached; route -1: kept from the round before
    int route = -1, run = -1, day = 0, board = -1, alight = -1;
  };
  struct Step {  // how a ready label was reached; from -1 and !access: kept from the round before
    int from = -1;
    bool access = false;
    int seconds = 0;
    double metres = 0;
  };
  int Stops(const TimedRoute& r) const { return r.stopCount; }
  int StopAt(const TimedRoute& r, int i) const {
    return index_.StopOf(r, backward_ ? r.stopCount - 1 - i : i);
  }
  bool Boards(const TimedRoute& r, int i) const;
  bool Alights(const TimedRoute& r, int i) const;
  int Dep(const TimedRoute& r, int run, int day, int i) const;
  int Arr(const TimedRoute& r, int run, int day, int i) const;
  bool RunsOn(const TimedRoute& r, int run, int day) const;
  template <bool Backward>
  void ScanRoute(int k, int route, int first, int limit);
  RaptorRide RealRide(const Ride& ride) const;

  const TimedIndex& index_;
  const ServiceFrame& frame_;
  bool backward_;
  int maxRides_;
  std::array<int, 3> kernelOffset_{};
  std::vector<int> egress_;  // by platform, kNever: no target
  std::vector<EndWalk> egressWalks_;
  std::vector<std::vector<int>> ready_, arrival_;  // by round, then platform
  std::vector<std::vector<Step>> readyFrom_;
  std::vector<std::vector<Ride>> arrivalFrom_;
  std::array<int, kMaxRides + 1> target_{};
  std::array<int, kMaxRides + 1> targetFrom_{};  // platform, -2: walked the whole way, -1: kept from k − 1
  std::vector<int> marked_, improved_, firstStop_, routesToScan_;
  std::vector<char> isMarked_, isImproved_;
};

}  // namespace trip
