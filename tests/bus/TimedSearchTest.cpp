// The timed search against its connection-scan referee on a generated network (every ride count,
// depart-at; arrive-by by bisection; the range against depart-at), and the clock's edge cases on
// hand-built timetables.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>

#include "bus/TimedSearch.h"
#include "tests/support/TimedNetwork.h"
#include "tests/support/TimetableOracle.h"
#include "tests/support/WalkCheck.h"

using namespace trip;

namespace {

using Times = TimetableOracle::Times;
constexpr int kNone = TimetableOracle::kNone;

// Per ride count, kept when earlier than every kept count with fewer rides by more than 1 s.
std::set<std::pair<int, int>> KeptArrivals(const Times& arrivals, int maxRides) {
  std::set<std::pair<int, int>> kept;
  int best = kNone;
  for (int r = 0; r <= maxRides; ++r)
    if (arrivals[r] < kNone && arrivals[r] < best - 1) kept.insert({r, best = arrivals[r]});
  return kept;
}
std::set<std::pair<int, int>> KeptDepartures(const Times& departures, int maxRides) {
  std::set<std::pair<int, int>> kept;
  int best = -kNone;
  for (int r = 0; r <= maxRides; ++r)
    if (departures[r] > -kNone && departures[r] > best + 1) kept.insert({r, best = departures[r]});
  return kept;
}

// What is wrong with a plan as the timetable reads it: the legs' chain, the calls ridden, the
// rules of boarding and leaving, the time each ride takes and each change needs. Empty: nothing.
std::string PlanFault(const citygen::Timetable& table, const TimedPlan& plan) {
  if (plan.legs.empty()) return "no legs";
  if (plan.legs.front().depart != plan.depart || plan.legs.back().arrive != plan.arrive) return "ends' times";
  int rides = 0;
  const TimedLeg* lastRide = nullptr;
  int walkSinceRide = 0;
  for (std::size_t i = 0; i < plan.legs.size(); ++i) {
    const TimedLeg& leg = plan.legs[i];
    if (i > 0 && plan.legs[i - 1].toPlatform != leg.fromPlatform) return "legs not chained";
    if (i > 0 && plan.legs[i - 1].arrive > leg.depart) return "legs overlap";
    if (leg.mode == Leg::Mode::Walk) {
      walkSinceRide += TimetableOracle::WalkSeconds(leg.metres / kWalkDetour);
      if (leg.arrive - leg.depart != TimetableOracle::WalkSeconds(leg.metres / kWalkDetour))
        return "walk time";
      const double reach = leg.fromPlatform >= 0 && leg.toPlatform >= 0 ? kTransferMetres : kAccessMetres;
      if (plan.rides > 0 && leg.metres > WalkedMetres(reach) + 1e-6) return "walk too long";
      continue;
    }
    ++rides;
    const citygen::Trip& trip = table.trips[leg.trip];
    if (leg.boardCall < 0 || leg.boardCall >= leg.alightCall || leg.alightCall >= int(trip.calls.size()))
      return "calls";
    const citygen::Call& board = trip.calls[leg.boardCall];
    const citygen::Call& alight = trip.calls[leg.alightCall];
    if (board.platform != leg.fromPlatform || alight.platform != leg.toPlatform) return "platforms";
    if (board.pickup == 1 || alight.dropOff == 1) return "boarding or leaving refused";
    if (leg.arrive - leg.depart != alight.arrival - board.departure) return "ride time";
    if (lastRide && leg.depart < lastRide->arrive + walkSinceRide + kChangeSeconds) return "change too short";
    lastRide = &leg;
    walkSinceRide = 0;
  }
  return rides == plan.rides ? "" : "ride count";
}

struct Network {
  citygen::Timetable table;
  std::unique_ptr<TimedIndex> index;
  std::unique_ptr<TimetableOracle> oracle;

