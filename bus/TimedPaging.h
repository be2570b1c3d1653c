#pragma once
// 更早 / 更晚 in the trip planner: the plans shown cover a span of times on the query's axis
// (departures for a departure time, arrivals for an arrival time); the next page asks for every
// plan of the hour just before or just after that span (a range query).
#include <vector>

#include "bus/TimedSearch.h"

namespace trip {

constexpr int kPageSeconds = 3600;

struct TimeSpan {
  int from = 0, to = 0;
};

TimeSpan SpanShown(const TimedQuery& query, const std::vector<TimedPlan>& plans);
TimedQuery EarlierPage(TimedQuery query, TimeSpan shown);
TimedQuery LaterPage(TimedQuery query, TimeSpan shown);

}  // namespace trip
