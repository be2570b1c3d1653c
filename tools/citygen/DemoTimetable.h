#pragma once
// The demo city's timetable: every line both ways, every 6 to 15 minutes, by day from about 05:30
// to 23:00, night lines (夜…) from 23:00 to about 05:00; riding at 20 km/h along the line's route
// with 30 s at each stop; one daily service; one platform per stop.
#include "dataset/City.h"
#include "tools/citygen/Random.h"

namespace citygen {

inline constexpr const char* kDemoTimeZone = "Asia/Shanghai";
inline constexpr const char* kDemoService = "demo:daily";

// Fills city.timetable from the city's stops and lines; the headways are drawn from random.
void BuildTimetable(Random random, City& city);

}  // namespace citygen