  static Network& Get() {
    static Network network = [] {
      Network n;
      n.table = GeneratedTimetable({});
      QString error;
      n.index = BuildTimedIndex(n.table, error);
      n.oracle = std::make_unique<TimetableOracle>(n.table);
      return n;
    }();
    return network;
  }
};

TimedQuery QueryOf(const TimedQueryCase& c, TimedMode mode, int window = 0, int maxRides = kMaxRides) {
  TimedQuery q;
  q.from = c.from;
  q.to = c.to;
  q.day = c.day;
  q.seconds = c.seconds;
  q.mode = mode;
  q.windowSeconds = window;
  q.maxRides = maxRides;
  return q;
}

std::string Text(int seconds) { return ServiceTimeText(seconds).toStdString(); }
std::string Text(const TimedPlan& p) {
  return std::to_string(p.rides) + " " + Text(p.depart) + "→" + Text(p.arrive);
}
std::string Text(const std::vector<TimedPlan>& plans) {
  std::string text;
  for (const TimedPlan& p : plans) text += Text(p) + "; ";
  return text;
}

std::set<std::pair<int, int>> RidesAndArrivals(const std::vector<TimedPlan>& plans) {
  std::set<std::pair<int, int>> got;
  for (const TimedPlan& p : plans) got.insert({p.rides, p.arrive});
  return got;
}

TEST(TimedSearch, DepartAtAgreesWithTheConnectionScan) {
  Network& n = Network::Get();
  ASSERT_TRUE(n.index);
  int plans = 0, late = 0;
  const auto queries = RandomTimedQueries(n.table, 1400, 5);
  for (std::size_t i = 0; i < queries.size(); ++i) {
    const TimedQueryCase& c = queries[i];
    const int maxRides = int(i % 5) == 0 ? int(i / 5 % (kMaxRides + 1)) : kMaxRides;
    const std::vector<TimedPlan> got = SearchTimed(*n.index, QueryOf(c, TimedMode::DepartAt, 0, maxRides));
    const Times expected = n.oracle->EarliestArrivals(c.from, c.to, c.day, c.seconds);
    ASSERT_EQ(RidesAndArrivals(got), KeptArrivals(expected, maxRides)) << "query " << i;
    for (const TimedPlan& plan : got) {
      ++plans;
      ASSERT_EQ(PlanFault(n.table, plan), "") << "query " << i;
      ASSERT_GE(plan.depart, c.seconds);
      if (plan.rides == 0) continue;
      // No needless waiting at the start: leaving a second later arrives later.
      const Times later = n.oracle->EarliestArrivals(c.from, c.to, c.day, plan.depart + 1);
      ASSERT_GT(*std::min_element(later.begin(), later.begin() + plan.rides + 1), plan.arrive)
          << "query " << i;
      late += plan.depart > c.seconds;
    }
  }
  EXPECT_GT(plans, 1400);  // the network is connected enough to be a check
  EXPECT_GT(late, 300);
}

TEST(TimedSearch, ArriveByAgreesWithDepartAtByBisection) {
  Network& n = Network::Get();
  int plans = 0;
  const auto queries = RandomTimedQueries(n.table, 300, 6);
  for (std::size_t i = 0; i < queries.size(); ++i) {
    const TimedQueryCase& c = queries[i];
    const std::vector<TimedPlan> got = SearchTimed(*n.index, QueryOf(c, TimedMode::ArriveBy));
    const Times expected = n.oracle->LatestDepartures(c.from, c.to, c.day, c.seconds, 6 * 3600);
    std::set<std::pair<int, int>> departures;
    for (const TimedPlan& plan : got) {
      departures.insert({plan.rides, plan.depart});
      ASSERT_EQ(PlanFault(n.table, plan), "") << "query " << i;
      ASSERT_LE(plan.arrive, c.seconds);
      if (plan.rides == 0) continue;
      ++plans;
      // No needless waiting at the end: its departure arrives no earlier with as many rides.
      const Times from = n.oracle->EarliestArrivals(c.from, c.to, c.day, plan.depart);
      ASSERT_EQ(*std::min_element(from.begin(), from.begin() + plan.rides + 1), plan.arrive) << "query " << i;
    }
    // Plans leaving more than the bisection's span before are beyond the check.
    std::set<std::pair<int, int>> near;
    for (const auto& d : departures)
      if (d.second >= c.seconds - 6 * 3600) near.insert(d);
    ASSERT_EQ(near, KeptDepartures(expected, kMaxRides)) << "query " << i;
  }
  EXPECT_GT(plans, 150);
}

TEST(TimedSearch, RangeIsTheUnionOfItsDepartures) {
  Network& n = Network::Get();
  constexpr int kWindow = 40 * 60;
  int checked = 0;
  for (const TimedQueryCase& c : RandomTimedQueries(n.table, 300, 7)) {
    for (TimedMode mode : {TimedMode::DepartAt, TimedMode::ArriveBy}) {
      const bool departing = mode == TimedMode::DepartAt;
      const std::vector<TimedPlan> range = SearchTimed(*n.index, QueryOf(c, mode, kWindow));
      std::set<std::tuple<int, int, int>> inRange;
      for (const TimedPlan& p : range) {
        ASSERT_TRUE(inRange.insert({p.rides, p.depart, p.arrive}).second) << "a plan listed twice";
        ASSERT_EQ(PlanFault(n.table, p), "");
      }
      // Every plan answers its own time; every time in the window is answered by the range.
      std::vector<int> times{departing ? c.seconds : c.seconds - kWindow,
                             c.seconds + (departing ? kWindow / 2 : 0)};
      for (const TimedPlan& p : range)
        if (p.rides > 0) times.push_back(departing ? p.depart : p.arrive);
      for (int t : times) {
        TimedQueryCase one = c;
        one.seconds = t;
        if (departing ? t < c.seconds || t > c.seconds + kWindow : t < c.seconds - kWindow || t > c.seconds)
          continue;
        for (const TimedPlan& p : SearchTimed(*n.index, QueryOf(one, mode))) {
          if (p.rides == 0) continue;  // walking is listed once, from the window's start
          ASSERT_TRUE(inRange.count({p.rides, p.depart, p.arrive}))
              << "at " << Text(t) << ": " << Text(p) << "; the range: " << Text(range);
          ++checked;
        }
      }
    }
  }
  EXPECT_GT(checked, 500);
}

// A hand-built timetable in Europe/Berlin, one daily service, platforms on a line 2 km apart
// unless placed.
struct Tiny {
  citygen::Timetable table;
  Tiny() {
    table.timeZone = "Europe/Berlin";
    Service("S", true, {});
  }
  void Service(const std::string& id, bool calendar, std::vector<std::pair<std::string, int>> exceptions) {
    citygen::Service& s = table.services.emplace_back();
    s.id = id;
    s.hasCalendar = calendar;
    s.weekdays.fill(true);
    s.startDate = "20260101";
    s.endDate = "20261231";
    s.exceptions = std::move(exceptions);
  }
  int Platform(const std::string& name, double x) {
    table.platforms.push_back({"T:" + name, name, true, {x, 0}});
    return int(table.platforms.size()) - 1;
  }
  int PlatformNamed(const std::string& name) const {
    for (std::size_t p = 0; p < table.platforms.size(); ++p)
      if (table.platforms[p].name == name) return int(p);
    return -1;
  }
  // Calls: platform name, arrival, departure, pickup, drop-off; platforms made on first use.
  struct C {
    std::string at;
    int arrival, departure = -1;
    std::uint8_t pickup = 0, dropOff = 0;
  };
  void Trip(const std::string& id, std::vector<C> calls, const std::string& service = "S") {
    citygen::Trip& trip = table.trips.emplace_back();
    trip.id = id;
    trip.line = id;
    trip.service = service;
    for (const C& c : calls) {
      int p = PlatformNamed(c.at);
      if (p < 0) p = Platform(c.at, 2000.0 * double(table.platforms.size()));
      trip.calls.push_back({p, c.arrival, c.departure < 0 ? c.arrival : c.departure, c.pickup, c.dropOff});
    }
  }
};

int H(int h, int m, int s = 0) { return h * 3600 + m * 60 + s; }

struct ClockCase {
  const char* name;
  std::function<void(Tiny&)> build;
  const char *from, *to;
  QDate day;
  int seconds;
  int rides;  // of the plan expected with the most rides; -1: no plan (the day after is seen too)
  int depart, arrive;
};

const QDate kMay7(2026, 5, 7);

TEST(TimedSearch, ClockEdgeCases) {
  const std::vector<ClockCase> cases = {
      {"past midnight, the day before's trip",
       [](Tiny& t) {
         t.Trip("n", {{"A", H(24, 30)}, {"B", H(24, 50)}});
       },
       "A", "B", kMay7, H(0, 20), 1, H(0, 30), H(0, 50)},
      {"past midnight, the day's own trip after 24:00",
       [](Tiny& t) {
         t.Trip("n", {{"A", H(24, 30)}, {"B", H(24, 50)}});
       },
       "A", "B", kMay7, H(23, 0), 1, H(24, 30), H(24, 50)},
      {"frequency: the next run",
       [](Tiny& t) {
         t.Trip("f", {{"A", H(8, 0)}, {"B", H(8, 10)}});
         t.table.frequencies.push_back({"f", H(8, 0), H(9, 0), 20 * 60, false});
       },
       "A", "B", kMay7, H(8, 5), 1, H(8, 20), H(8, 30)},
      {"frequency: no run at its end",
       [](Tiny& t) {
         t.Trip("f", {{"A", H(7, 0)}, {"B", H(7, 10)}});
         t.table.frequencies.push_back({"f", H(8, 0), H(9, 0), 20 * 60, true});
       },
       "A", "B", kMay7, H(8, 41), 1, H(32, 0), H(32, 10)},  // the next day's first
      {"frequency: not at the trip's own time",
       [](Tiny& t) {
         t.Trip("f", {{"A", H(7, 0)}, {"B", H(7, 10)}});
         t.table.frequencies.push_back({"f", H(8, 0), H(9, 0), 20 * 60, true});
       },
       "A", "B", kMay7, H(6, 50), 1, H(8, 0), H(8, 10)},
      {"removed on the day",
       [](Tiny& t) {
         t.Service("R", true, {{"20260507", 2}});
         t.Trip("r", {{"A", H(8, 0)}, {"B", H(8, 10)}}, "R");
       },
       "A", "B", kMay7, H(7, 0), 1, H(32, 0), H(32, 10)},
      {"added on the day",
       [](Tiny& t) {
         t.Service("X", false, {{"20260507", 1}});
         t.Trip("x", {{"A", H(8, 0)}, {"B", H(8, 10)}}, "X");
       },
       "A", "B", kMay7, H(7, 0), 1, H(8, 0), H(8, 10)},
      {"no pickup",
       [](Tiny& t) {
         t.Trip("p", {{"A", H(8, 0), -1, 1}, {"B", H(8, 10)}, {"C", H(8, 20)}});
       },
       "A", "C", kMay7, H(7, 0), -1, 0, 0},
      {"pickup further on",
       [](Tiny& t) {
         t.Trip("p", {{"A", H(8, 0), -1, 1}, {"B", H(8, 10)}, {"C", H(8, 20)}});
       },
       "B", "C", kMay7, H(7, 0), 1, H(8, 10), H(8, 20)},
      {"no drop-off",
       [](Tiny& t) {
         t.Trip("d", {{"A", H(8, 0)}, {"B", H(8, 10), -1, 0, 1}, {"C", H(8, 20)}});
       },
       "A", "B", kMay7, H(7, 0), -1, 0, 0},
      {"spring night: the day before's 25:30 on a 23-hour day",
       [](Tiny& t) {
         t.Trip("s", {{"A", H(25, 30)}, {"B", H(25, 40)}});
       },
       "A", "B", QDate(2026, 3, 29), H(2, 0), 1, H(2, 30), H(2, 40)},
      {"autumn night: the day before's 25:30 on a 25-hour day",
       [](Tiny& t) {
         t.Trip("s", {{"A", H(25, 30)}, {"B", H(25, 40)}});
       },
       "A", "B", QDate(2026, 10, 25), H(0, 0), 1, H(0, 30), H(0, 40)},
      {"change on the platform: 60 s is enough",
       [](Tiny& t) {
         t.Trip("a", {{"A", H(8, 0)}, {"B", H(8, 10)}});
         t.Trip("b", {{"B", H(8, 11)}, {"C", H(8, 20)}});
       },
       "A", "C", kMay7, H(7, 0), 2, H(8, 0), H(8, 20)},
      {"change on the platform: 59 s is not",
       [](Tiny& t) {
         t.Trip("a", {{"A", H(8, 0)}, {"B", H(8, 10)}});
         t.Trip("b", {{"B", H(8, 10, 59)}, {"C", H(8, 20)}});
       },
       "A", "C", kMay7, H(7, 0), 2, H(8, 0), H(32, 20)},  // the next day's second trip
      {"change walking 100 m: 104 s and 60 s",
       [](Tiny& t) {
         t.Trip("a", {{"A", H(8, 0)}, {"B", H(8, 10)}});
         t.Platform("B2", t.table.platforms[std::size_t(t.PlatformNamed("B"))].at.x + 100);
         t.Trip("b", {{"B2", H(8, 12, 44)}, {"C", H(8, 20)}});
       },
       "A", "C", kMay7, H(7, 0), 2, H(8, 0), H(8, 20)},
      {"change walking 100 m: a second short",
       [](Tiny& t) {
         t.Trip("a", {{"A", H(8, 0)}, {"B", H(8, 10)}});
         t.Platform("B2", t.table.platforms[std::size_t(t.PlatformNamed("B"))].at.x + 100);
         t.Trip("b", {{"B2", H(8, 12, 43)}, {"C", H(8, 20)}});
       },
       "A", "C", kMay7, H(7, 0), 2, H(8, 0), H(32, 20)},
      {"overtaking trips of one pattern: the later, faster one",
       [](Tiny& t) {
         t.Trip("slow", {{"A", H(8, 0)}, {"B", H(8, 40)}});
         t.Trip("fast", {{"A", H(8, 5)}, {"B", H(8, 15)}});
       },
       "A", "B", kMay7, H(7, 0), 1, H(8, 5), H(8, 15)},
  };
  for (const ClockCase& c : cases) {
    Tiny tiny;
    c.build(tiny);
    QString error;
    const auto index = BuildTimedIndex(tiny.table, error);
    ASSERT_TRUE(index) << c.name;
    TimedQueryCase q{{}, {}, c.day, c.seconds};
    q.from.platforms = {tiny.PlatformNamed(c.from)};
    q.to.platforms = {tiny.PlatformNamed(c.to)};
    const std::vector<TimedPlan> plans = SearchTimed(*index, QueryOf(q, TimedMode::DepartAt));
    const TimetableOracle oracle(tiny.table);
    EXPECT_EQ(RidesAndArrivals(plans),
              KeptArrivals(oracle.EarliestArrivals(q.from, q.to, q.day, q.seconds), 4))
        << c.name;
    if (c.rides < 0) {
      EXPECT_TRUE(plans.empty()) << c.name;
      continue;
    }
    ASSERT_FALSE(plans.empty()) << c.name;
    const TimedPlan& last = plans.back();
    EXPECT_EQ(last.rides, c.rides) << c.name;
    EXPECT_EQ(ServiceTimeText(last.depart), ServiceTimeText(c.depart)) << c.name;
    EXPECT_EQ(ServiceTimeText(last.arrive), ServiceTimeText(c.arrive)) << c.name;
    // Arriving by the plan's arrival finds it again.
    q.seconds = c.arrive;
    const std::vector<TimedPlan> back = SearchTimed(*index, QueryOf(q, TimedMode::ArriveBy));
    ASSERT_FALSE(back.empty()) << c.name;
    EXPECT_EQ(back.back().depart, c.depart) << c.name;
  }
}

TEST(TimedSearch, ServiceClockAndText) {
  const QTimeZone berlin("Europe/Berlin");
  const struct {
    QDate day;
    QTime wall;
    int seconds;
    const char* text;
  } cases[] = {
      {kMay7, QTime(8, 12), H(8, 12), "08:12:00"},
      {QDate(2026, 3, 29), QTime(1, 0), H(2, 0), "02:00:00"},     // the day counts from 23:00 the day before
      {QDate(2026, 3, 29), QTime(4, 0), H(4, 0), "04:00:00"},     // after the change: as the wall clock
      {QDate(2026, 10, 25), QTime(0, 0), -H(1, 0), "-01:00:00"},  // the day counts from 01:00
      {QDate(2026, 10, 25), QTime(3, 0), H(3, 0), "03:00:00"},
      {QDate(2026, 10, 25), QTime(23, 59, 59), H(23, 59, 59), "23:59:59"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ServiceSecondsAt(berlin, c.day, c.wall), c.seconds) << c.text;
    EXPECT_EQ(ServiceTimeText(c.seconds), QString::fromLatin1(c.text));
  }
}

TEST(TimedSearch, NextDeparturesLeaveOutRefusedPickupsAndLastCalls) {
  Tiny tiny;
  tiny.Trip("one", {{"A", H(8, 0)}, {"B", H(8, 10)}, {"C", H(8, 20)}});
  tiny.Trip("two", {{"C", H(7, 50)}, {"B", H(8, 5), -1, 1}, {"A", H(8, 15)}});
  tiny.Trip("night", {{"B", H(24, 20)}, {"C", H(24, 30)}});
  tiny.table.trips[0].headsign = "往C";
  QString error;
  const auto index = BuildTimedIndex(tiny.table, error);
  ASSERT_TRUE(index);
  const std::vector<int> b = PlatformsNamed(*index, "b");  // the case of A-Z aside
  ASSERT_EQ(b.size(), 1u);
  const std::vector<Departure> got = NextDepartures(*index, b, kMay7, H(0, 0), H(9, 0));
  ASSERT_EQ(got.size(), 2u);  // "two" refuses boarding at B; "one" at 08:10, and yesterday's night trip
  EXPECT_EQ(got[0].depart, H(0, 20));
  EXPECT_EQ(got[0].headsign, QStringLiteral("C"));  // no headsign: the last stop's name
  EXPECT_EQ(got[1].depart, H(8, 10));
  EXPECT_EQ(got[1].headsign, QStringLiteral("往C"));
  EXPECT_TRUE(NextDepartures(*index, PlatformsNamed(*index, "C"), kMay7, H(8, 0), H(1, 0)).empty());
}

TEST(TimedSearch, PlatformsByName) {
  Tiny tiny;
  for (const char* name : {"Ab", "AB", "ab", "Ab", "中心站", "x"}) tiny.Platform(name, 0);
  QString error;
  const auto index = BuildTimedIndex(tiny.table, error);
  ASSERT_TRUE(index);
  const struct {
    const char* name;
    std::vector<int> platforms;
  } cases[] = {
      {"Ab", {0, 3}},                         // the exact spelling first
      {"AB", {1}},     {"aB", {0, 1, 2, 3}},  // else every spelling the case of A-Z aside
      {"中心站", {4}}, {"中心", {}},         {"X", {5}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(PlatformsNamed(*index, QString::fromUtf8(c.name)), c.platforms) << c.name;
}

TEST(TimedSearch, RefusesAnUnknownZoneAndAMissingPlatform) {
  Tiny tiny;
  tiny.Trip("one", {{"A", H(8, 0)}, {"B", H(8, 10)}});
  QString error;
  citygen::Timetable badZone = tiny.table;
  badZone.timeZone = "Mars/Olympus";
  EXPECT_FALSE(BuildTimedIndex(badZone, error));
  EXPECT_FALSE(error.isEmpty());
  citygen::Timetable badPlatform = tiny.table;
  badPlatform.trips[0].calls[1].platform = 7;
  EXPECT_FALSE(BuildTimedIndex(badPlatform, error));
}

}  // namespace

namespace {

// Two trips ending on either bank of a river bridged at x = bridge (RiverStreets): the change
// between them is walked over the bridge, the referee's walk, and where that is longer than 390 m
// there is no change, though the straight rule would allow it (260 m). The walks to and from the
// trips go along the banks.
TEST(TimedSearch, ChangeWalksCrossTheRiverOnTheBridge) {
  struct Case {
    double bridge;
    bool changes;
  };
  for (const Case c : {Case{50, true}, Case{-90, true}, Case{150, false}, Case{-400, false}}) {
    Tiny tiny;
    const std::pair<const char*, MapPoint> platforms[] = {
        {"西", {-5000, 100}}, {"北", {0, 100}}, {"南", {0, -100}}, {"东", {5000, -100}}};
    for (const auto& [name, at] : platforms) tiny.table.platforms.push_back({name, name, true, {at.x, at.y}});
    tiny.Trip("1", {{"西", H(8, 0)}, {"北", H(8, 10)}});
    tiny.Trip("2", {{"南", H(8, 20)}, {"东", H(8, 30)}});
    const std::vector<walk::Street> streets = RiverStreets(c.bridge);
    QString error;
    const auto index = BuildTimedIndex(tiny.table, error, streets);
    ASSERT_TRUE(index);
    TimedQueryCase q{{}, {}, kMay7, H(7, 50)};
    q.from = {QStringLiteral("起"), {}, true, {-5400, 100}};
    q.to = {QStringLiteral("终"), {}, true, {5400, -100}};
    const std::vector<TimedPlan> plans = SearchTimed(*index, QueryOf(q, TimedMode::DepartAt));
    const auto ridden =
        std::find_if(plans.begin(), plans.end(), [](const TimedPlan& p) { return p.rides == 2; });
    ASSERT_EQ(ridden != plans.end(), c.changes) << c.bridge;
    if (!c.changes) continue;
    const WalkOracle oracle(streets);
    const walk::Network network(streets);
    const auto expectWalk = [&](const TimedLeg& leg, MapPoint a, MapPoint b) {
      ASSERT_EQ(leg.mode, Leg::Mode::Walk);
      ExpectWalk(network, oracle, {leg.metres, false, leg.path, leg.streets}, a, b);
    };
    ASSERT_EQ(ridden->legs.size(), 5u);
    expectWalk(ridden->legs[0], q.from.point, platforms[0].second);
    expectWalk(ridden->legs[2], platforms[1].second, platforms[2].second);
    expectWalk(ridden->legs[4], platforms[3].second, q.to.point);
    EXPECT_EQ(ridden->legs[2].streets[1].name, QStringLiteral("桥"));
    EXPECT_EQ(ridden->legs[3].depart, H(8, 20));
  }
}

}  // namespace
