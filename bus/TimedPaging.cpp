#include "bus/TimedPaging.h"

#include <algorithm>

namespace trip {

TimeSpan SpanShown(const TimedQuery& query, const std::vector<TimedPlan>& plans) {
  if (query.mode == TimedMode::DepartAt) {
    TimeSpan span{query.seconds, query.seconds + query.windowSeconds};
    for (const TimedPlan& plan : plans) span.to = std::max(span.to, plan.depart);
    return span;
  }
  TimeSpan span{query.seconds - query.windowSeconds, query.seconds};
  for (const TimedPlan& plan : plans) span.from = std::min(span.from, plan.arrive);
  return span;
}

TimedQuery EarlierPage(TimedQuery query, TimeSpan shown) {
  query.windowSeconds = kPageSeconds;
  query.seconds = query.mode == TimedMode::DepartAt ? shown.from - 1 - kPageSeconds : shown.from - 1;
  return query;
}

TimedQuery LaterPage(TimedQuery query, TimeSpan shown) {
  query.windowSeconds = kPageSeconds;
  query.seconds = query.mode == TimedMode::DepartAt ? shown.to + 1 : shown.to + 1 + kPageSeconds;
  return query;
}

}  // namespace trip
