#pragma once
// The bus lines of one GTFS feed.
#include <string>
#include <vector>

#include "import/Progress.h"
#include "import/TransitNetwork.h"
#include "import/gtfs/Feed.h"

namespace qiwu::import {

struct FeedLine {
  std::string name;  // route_short_name trimmed, else route_id; not yet unique across routes
  std::string routeId;
  TransitLine line;
};

// The lines of the feed's bus routes that have trips with stops, in the order of routes.txt. The
// stops they call at are appended to `stops` (once each) and the lines point into it. Throws
// InputError naming the file and line of bad input.
std::vector<FeedLine> ReadFeed(const Feed& feed, std::vector<TransitStop>& stops, const Progress& progress);

}  // namespace qiwu::import
