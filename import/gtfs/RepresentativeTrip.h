#pragma once
// Which of a route's trips stands for the whole line.
#include <cstdint>
#include <string_view>
#include <vector>

namespace qiwu::import {

struct TripPattern {
  std::string_view tripId;
  std::string_view direction;               // direction_id as the feed writes it; blank if none
  const std::vector<std::uint32_t>* stops;  // the stops called at, in stop_sequence order
};

// Among the trips of direction "0" (without any, of the smallest direction as text, blank first),
// the one whose stop pattern occurs most often; ties go to the longer pattern, then to the
// smallest trip_id as text. Returns its index in `trips`, which must not be empty.
std::size_t ChooseRepresentative(const std::vector<TripPattern>& trips);

}  // namespace qiwu::import
