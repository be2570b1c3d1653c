#pragma once
// The bus network of one or more GTFS feeds, for the importer.
#include <string>
#include <vector>

#include "import/Progress.h"
#include "import/TransitNetwork.h"

namespace qiwu::import {

TransitNetwork ReadBusFeeds(const std::vector<std::string>& feeds, const Progress& progress);

}  // namespace qiwu::import
