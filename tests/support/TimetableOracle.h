#pragma once
// The timed search's referee: a connection scan (Dibbelt et al.) over every run of every trip on
// the day before, the day and the day after, counting rides exactly, with its own service days,
// frequency runs and walks found by brute force. Slow and simple on purpose.
#include <QDate>
#include <QTimeZone>
#include <array>
#include <map>
#include <vector>

#include "bus/TimedSearch.h"
#include "dataset/Timetable.h"

class TimetableOracle {
 public:
  static constexpr int kNone = 1 << 30;
  using Times = std::array<int, trip::kMaxRides + 1>;

  explicit TimetableOracle(const citygen::Timetable& table);
  // Per ride count r the earliest arrival with exactly r rides leaving at `seconds` of `day`
  // (r = 0: on foot the whole way); kNone when there is none.
  Times EarliestArrivals(const trip::TimedEnd& from, const trip::TimedEnd& to, QDate day, int seconds) const;
  // Per ride count the latest departure with exactly r rides that arrives by `seconds`, found by
  // bisection over EarliestArrivals (no earlier than `seconds` − `span`); -kNone when none.
  Times LatestDepartures(const trip::TimedEnd& from, const trip::TimedEnd& to, QDate day, int seconds,
                         int span) const;
  // Seconds walked (rounded up) between two points, straight line × 1.3 at 4.5 km/h.
  static int WalkSeconds(double straight);

 private:
  struct Connection {
    int depart, arrive;
    int run, call;  // run: index into runs_ of the day's runs
  };
  struct Run {
    int trip;
  };
  struct Day {
    std::vector<Connection> connections;  // by departure
    std::vector<Run> runs;
  };
  const Day& DayOf(QDate day) const;
  bool Runs(const std::string& service, QDate day) const;
  std::vector<std::pair<int, int>> Walks(const trip::TimedEnd& end) const;  // platform, seconds

  const citygen::Timetable& table_;
  QTimeZone zone_;
  std::vector<std::vector<std::pair<int, int>>>
      changes_;  // by platform: (platform, walk seconds), itself too
  mutable std::map<QDate, Day> days_;
};
