#include "import/TransitToCity.h"

namespace qiwu::import {

void AddTransit(const TransitNetwork& network, const MapProjection& projection, citygen::City& city) {
  const int first = int(city.stops.size());
  for (const TransitStop& stop : network.stops) city.stops.push_back({stop.name, projection.ToCity(stop.at)});
  for (const TransitLine& line : network.lines) {
    citygen::BusLine bus{line.name,  int(city.lines.size()) + 1, {}, projection.ToCity(line.route), line.mode,
                         line.colour};
    for (int stop : line.stops) bus.stops.push_back(first + stop);
    city.lines.push_back(std::move(bus));
  }
}

void AddTimetable(citygen::Timetable&& timetable, const MapProjection& projection, citygen::City& city) {
  for (citygen::Platform& platform : timetable.platforms)
    if (platform.placed) platform.at = projection.ToCity(LonLat{platform.at.x, platform.at.y});
  city.timetable = std::move(timetable);
}

}  // namespace qiwu::import
