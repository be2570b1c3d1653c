#include "tools/citygen/DemoTimetable.h"

#include <algorithm>
#include <cmath>

#include "tools/citygen/PlaneGeometry.h"

namespace citygen {
namespace {

constexpr double kMetresPerSecond = 20.0 / 3.6;
constexpr int kDwellSeconds = 30;
constexpr ServiceSeconds kDayStart = 5 * 3600 + 30 * 60, kDayEnd = 23 * 3600;
constexpr ServiceSeconds kNightStart = 23 * 3600, kNightEnd = 29 * 3600;  // 05:00 of the next day
// Every this-many-th line runs as one trip a direction repeated by a frequency, which keeps the
// database small; the others have every trip written out.
constexpr int kFrequencyLineEvery = 2;

bool IsNightLine(const BusLine& line) { return line.name.rfind("夜", 0) == 0; }

// The distance along the route from the line's first stop to each of its stops. Stops stand on
// the route's vertices in riding order.
std::vector<double> DistancesAlong(const City& city, const BusLine& line) {
  std::vector<double> along;
  std::size_t vertex = 0;
  double travelled = 0;
  for (int stop : line.stops) {
    const Vec2 at = city.stops[stop].at;
    std::size_t nearest = vertex;
    for (std::size_t k = vertex; k < line.route.size(); ++k)
      if (Distance(line.route[k], at) < Distance(line.route[nearest], at)) nearest = k;
    for (; vertex < nearest; ++vertex) travelled += Distance(line.route[vertex], line.route[vertex + 1]);
    along.push_back(travelled);
  }
  return along;
}

// The calls of one trip leaving its first stop at start, stops and distances in riding order.
std::vector<Call> CallsFrom(ServiceSeconds start, const std::vector<int>& stops,
                            const std::vector<double>& along) {
  std::vector<Call> calls;
  for (std::size_t k = 0; k < stops.size(); ++k) {
    const double riding = std::abs(along[k] - along.front()) / kMetresPerSecond;
    const int dwells = int(k) * kDwellSeconds;
    Call& call = calls.emplace_back();
    call.platform = stops[k];
    call.arrival = start + ServiceSeconds(std::lround(riding)) + (k ? dwells - kDwellSeconds : 0);
    call.departure = call.arrival + (k == 0 || k + 1 == stops.size() ? 0 : kDwellSeconds);
  }
  return calls;
}

}  // namespace

void BuildTimetable(Random random, City& city) {
  Timetable& timetable = city.timetable;
  timetable.timeZone = kDemoTimeZone;
  for (std::size_t k = 0; k < city.stops.size(); ++k)
    timetable.platforms.push_back({"demo:s" + std::to_string(k), city.stops[k].name, true, city.stops[k].at});
  Service daily;
  daily.id = kDemoService;
  daily.hasCalendar = true;
  daily.weekdays.fill(true);
  daily.startDate = "20200101";
  daily.endDate = "20391231";
  timetable.services.push_back(daily);

  for (const BusLine& line : city.lines) {
    const ServiceSeconds headway = random.Between(6, 15) * 60;
    const bool night = IsNightLine(line);
    const ServiceSeconds first = (night ? kNightStart : kDayStart) + random.Between(0, headway / 60 - 1) * 60;
    const ServiceSeconds last = night ? kNightEnd : kDayEnd;
    const bool byFrequency = line.id % kFrequencyLineEvery == 0;
    std::vector<double> along = DistancesAlong(city, line);
    std::vector<int> stops = line.stops;
    for (int direction = 0; direction < 2; ++direction) {
      const std::string prefix = "demo:" + std::to_string(line.id) + (direction ? "b" : "a");
      const std::string headsign = city.stops[stops.back()].name;
      for (ServiceSeconds start = first; start <= last; start += headway) {
        timetable.trips.push_back({prefix + std::to_string((start - first) / headway), line.name,
                                   kDemoService, headsign, CallsFrom(start, stops, along)});
        if (byFrequency) {
          timetable.frequencies.push_back({timetable.trips.back().id, first, last + 1, headway, true});
          break;
        }
      }
      std::reverse(stops.begin(), stops.end());
      std::reverse(along.begin(), along.end());
    }
  }
}

}  // namespace citygen
