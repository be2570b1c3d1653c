#pragma once
// By which clock and on which days a feed's trips run: agency.txt's time zones, calendar.txt and
// calendar_dates.txt, kept as given.
#include <string>
#include <vector>

#include "dataset/Timetable.h"
#include "import/Progress.h"
#include "import/gtfs/Feed.h"

namespace qiwu::import {

struct FeedCalendar {
  std::vector<std::string> timeZones;      // each agency's agency_timezone that is not blank, in order
  std::vector<citygen::Service> services;  // calendar.txt's, then those only calendar_dates.txt names
};

// Service ids become `prefix:service_id`. Each file may be missing. Throws InputError naming the
// file and line of bad input: a weekday that is not 0 or 1, a date that is not a date, an
// exception_type that is not 1 or 2, a service_id empty or twice in calendar.txt, a time zone name
// of other characters than letters, digits and "/_+-".
FeedCalendar ReadFeedCalendar(const Feed& feed, const std::string& prefix, const Progress& progress);

}  // namespace qiwu::import
