#pragma once
// The city's bus network as a GTFS feed, the way a transit operator would publish it.
#include <string>

#include "dataset/City.h"

namespace citygen {

// Writes agency.txt, calendar.txt, routes.txt (one bus route a line), stops.txt (one stop a
// City::stops point, in longitude and latitude), trips.txt, stop_times.txt and shapes.txt into the
// folder `dir` (created if missing). Each line has one trip in riding order (direction 0, along
// the line's route) and two trips back (direction 1). Returns an empty string or the error.
std::string WriteGtfsFeed(const City& city, const std::string& dir);

}  // namespace citygen
