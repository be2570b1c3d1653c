#include "tests/support/RandomTimetable.h"

#include <algorithm>
#include <cmath>

#include "tools/citygen/Random.h"

namespace testtimetable {
namespace {

using citygen::Call;
using citygen::Random;
using citygen::ServiceSeconds;
using citygen::Timetable;

constexpr ServiceSeconds kLast = 47 * 3600 + 59 * 60 + 59;

std::string Date(int year, int month, int day) {
  char text[9];
  std::snprintf(text, sizeof text, "%04d%02d%02d", year, month, day);
  return text;
}

void AddPlatforms(Random& random, const Shape& shape, Timetable& timetable) {
  for (int k = 0; k < shape.platforms; ++k) {
    citygen::Platform platform;
    platform.id = shape.feed + ":p" + std::to_string(k);
    // Pairs of neighbours share a name, as two poles of one stop do.
    platform.name = "站" + std::to_string(k / 2);
    platform.placed = !random.Chance(shape.unplaced);
    if (platform.placed)
      platform.at = {random.Uniform(-shape.side / 2, shape.side / 2),
                     random.Uniform(-shape.side / 2, shape.side / 2)};
    timetable.platforms.push_back(platform);
  }
}

void AddServices(Random& random, const Shape& shape, Timetable& timetable) {
  for (int k = 0; k < shape.services; ++k) {
    citygen::Service service;
    service.id = shape.feed + ":svc" + std::to_string(k);
    // The last service runs on exceptions alone.
    service.hasCalendar = k + 1 < shape.services || shape.services == 1;
    if (service.hasCalendar) {
      for (bool& runs : service.weekdays) runs = random.Chance(0.7);
      service.startDate = Date(2024, random.Between(1, 6), random.Between(1, 28));
      service.endDate = Date(2025, random.Between(1, 12), random.Between(1, 28));
    }
    for (int e = random.Between(service.hasCalendar ? 0 : 1, 4); e > 0; --e)
      service.exceptions.emplace_back(Date(2024, random.Between(1, 12), random.Between(1, 28)),
                                      random.Between(1, 2));
    timetable.services.push_back(service);
  }
}

double Metres(const Timetable& timetable, int a, int b) {
  const citygen::Platform &p = timetable.platforms[std::size_t(a)], &q = timetable.platforms[std::size_t(b)];
  if (!p.placed || !q.placed) return 400;
  return std::hypot(p.at.x - q.at.x, p.at.y - q.at.y);
}

// The calls along platforms, leaving the first at start, at 15 to 40 km/h with 0 to 60 s at a stop.
std::vector<Call> Calls(Random& random, const Timetable& timetable, const std::vector<int>& platforms,
                        ServiceSeconds start) {
  std::vector<Call> calls;
  ServiceSeconds time = start;
  for (std::size_t k = 0; k < platforms.size(); ++k) {
    Call call;
    call.platform = platforms[k];
    if (k)
      time += ServiceSeconds(Metres(timetable, platforms[k - 1], platforms[k]) / random.Uniform(4.2, 11.1));
    call.arrival = std::min(time, kLast);
    time += random.Chance(0.5) ? 0 : random.Between(0, 60);
    call.departure = std::min(time, kLast);
    calls.push_back(call);
  }
  return calls;
}

void AddRules(Random& random, std::vector<Call>& calls) {
  for (Call& call : calls) {
    if (random.Chance(0.3)) call.pickup = std::uint8_t(random.Between(0, 3));
    if (random.Chance(0.3)) call.dropOff = std::uint8_t(random.Between(0, 3));
  }
}

// A line's stop patterns: its platforms one way, the way back, and a short turn.
std::vector<std::vector<int>> Patterns(Random& random, const Shape& shape) {
  std::vector<int> stops;
  for (int k = random.Between(2, std::max(2, std::min(25, shape.platforms))); k > 0; --k) {
    const int platform = random.Between(0, shape.platforms - 1);
    if (std::find(stops.begin(), stops.end(), platform) == stops.end()) stops.push_back(platform);
  }
  if (stops.size() < 2) stops = {0, shape.platforms - 1};
  std::vector<int> back(stops.rbegin(), stops.rend());
  std::vector<int> shortTurn(stops.begin(),
                             stops.begin() + std::max<std::ptrdiff_t>(2, std::ptrdiff_t(stops.size()) / 2));
  return {stops, back, shortTurn};
}

}  // namespace

Timetable RandomTimetable(std::uint64_t seed, const Shape& shape) {
  Random random(seed);
  Timetable timetable;
  timetable.timeZone = shape.timeZone;
  AddPlatforms(random, shape, timetable);
  AddServices(random, shape, timetable);
  for (int line = 0; line < shape.lines; ++line) {
    const std::string name = std::to_string(line + 1) + "路";
    for (const std::vector<int>& pattern : Patterns(random, shape)) {
      for (int k = 0; k < shape.tripsPerPattern; ++k) {
        const bool late = random.Chance(shape.pastMidnight);
        const ServiceSeconds start =
            late ? random.Between(22 * 3600, 27 * 3600) : random.Between(4 * 3600, 22 * 3600);
        citygen::Trip trip;
        trip.id = shape.feed + ":t" + std::to_string(timetable.trips.size());
        trip.line = name;
        trip.service = timetable.services.empty() ? std::string() : random.Pick(timetable.services).id;
        trip.headsign =
            random.Chance(0.5) ? timetable.platforms[std::size_t(pattern.back())].name : std::string();
        trip.calls = Calls(random, timetable, pattern, start);
        if (random.Chance(shape.withRules)) AddRules(random, trip.calls);
        if (random.Chance(shape.byFrequency)) {
          const ServiceSeconds end = std::min(kLast, start + random.Between(1, 4) * 3600);
          timetable.frequencies.push_back(
              {trip.id, start, end, random.Between(2, 20) * 60, random.Chance(0.5)});
        }
        timetable.trips.push_back(std::move(trip));
      }
    }
  }
  return timetable;
}

}  // namespace testtimetable
