#pragma once
// A timetable as lines of text that compare and print well: two timetables that hold the same
// platforms (in order), trips, services and frequencies give the same lines, whatever order the
// trips and services come in.
#include <string>
#include <vector>

#include "dataset/Timetable.h"

namespace testtimetable {

// offset is added to every placed platform's position (a city's origin: the writer adds it).
std::vector<std::string> TimetableText(const citygen::Timetable& timetable, citygen::Vec2 offset = {});

}  // namespace testtimetable
