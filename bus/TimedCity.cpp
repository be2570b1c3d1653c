#include "bus/TimedCity.h"

#include <memory>

#include "bus/TimedIndex.h"
#include "bus/TimetableRead.h"
#include "data/CityDatabase.h"

namespace trip {

namespace {

// What the database's timetable gave: its index, or why there is none. Read once per database.
struct CachedTimedIndex {
  bool read = false;
  std::unique_ptr<TimedIndex> index;
  QString error;
};

}  // namespace

const TimedIndex* TimedIndexOf(CityDatabase& database, QString& error) {
  CachedTimedIndex& cache = database.Derived<CachedTimedIndex>();
  if (!cache.read) {
    cache.read = true;
    citygen::Timetable timetable = ReadTimetable(database, cache.error);
    if (cache.error.isEmpty() && !timetable.Empty())
      cache.index = BuildTimedIndex(std::move(timetable), cache.error);
  }
  error = cache.error;
  return cache.index.get();
}

TimedEnd TimedEndOf(const TimedIndex& index, const QString& text, const std::optional<Place>& place) {
  const bool placed = place && place->placed;
  return {text, PlatformsNamed(index, text), placed, placed ? place->point : MapPoint{}};
}

}  // namespace trip
