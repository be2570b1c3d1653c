#include "dataset/TimetableWriter.h"

#include <algorithm>
#include <numeric>
#include <unordered_map>

#include "data/CityVocabulary.h"
#include "dataset/TimetablePacking.h"

namespace citygen {
namespace {

namespace names = city::timetable;

Cell TextOrNull(const std::string& text) { return text.empty() ? Cell() : Cell(text); }

std::string CheckTrip(const Trip& trip, std::size_t platformCount) {
  ServiceSeconds previous = 0;
  for (const Call& call : trip.calls) {
    if (call.platform < 0 || std::size_t(call.platform) >= platformCount)
      return "trip " + trip.id + " calls at a platform that does not exist";
    if (call.arrival < previous || call.departure < call.arrival || call.departure > kLastServiceSecond)
      return "trip " + trip.id + ": times go backwards or pass 47:59:59";
    if (call.pickup > 3 || call.dropOff > 3) return "trip " + trip.id + ": a pickup or drop-off type above 3";
    previous = call.departure;
  }
  return "";
}

ServiceSeconds FirstDeparture(const Trip& trip) { return trip.calls.empty() ? 0 : trip.calls[0].departure; }

void WritePlatforms(SqliteFile& db, const City& city) {
  std::vector<CellRow> rows;
  rows.reserve(city.timetable.platforms.size());
  for (const Platform& platform : city.timetable.platforms) {
    CellRow& row = rows.emplace_back(CellRow{std::int64_t(rows.size()), TextOrNull(platform.id),
                                             TextOrNull(platform.name), Cell(), Cell()});
    if (platform.placed) {
      row[3] = platform.at.x + city.origin.x;
      row[4] = platform.at.y + city.origin.y;
    }
  }
  WriteTable(db, names::kPlatforms,
             {{"n", "INTEGER"}, {"id", "TEXT"}, {"name", "TEXT"}, {"x", "REAL"}, {"y", "REAL"}}, rows);
}

// The patterns numbered by their first trip, and the trips of each pattern by first departure.
void WritePatternsAndTrips(SqliteFile& db, const Timetable& timetable) {
  const std::vector<Trip>& trips = timetable.trips;
  std::unordered_map<std::string, std::int64_t> numbers;  // by the packed platforms
  std::vector<CellRow> patterns;
  std::vector<std::int64_t> patternOf(trips.size());
  for (std::size_t t = 0; t < trips.size(); ++t) {
    std::string packed = PackPlatforms(trips[t].calls);
    const auto [slot, added] = numbers.try_emplace(packed, std::int64_t(patterns.size()));
    if (added) patterns.push_back({slot->second, Blob{std::move(packed)}});
    patternOf[t] = slot->second;
  }
  WriteTable(db, names::kPatterns, {{"n", "INTEGER"}, {"platforms", "BLOB"}}, patterns);

  std::vector<std::size_t> order(trips.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    if (patternOf[a] != patternOf[b]) return patternOf[a] < patternOf[b];
    return FirstDeparture(trips[a]) < FirstDeparture(trips[b]);
  });
  std::vector<CellRow> rows;
  rows.reserve(trips.size());
  for (std::size_t t : order) {
    const Trip& trip = trips[t];
    std::string rules = PackRules(trip.calls);
    rows.push_back({std::int64_t(rows.size()), TextOrNull(trip.id), TextOrNull(trip.line),
                    TextOrNull(trip.service), TextOrNull(trip.headsign), patternOf[t],
                    Blob{PackTimes(trip.calls)}, rules.empty() ? Cell() : Cell(Blob{std::move(rules)})});
  }
  WriteTable(db, names::kTrips,
             {{"n", "INTEGER"},
              {"id", "TEXT"},
              {city::kLineField, "TEXT"},
              {"service", "TEXT"},
              {"headsign", "TEXT"},
              {"pattern", "INTEGER"},
              {"times", "BLOB"},
              {"rules", "BLOB"}},
             rows);
}

void WriteServices(SqliteFile& db, const Timetable& timetable) {
  std::vector<CellRow> calendar, exceptions;
  for (const Service& service : timetable.services) {
    if (service.hasCalendar) {
      const auto& days = service.weekdays;
      calendar.push_back({TextOrNull(service.id), std::int64_t(days[0]), std::int64_t(days[1]),
                          std::int64_t(days[2]), std::int64_t(days[3]), std::int64_t(days[4]),
                          std::int64_t(days[5]), std::int64_t(days[6]), TextOrNull(service.startDate),
                          TextOrNull(service.endDate)});
    }
    for (const auto& [date, type] : service.exceptions)
      exceptions.push_back({TextOrNull(service.id), TextOrNull(date), std::int64_t(type)});
  }
  WriteTable(db, names::kCalendar,
             {{"service", "TEXT"},
              {"monday", "INTEGER"},
              {"tuesday", "INTEGER"},
              {"wednesday", "INTEGER"},
              {"thursday", "INTEGER"},
              {"friday", "INTEGER"},
              {"saturday", "INTEGER"},
              {"sunday", "INTEGER"},
              {"start_date", "TEXT"},
              {"end_date", "TEXT"}},
             calendar);
  WriteTable(db, names::kCalendarDates,
             {{"service", "TEXT"}, {"date", "TEXT"}, {"exception_type", "INTEGER"}}, exceptions);
}

void WriteFrequencies(SqliteFile& db, const Timetable& timetable) {
  std::vector<CellRow> rows;
  for (const Frequency& frequency : timetable.frequencies) {
    rows.push_back({TextOrNull(frequency.trip), std::int64_t(frequency.start), std::int64_t(frequency.end),
                    std::int64_t(frequency.headway), std::int64_t(frequency.exactTimes)});
  }
  WriteTable(db, names::kFrequencies,
             {{"trip", "TEXT"},
              {"start_time", "INTEGER"},
              {"end_time", "INTEGER"},
              {"headway_secs", "INTEGER"},
              {"exact_times", "INTEGER"}},
             rows);
}

}  // namespace

std::string WriteTimetable(SqliteFile& db, const City& city) {
  const Timetable& timetable = city.timetable;
  for (const Trip& trip : timetable.trips) {
    const std::string problem = CheckTrip(trip, timetable.platforms.size());
    if (!problem.empty()) return problem;
  }
  WritePlatforms(db, city);
  WritePatternsAndTrips(db, timetable);
  WriteServices(db, timetable);
  WriteFrequencies(db, timetable);
  WriteTable(db, names::kCityFacts, {{"key", "TEXT"}, {"value", "TEXT"}},
             {{std::string(names::kTimeZoneKey), TextOrNull(timetable.timeZone)}});
  return db.error();
}

}  // namespace citygen
