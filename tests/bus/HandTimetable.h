#pragma once
// A timetable made by hand for the planner window's tests, behind the window's interface: the
// stops of 1路 of the bus panel's fixture as platforms S0..S7 at their map positions, and three
// trips. Its searches answer the plans set in it and record what they were asked.
#include <QTimeZone>
#include <vector>

#include "bus/TimedSource.h"
#include "tests/support/TimedLegs.h"

// Service seconds of a clock time of the day.
constexpr int Clock(int hours, int minutes, int seconds = 0) { return hours * 3600 + minutes * 60 + seconds; }

class HandTimetable : public trip::TimedSource {
 public:
  // Trip 0: 1路 S0 → S7, no headsign, from 08:00 every 3 minutes. Trip 1: 1路 S0 → S7 from 24:12.
  // Trip 2: 2路 S2 → S4 (headsign 北站) from 24:20, every 2 minutes.
  HandTimetable();

  QTimeZone Zone() const override { return zone; }
  const citygen::Timetable& Table() const override { return table; }
  std::vector<int> PlatformsNamed(const QString& name) const override;
  std::vector<trip::TimedPlan> Search(const trip::TimedQuery& query) const override;
  std::vector<trip::Departure> Departures(const std::vector<int>& platforms, QDate day, int seconds,
                                          int windowSeconds) const override;

  QTimeZone zone{"Asia/Shanghai"};
  citygen::Timetable table;
  std::vector<trip::TimedPlan> plans;           // what every search answers
  std::vector<trip::Departure> departures;      // what every departures list answers
  mutable std::vector<trip::TimedQuery> asked;  // the searches, in order
  mutable std::vector<int> departuresAskedAt;   // the seconds of each departures list asked
};
