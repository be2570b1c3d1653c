#include "import/gtfs/RepresentativeTrip.h"

#include <algorithm>
#include <tuple>

namespace qiwu::import {

std::size_t ChooseRepresentative(const std::vector<TripPattern>& trips) {
  const auto hasZero =
      std::any_of(trips.begin(), trips.end(), [](const TripPattern& t) { return t.direction == "0"; });
  std::string_view direction = "0";
  if (!hasZero)
    direction = std::min_element(trips.begin(), trips.end(), [](const TripPattern& a, const TripPattern& b) {
                  return a.direction < b.direction;
                })->direction;

  std::vector<std::size_t> chosen;
  for (std::size_t i = 0; i < trips.size(); ++i)
    if (trips[i].direction == direction) chosen.push_back(i);
  // Equal patterns side by side, each group led by its smallest trip_id.
  std::sort(chosen.begin(), chosen.end(), [&](std::size_t a, std::size_t b) {
    return std::tie(*trips[a].stops, trips[a].tripId) < std::tie(*trips[b].stops, trips[b].tripId);
  });

  std::size_t best = chosen.front(), bestCount = 0;
  const auto better = [&](std::size_t trip, std::size_t count) {
    if (count != bestCount) return count > bestCount;
    const std::size_t stops = trips[trip].stops->size(), bestStops = trips[best].stops->size();
    if (stops != bestStops) return stops > bestStops;
    return trips[trip].tripId < trips[best].tripId;
  };
  for (std::size_t first = 0; first < chosen.size();) {
    const auto& stops = *trips[chosen[first]].stops;
    std::size_t end = first + 1;
    while (end < chosen.size() && *trips[chosen[end]].stops == stops) ++end;
    if (better(chosen[first], end - first)) {
      best = chosen[first];
      bestCount = end - first;
    }
    first = end;
  }
  return best;
}

}  // namespace qiwu::import
