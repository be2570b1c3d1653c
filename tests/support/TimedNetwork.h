#pragma once
// Generated timetables for the timed search's checks and figures: platforms in clusters (a
// cluster's platforms share a name and lie within a change's walk), lines through neighbouring
// clusters run both ways, trips whose speed varies (so some overtake), trips past midnight,
// frequency-based lines, services by weekday with added and removed dates, calls where boarding
// or leaving is refused; in Europe/Berlin, around whose clock changes the checks ask.
#include <QDate>
#include <vector>

#include "bus/TimedSearch.h"
#include "dataset/Timetable.h"

struct TimedNetworkOptions {
  int clusters = 60;  // on a square grid 600 m apart
  int lines = 30;     // each run both ways
  int minStops = 3, maxStops = 10;
  int minutesApart = 20;  // between a line's trips, ± half
  int firstMinute = 4 * 60, lastMinute = 26 * 60;
  unsigned seed = 1;
};

citygen::Timetable GeneratedTimetable(const TimedNetworkOptions& options);

struct TimedQueryCase {
  trip::TimedEnd from, to;
  QDate day;
  int seconds = 0;
};
// Random ends (a cluster's name, a point among the platforms, or both) on days around the clock
// changes and ordinary days, at times spread over the service day. Deterministic for a seed.
std::vector<TimedQueryCase> RandomTimedQueries(const citygen::Timetable& table, int count, unsigned seed);
