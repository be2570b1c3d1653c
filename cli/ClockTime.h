#pragma once
// When `trip` and `departures` ask about: the time given on the command line, else now, on the
// city's wall clock, as a service day and its seconds (bus/TimedSearch.h).
#include <QDate>
#include <QString>
#include <QTimeZone>

#include "cli/ClockArgs.h"

struct ClockTime {
  QDate day;
  int seconds = 0;  // after noon minus 12 h of day
  QString at;       // "YYYY-MM-DD HH:MM" on the wall clock
};

ClockTime ClockTimeOf(const ClockArgs& args, const QTimeZone& zone);
