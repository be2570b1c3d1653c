#include "tests/bus/HandTimetable.h"

#include "tests/bus/BusPanelFixture.h"

HandTimetable::HandTimetable() {
  table.timeZone = "Asia/Shanghai";
  const QStringList& stops = FixtureLines()[0].stops;
  for (int i = 0; i < stops.size(); ++i) {
    const QPointF at = FixtureStopPositions().at(stops[i]);
    table.platforms.push_back({"hand:S" + std::to_string(i), stops[i].toStdString(), true, {at.x(), at.y()}});
  }
  auto trip = [&](std::string line, std::string headsign, int first, int last, int start, int step) {
    citygen::Trip run{"hand:" + std::to_string(table.trips.size()), line, "hand:daily", headsign, {}};
    for (int p = first; p <= last; ++p) {
      const int at = start + (p - first) * step;
      run.calls.push_back({p, at, at, 0, 0});
    }
    table.trips.push_back(run);
  };
  trip("1路", "", 0, 7, Clock(8, 0), 180);
  trip("1路", "", 0, 7, Clock(24, 12), 180);
  trip("2路", "北站", 2, 4, Clock(24, 20), 120);
}

std::vector<int> HandTimetable::PlatformsNamed(const QString& name) const {
  std::vector<int> found;
  for (std::size_t i = 0; i < table.platforms.size(); ++i)
    if (QString::fromStdString(table.platforms[i].name) == name) found.push_back(int(i));
  return found;
}

std::vector<trip::TimedPlan> HandTimetable::Search(const trip::TimedQuery& query) const {
  asked.push_back(query);
  return plans;
}

std::vector<trip::Departure> HandTimetable::Departures(const std::vector<int>&, QDate, int seconds,
                                                       int) const {
  departuresAskedAt.push_back(seconds);
  return departures;
}
