#pragma once
// The lines of one GTFS feed, and what the feed held.
#include <string>
#include <vector>

#include "dataset/Timetable.h"
#include "import/Progress.h"
#include "import/TransitNetwork.h"
#include "import/gtfs/Feed.h"

namespace qiwu::import {

struct FeedLine {
  std::string name;  // the route's own name (OwnLineName), not yet unique across routes
  std::string routeId;
  TransitLine line;
};

struct FeedLines {
  std::vector<FeedLine> lines;
  SourceReport report;  // its routes, trips and stops: each row read, kept or left out
  LonLatBox extent;     // of its stops that have a position
  // Its trips whose times fit the timetable's model, the platforms they call at (positions as
  // x = longitude, y = latitude) and their frequencies; each trip's line not yet named.
  citygen::Timetable timetable;
  std::vector<std::size_t> tripLines;  // each of the timetable's trips' line, an index into lines
};

// The lines of the feed's routes of a mode of transit (RouteTypes.h) that have trips with stops, in
// the order of routes.txt, and the timetable of their trips, its ids `idPrefix:id`. The stops the
// lines call at are appended to `stops` (once each) and the lines point into it. Throws InputError
// naming the file and line of bad input.
FeedLines ReadFeed(const Feed& feed, const std::string& idPrefix, std::vector<TransitStop>& stops,
                   const Progress& progress);

}  // namespace qiwu::import
