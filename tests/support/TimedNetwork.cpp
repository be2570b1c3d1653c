#include "tests/support/TimedNetwork.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <string>

namespace {
constexpr double kClusterApart = 600;

std::string Name(const char* prefix, int i) { return prefix + std::to_string(i); }
}  // namespace

citygen::Timetable GeneratedTimetable(const TimedNetworkOptions& options) {
  std::mt19937 rng(options.seed);
  const auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  citygen::Timetable table;
  table.timeZone = "Europe/Berlin";

  const int side = std::max(2, int(std::ceil(std::sqrt(double(options.clusters)))));
  std::vector<std::vector<int>> clusterPlatforms(std::size_t(options.clusters));
  for (int c = 0; c < options.clusters; ++c) {
    const int count = uniform(1, 3);
    for (int i = 0; i < count; ++i) {
      citygen::Platform& p = table.platforms.emplace_back();
      p.id = Name("F:p", int(table.platforms.size()));
      p.name = Name("S", c);
      p.placed = uniform(0, 19) != 0;
      p.at = {(c % side) * kClusterApart + uniform(-100, 100),
              (c / side) * kClusterApart + uniform(-100, 100)};
      clusterPlatforms[c].push_back(int(table.platforms.size()) - 1);
    }
  }

  // Services: weekdays, weekends, every day less some dates, only added dates.
  const auto service = [&](const char* id, std::array<bool, 7> days, bool calendar) {
    citygen::Service& s = table.services.emplace_back();
    s.id = id;
    s.hasCalendar = calendar;
    s.weekdays = days;
    s.startDate = "20260301";
    s.endDate = "20261130";
  };
  service("F:work", {true, true, true, true, true, false, false}, true);
  service("F:weekend", {false, false, false, false, false, true, true}, true);
  service("F:daily", {true, true, true, true, true, true, true}, true);
  service("F:extra", {}, false);
  const QDate first(2026, 3, 20);
  for (int i = 0; i < 30; ++i) {
    const std::string date =
        first.addDays(uniform(0, 230)).toString(QStringLiteral("yyyyMMdd")).toStdString();
    table.services[std::size_t(uniform(0, 2))].exceptions.push_back({date, 2});
    table.services[3].exceptions.push_back({date, 1});
  }
  for (const char* date : {"20260328", "20260329", "20261025"})
    table.services[3].exceptions.push_back({date, 1});

  for (int l = 0; l < options.lines; ++l) {
    std::vector<int> clusters{uniform(0, options.clusters - 1)};
    const int length = uniform(options.minStops, options.maxStops);
    while (int(clusters.size()) < length) {
      const int c = clusters.back();
      const int next = c + std::array<int, 4>{1, -1, side, -side}[std::size_t(uniform(0, 3))];
      if (next < 0 || next >= options.clusters) continue;
      clusters.push_back(next);
    }
    const bool byFrequency = uniform(0, 4) == 0;
    for (int direction = 0; direction < 2; ++direction) {
      std::vector<int> stops;
      for (int c : clusters)
        stops.push_back(clusterPlatforms[c][std::size_t(uniform(0, int(clusterPlatforms[c].size()) - 1))]);
      if (direction == 1) std::reverse(stops.begin(), stops.end());
      const std::string& serviceId = table.services[std::size_t(uniform(0, 3))].id;
      // The direction's own rules and running times; one trip in ten is odd: rules of its own and
      // a speed that may overtake the trip before.
      std::vector<std::array<int, 4>> pattern;  // pickup, drop-off, dwell, seconds to the next stop
      for (std::size_t i = 0; i < stops.size(); ++i)
        pattern.push_back({uniform(0, 11) == 0  ? 1
                           : uniform(0, 9) == 0 ? 3
                                                : 0,
                           uniform(0, 11) == 0 ? 1 : 0, uniform(0, 3) == 0 ? uniform(0, 40) : 0,
                           uniform(60, 240)});
      int minute = options.firstMinute + uniform(0, options.minutesApart);
      for (int n = 0; minute < options.lastMinute; ++n) {
        citygen::Trip& trip = table.trips.emplace_back();
        trip.id = Name("F:t", int(table.trips.size()));
        trip.line = Name("L", l);
        trip.service = uniform(0, 9) == 0 ? table.services[std::size_t(uniform(0, 3))].id : serviceId;
        if (uniform(0, 1) == 0) trip.headsign = Name("H", l);
        const bool odd = uniform(0, 9) == 0;
        const double speed = odd ? uniform(60, 140) / 100.0 : 1.0;
        int t = minute * 60 + uniform(0, 59);
        for (std::size_t i = 0; i < stops.size(); ++i) {
          citygen::Call call;
          call.platform = stops[i];
          call.arrival = t;
          call.departure = t + pattern[i][2];
          call.pickup = std::uint8_t(odd && uniform(0, 5) == 0 ? 1 : pattern[i][0]);
          call.dropOff = std::uint8_t(odd && uniform(0, 5) == 0 ? 1 : pattern[i][1]);
          trip.calls.push_back(call);
          t = call.departure + int(pattern[i][3] / speed);
        }
        if (byFrequency) {  // one trip for the line's direction, run by its frequencies
          const int start = options.firstMinute * 60 + uniform(0, 3600);
          table.frequencies.push_back(
              {trip.id, start, start + 3 * 3600, uniform(5, 20) * 60, uniform(0, 1) == 1});
          const int evening = options.lastMinute * 60 - uniform(3600, 4 * 3600);
          table.frequencies.push_back(
              {trip.id, evening, evening + uniform(3600, 3 * 3600), uniform(8, 25) * 60, false});
          break;
        }
        minute += uniform(options.minutesApart / 2, options.minutesApart * 3 / 2);
      }
    }
  }
  return table;
}

std::vector<TimedQueryCase> RandomTimedQueries(const citygen::Timetable& table, int count, unsigned seed) {
  std::mt19937 rng(seed);
  const auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
  for (const citygen::Platform& p : table.platforms) {
    minX = std::min(minX, p.at.x), maxX = std::max(maxX, p.at.x);
    minY = std::min(minY, p.at.y), maxY = std::max(maxY, p.at.y);
  }
  const QDate days[] = {QDate(2026, 3, 28),  QDate(2026, 3, 29),  QDate(2026, 3, 30),  QDate(2026, 5, 7),
                        QDate(2026, 10, 24), QDate(2026, 10, 25), QDate(2026, 10, 26), QDate(2026, 7, 4)};
  const auto end = [&] {
    trip::TimedEnd e;
    const int kind = uniform(0, 2);
    if (kind != 1) {
      const citygen::Platform& p = table.platforms[std::size_t(uniform(0, int(table.platforms.size()) - 1))];
      e.label = QString::fromStdString(p.name);
      for (int q = 0; q < int(table.platforms.size()); ++q)
        if (table.platforms[q].name == p.name) e.platforms.push_back(q);
      if (kind == 2 && p.placed) {
        e.placed = true;
        e.point = {p.at.x, p.at.y};
      }
    }
    if (kind == 1) {
      e.placed = true;
      e.point = {minX + (maxX - minX) * uniform(0, 1000) / 1000.0,
                 minY + (maxY - minY) * uniform(0, 1000) / 1000.0};
    }
    return e;
  };
  std::vector<TimedQueryCase> queries;
  for (int i = 0; i < count; ++i) {
    TimedQueryCase q{end(), end(), days[uniform(0, 7)], uniform(3 * 3600, 27 * 3600)};
    queries.push_back(std::move(q));
  }
  return queries;
}
