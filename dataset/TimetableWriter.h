#pragma once
// The city's timetable into the tables beside the bus table (docs/timetable.md).
#include <string>

#include "dataset/City.h"
#include "dataset/SqliteFile.h"

namespace citygen {

// Creates and fills the timetable tables in db; an empty string, or why the timetable cannot be
// stored (a call at a platform that does not exist, times that go backwards or pass 47:59:59, a
// pickup or drop-off type above 3). Nothing is written then.
std::string WriteTimetable(SqliteFile& db, const City& city);

}  // namespace citygen
