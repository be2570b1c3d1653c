#pragma once
// The timed search's view of a city: the index of its timetable, kept with the database, and the
// ends of a trip as the timetable knows them.
#include <QString>
#include <optional>
#include <span>

#include "bus/TimedSearch.h"
#include "bus/TripModel.h"

class CityDatabase;
class Layer;

namespace trip {

// The timed index of the city open in database, walking on the street layers among layers
// (walk::WalkLayers): its timetable read (bus/TimetableRead.h) and indexed at the first call, again
// when other street layers are given, kept with the database until it opens another file. Null
// when the city has no timetable (error left empty) or its timetable cannot be used (error says
// why); the planner then estimates.
const TimedIndex* TimedIndexOf(CityDatabase& database, std::span<Layer* const> layers, QString& error);

// Where a timed trip named by text starts or ends: every platform of that stop name (boarded or
// left without walking), and the point of place, what FindPlace made of text, when it has one.
// A text that names neither gives an end without platforms and unplaced.
TimedEnd TimedEndOf(const TimedIndex& index, const QString& text, const std::optional<Place>& place);

}  // namespace trip
