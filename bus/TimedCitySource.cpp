#include "bus/TimedCitySource.h"

#include "bus/TimedCity.h"

namespace trip {

namespace {

class IndexSource : public TimedSource {
 public:
  explicit IndexSource(const TimedIndex& index) : index_(index) {}

  QTimeZone Zone() const override { return TimeZoneOf(index_); }
  const citygen::Timetable& Table() const override { return TimetableOf(index_); }
  std::vector<int> PlatformsNamed(const QString& name) const override {
    return trip::PlatformsNamed(index_, name);
  }
  std::vector<TimedPlan> Search(const TimedQuery& query) const override { return SearchTimed(index_, query); }
  std::vector<Departure> Departures(const std::vector<int>& platforms, QDate day, int seconds,
                                    int windowSeconds) const override {
    return NextDepartures(index_, platforms, day, seconds, windowSeconds);
  }

 private:
  const TimedIndex& index_;  // kept with the database until it opens another file
};

}  // namespace

TimedSourceOf CityTimetable(CityDatabase& database, std::function<std::vector<Layer*>()> layers) {
  return [&database, layers = std::move(layers)](QString& error) -> std::shared_ptr<const TimedSource> {
    const TimedIndex* index = TimedIndexOf(database, layers(), error);
    if (!index) return nullptr;
    return std::make_shared<IndexSource>(*index);
  };
}

}  // namespace trip
