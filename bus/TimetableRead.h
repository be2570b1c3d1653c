#pragma once
// The timetable of the city open in a database (docs/timetable.md), read back into its plain-data
// shape, the same from a file city and from a server city.
#include <QString>

#include "data/CityDatabase.h"
#include "dataset/Timetable.h"

namespace trip {

// The timetable of the city open in db, platform positions in map coordinates; empty when the city
// has no timetable tables. Empty too, with error saying why, when a table cannot be read or holds
// what the writer cannot have written (a packed column cut short or holding more or fewer calls
// than its pattern, a platform or pattern that does not exist, a time past 47:59:59, a headway
// that is not positive).
citygen::Timetable ReadTimetable(const CityDatabase& db, QString& error);

}  // namespace trip
