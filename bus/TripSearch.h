#pragma once
// The trip search: from a place to a place over an Index, walking and riding, for every number of
// rides up to the limit. Rounds over the lines, one ride per round (in the spirit of RAPTOR, with
// fixed riding times instead of timetables): round k knows the quickest arrival at every stop
// with exactly k rides and boards round k + 1 from there.
#include <array>
#include <limits>
#include <vector>

#include "bus/TripIndex.h"
#include "bus/TripModel.h"

namespace trip {

struct SearchOptions {
  int maxRides = kMaxRides;  // 0..kMaxRides
  // Search every ride count fully, also where no plan could be quicker than one with fewer rides
  // (checks and figures); the answer is the same either way.
  bool everyRideCount = false;
};

constexpr double kNoTrip = std::numeric_limits<double>::infinity();

struct SearchResult {
  // The answer: per ride count the quickest plan, kept when quicker than every kept plan with
  // fewer rides, listed by time.
  std::vector<Plan> plans;
  // The quickest time with exactly r rides (kNoTrip: none, or not searched because it could not
  // be kept); exact for every r when everyRideCount is set.
  std::array<double, kMaxRides + 1> bestMinutes;
};

SearchResult Search(const Index& index, const Place& from, const Place& to,
                    const SearchOptions& options = {});

// Orders two plans as the answer lists them: quicker first (times within kTieMinutes are equal),
// then fewer rides, less walking, the smaller sequence of line names.
bool PlanBefore(const Index& index, const Plan& a, const Plan& b);

}  // namespace trip
