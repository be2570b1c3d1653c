#include "import/gtfs/GtfsReader.h"

#include <algorithm>
#include <iterator>
#include <numeric>
#include <set>

#include "import/NaturalOrder.h"
#include "import/gtfs/FeedCalendar.h"
#include "import/gtfs/FeedReader.h"
#include "import/gtfs/LineNames.h"

namespace qiwu::import {
namespace {

// The feed's label, or for a label already taken "label#2", "label#3", …
std::string IdPrefix(const std::string& label, std::set<std::string>& taken) {
  std::string prefix = label;
  for (int n = 2; !taken.insert(prefix).second; ++n) prefix = label + "#" + std::to_string(n);
  return prefix;
}

// The feed's agencies by the city's zone (the first there is) or another, whose times stay as given.
void CountTimeZones(const std::vector<std::string>& zones, std::string& cityZone, SourceReport& report) {
  for (const std::string& zone : zones) {
    if (cityZone.empty()) cityZone = zone;
    if (zone == cityZone)
      report.Kept("agency_timezone", "the city's time zone " + zone);
    else
      report.Kept("agency_timezone", "another time zone, its times read in the city's: " + zone);
  }
}

// The feed's timetable after those of the feeds before it.
void Append(citygen::Timetable&& feed, citygen::Timetable& network) {
  const int platforms = int(network.platforms.size());
  std::move(feed.platforms.begin(), feed.platforms.end(), std::back_inserter(network.platforms));
  for (citygen::Trip& trip : feed.trips) {
    for (citygen::Call& call : trip.calls) call.platform += platforms;
    network.trips.push_back(std::move(trip));
  }
  std::move(feed.services.begin(), feed.services.end(), std::back_inserter(network.services));
  std::move(feed.frequencies.begin(), feed.frequencies.end(), std::back_inserter(network.frequencies));
}

}  // namespace

TransitNetwork ReadGtfsFeeds(const std::vector<std::string>& feeds, const Progress& progress) {
  TransitNetwork network;
  std::vector<RouteName> names;
  std::vector<TransitLine> lines;
  std::vector<std::size_t> tripLines;  // each timetable trip's line, an index into lines
  std::set<std::string> prefixes;
  for (const std::string& path : feeds) {
    const Feed feed = OpenFeed(path);
    const std::string prefix = IdPrefix(feed.label, prefixes);
    FeedLines read = ReadFeed(feed, prefix, network.stops, progress);
    FeedCalendar calendar = ReadFeedCalendar(feed, prefix, progress);
    CountTimeZones(calendar.timeZones, network.timetable.timeZone, read.report);
    read.timetable.services = std::move(calendar.services);
    for (const std::size_t line : read.tripLines) tripLines.push_back(lines.size() + line);
    Append(std::move(read.timetable), network.timetable);
    for (FeedLine& line : read.lines) {
      names.push_back({std::move(line.name), std::move(line.routeId), feed.label});
      lines.push_back(std::move(line.line));
    }
    network.reports.push_back(std::move(read.report));
    network.extents.push_back(read.extent);
  }
  const std::vector<std::string> unique = UniqueLineNames(names);
  for (std::size_t t = 0; t < tripLines.size(); ++t) network.timetable.trips[t].line = unique[tripLines[t]];
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
             " stops, " + std::to_string(network.timetable.trips.size()) + " timetabled trips");
  return network;
}

}  // namespace qiwu::import
