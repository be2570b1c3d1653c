#include "bus/TimedCity.h"

#include <memory>

#include "bus/TimedIndex.h"
#include "bus/TimetableRead.h"
#include "bus/WalkNetwork.h"
#include "data/CityDatabase.h"

namespace trip {

namespace {

// What the database's timetable gave: its index, or why there is none. Read once per database.
struct CachedTimedIndex {
  bool read = false;
  std::vector<const Layer*> walkLayers;
  std::unique_ptr<TimedIndex> index;
  QString error;
};

}  // namespace

const TimedIndex* TimedIndexOf(CityDatabase& database, std::span<Layer* const> layers, QString& error) {
  CachedTimedIndex& cache = database.Derived<CachedTimedIndex>();
  std::vector<const Layer*> walkLayers = walk::WalkLayers(layers);
  if (!cache.read || cache.walkLayers != walkLayers) {
    cache.index.reset();
    cache.error.clear();
    cache.read = true;
    cache.walkLayers = std::move(walkLayers);
    citygen::Timetable timetable = ReadTimetable(database, cache.error);
    if (cache.error.isEmpty() && !timetable.Empty())
      cache.index = BuildTimedIndex(std::move(timetable), cache.error, walk::StreetsOf(cache.walkLayers));
  }
  error = cache.error;
  return cache.index.get();
}

TimedEnd TimedEndOf(const TimedIndex& index, const QString& text, const std::optional<Place>& place) {
  const bool placed = place && place->placed;
  return {text, PlatformsNamed(index, text), placed, placed ? place->point : MapPoint{}};
}

}  // namespace trip
