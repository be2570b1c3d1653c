#pragma once
// The lines of every mode of transit of one or more GTFS feeds (each a .zip or a folder), as the bus
// table and the stop and line layers will hold them, with a report and the extent of each feed.
// Throws InputError naming the file and line of bad input.
#include <string>
#include <vector>

#include "import/Progress.h"
#include "import/TransitNetwork.h"

namespace qiwu::import {

TransitNetwork ReadGtfsFeeds(const std::vector<std::string>& feeds, const Progress& progress);

}  // namespace qiwu::import
