#pragma once
// A trip's calls as stop_times.txt gives them, and the times the timetable keeps of them.
#include <cstdint>
#include <functional>
#include <vector>

#include "dataset/Timetable.h"
#include "import/TransitNetwork.h"

namespace qiwu::import {

// One stop_times row of a kept route's trip, 16 bytes: a large feed holds millions.
struct StopCall {
  std::uint32_t sequence;
  std::uint32_t stop;  // the feed's stop, by its row in stops.txt
  std::uint32_t arrival : 18, hasArrival : 1, pickup : 2;
  std::uint32_t departure : 18, hasDeparture : 1, dropOff : 2;
};
static_assert(sizeof(StopCall) == 16);

// Why a trip's calls (in stop_sequence order) cannot be timed; null when they can.
extern const char* const kSharedSequence;
extern const char* const kUntimedEnd;
extern const char* const kBackwards;

// The calls' times, each call's platform being its stop: a call with one of arrival and departure
// takes it for both, calls without either between timed ones are spread over the time between by
// the straight-line distance along their stops (`at` gives a stop's position). Returns null, or
// why the trip has no times (one of the reasons above; `timed` is then undefined).
const char* TimeCalls(const std::vector<StopCall>& calls, const std::function<LonLat(std::uint32_t)>& at,
                      std::vector<citygen::Call>& timed);

}  // namespace qiwu::import
