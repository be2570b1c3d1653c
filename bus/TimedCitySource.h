#pragma once
// The city's timetable for the planner window and the departures: the timed index kept with the
// database (bus/TimedCity.h) and the timed search over it, as a TimedSource.
#include <functional>
#include <vector>

#include "bus/TimedSource.h"

class CityDatabase;
class Layer;

namespace trip {

// Asks TimedIndexOf(database, layers()) each time: null where the city has no usable timetable.
TimedSourceOf CityTimetable(CityDatabase& database, std::function<std::vector<Layer*>()> layers);

}  // namespace trip
