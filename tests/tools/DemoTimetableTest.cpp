// The demo city's timetable: every line both ways along its stops, every 6 to 15 minutes by day,
// night lines at night, riding at a bus's pace; and the tables beside it as in a city without one.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "dataset/Writers.h"
#include "tests/tools/CityFiles.h"
#include "tools/citygen/DemoTimetable.h"

namespace citytest {
namespace {

using citygen::Trip;

constexpr int kHour = 3600;

bool IsNight(const std::string& line) { return line.rfind("夜", 0) == 0; }

std::vector<int> PlatformsOf(const Trip& trip) {
  std::vector<int> platforms;
  for (const citygen::Call& call : trip.calls) platforms.push_back(call.platform);
  return platforms;
}

// The departures from the first stop of every trip of a line in one direction (its platforms;
// a loop line starts both ways at the same one), frequencies expanded.
using Direction = std::pair<std::string, std::vector<int>>;
std::map<Direction, std::vector<int>> Departures(const citygen::Timetable& timetable) {
  std::map<std::string, std::vector<const citygen::Frequency*>> frequencies;
  for (const citygen::Frequency& frequency : timetable.frequencies)
    frequencies[frequency.trip].push_back(&frequency);
  std::map<Direction, std::vector<int>> departures;
  for (const Trip& trip : timetable.trips) {
    std::vector<int>& times = departures[{trip.line, PlatformsOf(trip)}];
    const auto repeated = frequencies.find(trip.id);
    if (repeated == frequencies.end()) {
      times.push_back(trip.calls.front().departure);
      continue;
    }
    for (const citygen::Frequency* frequency : repeated->second)
      for (int time = frequency->start; time < frequency->end; time += frequency->headway)
        times.push_back(time);
  }
  for (auto& [direction, times] : departures) std::sort(times.begin(), times.end());
  return departures;
}

TEST(DemoTimetable, EveryLineRunsBothWaysAlongItsStops) {
  const citygen::City& city = DemoCity().city;
  std::map<std::string, std::vector<std::vector<int>>> patterns;
  for (const Trip& trip : city.timetable.trips) {
    const std::vector<int> platforms = PlatformsOf(trip);
    auto& seen = patterns[trip.line];
    if (std::find(seen.begin(), seen.end(), platforms) == seen.end()) seen.push_back(platforms);
  }
  for (const citygen::BusLine& line : city.lines) {
    const std::vector<int> back(line.stops.rbegin(), line.stops.rend());
    EXPECT_EQ(patterns[line.name], (std::vector<std::vector<int>>{line.stops, back})) << line.name;
  }
  EXPECT_EQ(patterns.size(), city.lines.size()) << "trips of lines the city does not have";
}

TEST(DemoTimetable, DayLinesRunEvery6To15MinutesAndNightLinesOnlyAtNight) {
  const auto departures = Departures(DemoCity().city.timetable);
  ASSERT_EQ(departures.size(), 2 * DemoCity().city.lines.size());
  for (const auto& [direction, times] : departures) {
    const std::string what = direction.first + " from platform " + std::to_string(direction.second.front());
    ASSERT_FALSE(times.empty()) << what;
    if (IsNight(direction.first)) {
      EXPECT_GE(times.front(), 23 * kHour) << what;
      EXPECT_LE(times.back(), 29 * kHour) << what;
      continue;
    }
    EXPECT_GE(times.front(), 5 * kHour + 30 * 60) << what;
    EXPECT_LE(times.front(), 6 * kHour) << what;
    EXPECT_GE(times.back(), 22 * kHour) << what;
    EXPECT_LE(times.back(), 23 * kHour) << what;
    for (std::size_t k = 1; k < times.size(); ++k) {
      if (times[k] < 6 * kHour || times[k - 1] > 22 * kHour) continue;
      EXPECT_GE(times[k] - times[k - 1], 6 * 60) << what << " at " << times[k];
      EXPECT_LE(times[k] - times[k - 1], 15 * 60) << what << " at " << times[k];
    }
  }
}

// At most 20 km/h between stops in a straight line (the route is never shorter), and overall no
// slower than 10 km/h with the stops' dwell.
TEST(DemoTimetable, TripsRideAtABusPace) {
  const citygen::Timetable& timetable = DemoCity().city.timetable;
  for (const Trip& trip : timetable.trips) {
    double straight = 0;
    for (std::size_t k = 1; k < trip.calls.size(); ++k) {
      const citygen::Vec2 a = timetable.platforms[trip.calls[k - 1].platform].at;
      const citygen::Vec2 b = timetable.platforms[trip.calls[k].platform].at;
      const double metres = std::hypot(a.x - b.x, a.y - b.y);
      straight += metres;
      EXPECT_GE(trip.calls[k].arrival - trip.calls[k - 1].departure, metres / (20 / 3.6) - 1)
          << trip.id << " " << k;
    }
    const int riding = trip.calls.back().arrival - trip.calls.front().departure;
    EXPECT_LE(riding, straight / (10 / 3.6) + 30.0 * trip.calls.size()) << trip.id;
  }
}

TEST(DemoTimetable, OnePlatformPerStopDailyInShanghaiTime) {
  const citygen::City& city = DemoCity().city;
  ASSERT_EQ(city.timetable.platforms.size(), city.stops.size());
  for (std::size_t k = 0; k < city.stops.size(); ++k) {
    EXPECT_EQ(city.timetable.platforms[k].id, "demo:s" + std::to_string(k));
    EXPECT_EQ(city.timetable.platforms[k].name, city.stops[k].name);
    EXPECT_TRUE(city.timetable.platforms[k].placed);
  }
  EXPECT_EQ(city.timetable.timeZone, "Asia/Shanghai");
  ASSERT_EQ(city.timetable.services.size(), 1u);
  EXPECT_EQ(city.timetable.services[0].weekdays,
            (std::array<bool, 7>{true, true, true, true, true, true, true}));
  for (const Trip& trip : city.timetable.trips)
    EXPECT_EQ(trip.service, city.timetable.services[0].id) << trip.id;
}

// The timetable adds its tables and changes no other: every other table holds, row for row, what
// the same city without a timetable holds.
TEST(DemoTimetable, TheOtherTablesAreThoseOfTheCityWithoutIt) {
  citygen::City without = DemoCity().city;
  without.timetable = {};
  DataSet plain{DemoCity().files.root / "without", DemoCity().city.name};
  std::filesystem::create_directories(plain.Database().parent_path());
  ASSERT_EQ(citygen::WriteDatabase(without, plain.Database().string()), "");

  const char* tables = "select name from sqlite_master order by name";
  std::vector<Row> expected = plain.Query(tables), timetableTables;
  for (const Row& table : DemoCity().files.Query(tables)) {
    if (IsTimetableTable(table[0])) {
      timetableTables.push_back(table);
      continue;
    }
    EXPECT_EQ(DemoCity().files.Query("select * from " + table[0] + " order by rowid"),
              plain.Query("select * from " + table[0] + " order by rowid"))
        << table[0];
  }
  EXPECT_EQ(timetableTables.size(), 7u);
  std::vector<Row> others = DemoCity().files.Query(tables);
  others.erase(
      std::remove_if(others.begin(), others.end(), [](const Row& row) { return IsTimetableTable(row[0]); }),
      others.end());
  EXPECT_EQ(others, expected);
}

}  // namespace
}  // namespace citytest
