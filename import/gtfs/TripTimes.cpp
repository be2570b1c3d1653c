#include "import/gtfs/TripTimes.h"

#include <algorithm>
#include <cmath>

namespace qiwu::import {

const char* const kSharedSequence = "two calls share a stop_sequence";
const char* const kUntimedEnd = "no time at the first or last call";
const char* const kBackwards = "times go backwards";

namespace {

// On a sphere: only the ratios of distances matter here.
double Distance(LonLat a, LonLat b) {
  constexpr double kRadians = 3.14159265358979323846 / 180;
  const double dLat = (b.lat - a.lat) * kRadians, dLon = (b.lon - a.lon) * kRadians;
  const double h = std::pow(std::sin(dLat / 2), 2) +
                   std::cos(a.lat * kRadians) * std::cos(b.lat * kRadians) * std::pow(std::sin(dLon / 2), 2);
  return 2 * std::asin(std::sqrt(std::min(1.0, h)));
}

// The untimed calls strictly between the timed calls `from` and `to`.
void Interpolate(std::size_t from, std::size_t to, const std::vector<StopCall>& calls,
                 const std::function<LonLat(std::uint32_t)>& at, std::vector<citygen::Call>& timed) {
  std::vector<double> along(to - from + 1, 0.0);
  for (std::size_t k = from + 1; k <= to; ++k)
    along[k - from] = along[k - from - 1] + Distance(at(calls[k - 1].stop), at(calls[k].stop));
  const double total = along.back();
  const double start = timed[from].departure, span = timed[to].arrival - timed[from].departure;
  for (std::size_t k = from + 1; k < to; ++k) {
    // Stops all in one place share the time evenly.
    const double share = total > 0 ? along[k - from] / total : double(k - from) / double(to - from);
    timed[k].arrival = timed[k].departure = citygen::ServiceSeconds(std::lround(start + span * share));
  }
}

}  // namespace

const char* TimeCalls(const std::vector<StopCall>& calls, const std::function<LonLat(std::uint32_t)>& at,
                      std::vector<citygen::Call>& timed) {
  timed.resize(calls.size());
  for (std::size_t k = 0; k < calls.size(); ++k) {
    const StopCall& call = calls[k];
    if (k > 0 && call.sequence == calls[k - 1].sequence) return kSharedSequence;
    citygen::Call& out = timed[k];
    out.platform = int(call.stop);
    out.arrival = citygen::ServiceSeconds(call.hasArrival ? call.arrival : call.departure);
    out.departure = citygen::ServiceSeconds(call.hasDeparture ? call.departure : call.arrival);
    out.pickup = std::uint8_t(call.pickup);
    out.dropOff = std::uint8_t(call.dropOff);
    if (out.departure < out.arrival) return kBackwards;
  }
  const auto isTimed = [&](std::size_t k) { return calls[k].hasArrival || calls[k].hasDeparture; };
  if (calls.empty() || !isTimed(0) || !isTimed(calls.size() - 1)) return kUntimedEnd;
  std::size_t last = 0;
  for (std::size_t k = 1; k < calls.size(); ++k) {
    if (!isTimed(k)) continue;
    if (timed[k].arrival < timed[last].departure) return kBackwards;
    if (k > last + 1) Interpolate(last, k, calls, at, timed);
    last = k;
  }
  return nullptr;
}

}  // namespace qiwu::import
