#include "import/gtfs/GtfsReader.h"

#include <algorithm>
#include <numeric>

#include "import/NaturalOrder.h"
#include "import/gtfs/FeedReader.h"
#include "import/gtfs/LineNames.h"

namespace qiwu::import {

TransitNetwork ReadGtfsFeeds(const std::vector<std::string>& feeds, const Progress& progress) {
  TransitNetwork network;
  std::vector<RouteName> names;
  std::vector<TransitLine> lines;
  for (const std::string& path : feeds) {
    const Feed feed = OpenFeed(path);
    FeedLines read = ReadFeed(feed, network.stops, progress);
    for (FeedLine& line : read.lines) {
      names.push_back({std::move(line.name), std::move(line.routeId), feed.label});
      lines.push_back(std::move(line.line));
    }
    network.reports.push_back(std::move(read.report));
    network.extents.push_back(read.extent);
  }
  const std::vector<std::string> unique = UniqueLineNames(names);
  std::vector<std::size_t> order(lines.size());
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(),
            [&](std::size_t a, std::size_t b) { return NaturalLess{}(unique[a], unique[b]); });
  for (const std::size_t i : order) {
    network.lines.push_back(std::move(lines[i]));
    network.lines.back().name = unique[i];
  }
  if (progress)
    progress(std::to_string(network.lines.size()) + " lines, " + std::to_string(network.stops.size()) +
             " stops");
  return network;
}

}  // namespace qiwu::import
