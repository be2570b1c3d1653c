#pragma once
// Random timetables for tests and benchmarks: the same seed and shape give the same timetable.
// Every feature of the model turns up: platforms without a position and platforms sharing a
// name, lines with several stop patterns (a short turn, the way back), services by weekday with
// exceptions and services of exceptions only, trips by frequency, pickup and drop-off rules,
// times past 24:00, calls with dwell and without.
#include <cstdint>
#include <string>

#include "dataset/Timetable.h"

namespace testtimetable {

struct Shape {
  int platforms = 60;
  int lines = 8;
  int tripsPerPattern = 6;
  int services = 4;
  double side = 6000;          // platforms lie in a square of this side (metres) around (0, 0)
  double unplaced = 0.05;      // share of platforms without a position
  double byFrequency = 0.15;   // share of trips that also run by a frequency
  double withRules = 0.2;      // share of trips with pickup or drop-off rules
  double pastMidnight = 0.15;  // share of trips that start after 22:00 and may pass 24:00
  std::string feed = "rnd";    // the FEED: prefix of ids
  std::string timeZone = "Europe/Berlin";
};

citygen::Timetable RandomTimetable(std::uint64_t seed, const Shape& shape = {});

}  // namespace testtimetable
