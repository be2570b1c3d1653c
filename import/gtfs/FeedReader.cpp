#include "import/gtfs/FeedReader.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <unordered_map>

#include "data/TransitMode.h"
#include "import/gtfs/CsvReader.h"
#include "import/gtfs/FieldText.h"
#include "import/gtfs/LineNames.h"
#include "import/gtfs/RepresentativeTrip.h"
#include "import/gtfs/RouteTypes.h"

namespace qiwu::import {
namespace {

constexpr std::uint32_t kNone = UINT32_MAX;
// Far above any real trip or shape, far below what a crafted feed could make of a few kilobytes.
constexpr std::size_t kMostCalls = 20000;
constexpr std::size_t kMostShapePoints = 200000;
// The report's kinds besides "route_type N".
constexpr const char* kTripsKind = "trips";
constexpr const char* kStopsKind = "stops";
constexpr const char* kColourKind = "route_color";

struct IdHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view id) const { return std::hash<std::string_view>{}(id); }
};
template <class T>
using ById = std::unordered_map<std::string, T, IdHash, std::equal_to<>>;

struct Call {
  std::uint32_t sequence;
  std::uint32_t stop;
};

struct Route {
  std::string id, name;
  std::uint32_t type = 0;
  const char* mode = nullptr;  // a key of city::kTransitModes
  std::string colour;          // RRGGBB or empty
  bool badColour = false;      // a route_color that is not six hex digits
  std::vector<std::uint32_t> trips;
  std::vector<std::uint32_t> stops;  // the representative trip's
  std::string shape;                 // the representative trip's shape_id
};

struct Trip {
  std::string id, direction, shape;
  std::vector<Call> calls;
};

struct Stop {
  std::string name;
  LonLat at;
  bool placed = false;
  bool called = false;  // by a trip of a kept route
};

struct ShapePoint {
  std::uint32_t sequence;
  LonLat at;
};

// Rows of the report only for what there is.
void Kept(SourceReport& report, const char* kind, const char* as, long count) {
  if (count) report.Kept(kind, as, count);
}
void LeftOut(SourceReport& report, const char* kind, const char* why, long count) {
  if (count) report.LeftOut(kind, why, count);
}

void AddId(ById<std::uint32_t>& index, std::string_view id, std::uint32_t value, const CsvReader& csv,
           const std::string& column) {
  if (id.empty()) csv.Fail(column + " is empty");
  if (!index.emplace(std::string(id), value).second) csv.Fail(column + " " + Quoted(id) + " appears twice");
}

std::uint32_t Find(const ById<std::uint32_t>& index, std::string_view id, const CsvReader& csv,
                   const std::string& column) {
  const auto found = index.find(id);
  if (found == index.end()) csv.Fail("unknown " + column + " " + Quoted(id));
  return found->second;
}

std::uint32_t Whole(const CsvReader& csv, int column, const std::string& name) {
  const auto value = ParseWhole(csv[column]);
  if (!value) csv.Fail(name + " " + Quoted(csv[column]) + " is not a whole number");
  return *value;
}

LonLat Position(const CsvReader& csv, int latColumn, int lonColumn) {
  const auto lat = ParseCoordinate(csv[latColumn], 90), lon = ParseCoordinate(csv[lonColumn], 180);
  if (!lat || !lon) csv.Fail("no valid position: " + Quoted(csv[latColumn]) + ", " + Quoted(csv[lonColumn]));
  return {*lon, *lat};
}

class FeedTables {
 public:
  FeedTables(const Feed& feed, const Progress& progress)
      : feed_(feed), progress_(progress), report_(feed.path) {}

  FeedLines Read(std::vector<TransitStop>& network) {
    ReadRoutes();
    ReadTrips();
    ReadStops();
    ReadStopTimes();
    ChooseTrips();
    const auto shapes = ReadShapes();
    std::vector<FeedLine> lines = Lines(shapes, network);
    return {std::move(lines), std::move(report_), extent_};
  }

 private:
  CsvReader Open(const std::string& file) const {
    if (progress_) progress_("reading " + feed_.FileName(file));
    return CsvReader(feed_.FilePath(file), feed_.FileName(file), feed_.MostBytes(file));
  }

  void ReadRoutes() {
    CsvReader csv = Open("routes.txt");
    const int id = csv.RequiredColumn("route_id"), type = csv.RequiredColumn("route_type");
    const int shortName = csv.Column("route_short_name"), longName = csv.Column("route_long_name");
    const int colour = csv.Column("route_color");
    while (csv.Next()) {
      const std::uint32_t routeType = Whole(csv, type, "route_type");
      const RouteKind kind = KindOfRouteType(routeType);
      AddId(routeIndex_, csv[id], kind.mode ? std::uint32_t(routes_.size()) : kNone, csv, "route_id");
      if (!kind.mode) {
        report_.LeftOut(RouteTypeKind(routeType), kind.leftOutFor);
        continue;
      }
      Route& route = routes_.emplace_back();
      route.id = csv[id];
      route.name = OwnLineName(csv[shortName], csv[longName], csv[id]);
      route.type = routeType;
      route.mode = kind.mode;
      const auto parsedColour = ParseColour(csv[colour]);
      route.colour = parsedColour.value_or("");
      route.badColour = !parsedColour;
    }
  }

  void ReadTrips() {
    CsvReader csv = Open("trips.txt");
    const int route = csv.RequiredColumn("route_id"), id = csv.RequiredColumn("trip_id");
    const int direction = csv.Column("direction_id"), shape = csv.Column("shape_id");
    long ofRoutesLeftOut = 0;
    while (csv.Next()) {
      const std::uint32_t r = Find(routeIndex_, csv[route], csv, "route_id");
      AddId(tripIndex_, csv[id], r == kNone ? kNone : std::uint32_t(trips_.size()), csv, "trip_id");
      if (r == kNone) {
        ++ofRoutesLeftOut;
        continue;
      }
      routes_[r].trips.push_back(std::uint32_t(trips_.size()));
      trips_.push_back(
          {std::string(csv[id]), std::string(Trimmed(csv[direction])), std::string(csv[shape]), {}});
    }
    LeftOut(report_, kTripsKind, "of a route left out", ofRoutesLeftOut);
  }

  void ReadStops() {
    CsvReader csv = Open("stops.txt");
    const int id = csv.RequiredColumn("stop_id"), name = csv.RequiredColumn("stop_name");
    const int lat = csv.RequiredColumn("stop_lat"), lon = csv.RequiredColumn("stop_lon");
    while (csv.Next()) {
      AddId(stopIndex_, csv[id], std::uint32_t(stops_.size()), csv, "stop_id");
      Stop stop{std::string(csv[name]), {}, false};
      // Stations' entrances and generic nodes may lie nowhere; no trip calls at them.
      if (!Trimmed(csv[lat]).empty() || !Trimmed(csv[lon]).empty()) {
        stop.at = Position(csv, lat, lon);
        stop.placed = true;
        extent_.Add(stop.at);
      }
      stops_.push_back(std::move(stop));
    }
  }

  // The biggest file of a feed, read row by row; only the calls of the kept routes' trips are kept.
  void ReadStopTimes() {
    CsvReader csv = Open("stop_times.txt");
    const int trip = csv.RequiredColumn("trip_id"), stop = csv.RequiredColumn("stop_id");
    const int sequence = csv.RequiredColumn("stop_sequence");
    std::string lastTrip;
    std::uint32_t t = kNone;
    long rows = 0;
    while (csv.Next()) {
      // A trip's calls usually follow one another: look its id up once.
      if (rows++ == 0 || csv[trip] != lastTrip) {
        t = Find(tripIndex_, csv[trip], csv, "trip_id");
        lastTrip.assign(csv[trip]);
      }
      const std::uint32_t s = Find(stopIndex_, csv[stop], csv, "stop_id");
      const std::uint32_t n = Whole(csv, sequence, "stop_sequence");
      if (t == kNone) continue;
      if (!stops_[s].placed) csv.Fail("stop " + Quoted(csv[stop]) + " has no position");
      if (trips_[t].calls.size() == kMostCalls) csv.Fail("a trip of more than 20000 calls");
      trips_[t].calls.push_back({n, s});
    }
    if (progress_) progress_(csv.Name() + ": " + std::to_string(rows) + " rows");
  }

  void ChooseTrips() {
    long withoutCalls = 0;
    for (Route& route : routes_) {
      std::vector<std::vector<std::uint32_t>> patterns;
      std::vector<std::uint32_t> ids;
      for (const std::uint32_t t : route.trips) {
        auto& calls = trips_[t].calls;
        if (calls.empty()) {
          ++withoutCalls;
          continue;
        }
        // Equal sequences keep the file's order.
        std::stable_sort(calls.begin(), calls.end(), [](Call a, Call b) { return a.sequence < b.sequence; });
        auto& pattern = patterns.emplace_back();
        for (const Call call : calls) {
          pattern.push_back(call.stop);
          stops_[call.stop].called = true;
        }
        ids.push_back(t);
        std::vector<Call>().swap(calls);
      }
      if (ids.empty()) continue;
      std::vector<TripPattern> candidates;
      for (std::size_t i = 0; i < ids.size(); ++i)
        candidates.push_back({trips_[ids[i]].id, trips_[ids[i]].direction, &patterns[i]});
      const std::size_t chosen = ChooseRepresentative(candidates);
      route.stops = std::move(patterns[chosen]);
      route.shape = trips_[ids[chosen]].shape;
    }
    Kept(report_, kTripsKind, "a line's trip", long(trips_.size()) - withoutCalls);
    LeftOut(report_, kTripsKind, "no calls", withoutCalls);
    trips_ = {};
    tripIndex_ = {};
    stopIndex_ = {};
  }

  // The points of the shapes the lines follow, in shape_pt_sequence order.
  ById<std::vector<ShapePoint>> ReadShapes() const {
    ById<std::vector<ShapePoint>> shapes;
    for (const Route& route : routes_)
      if (!route.shape.empty()) shapes[route.shape];
    if (shapes.empty() || !feed_.Has("shapes.txt")) return shapes;
    CsvReader csv = Open("shapes.txt");
    const int id = csv.RequiredColumn("shape_id"), sequence = csv.RequiredColumn("shape_pt_sequence");
    const int lat = csv.RequiredColumn("shape_pt_lat"), lon = csv.RequiredColumn("shape_pt_lon");
    while (csv.Next()) {
      const auto shape = shapes.find(csv[id]);
      if (shape == shapes.end()) continue;
      if (shape->second.size() == kMostShapePoints) csv.Fail("a shape of more than 200000 points");
      shape->second.push_back({Whole(csv, sequence, "shape_pt_sequence"), Position(csv, lat, lon)});
    }
    for (auto& [name, points] : shapes)
      std::stable_sort(points.begin(), points.end(),
                       [](const ShapePoint& a, const ShapePoint& b) { return a.sequence < b.sequence; });
    return shapes;
  }

  std::vector<FeedLine> Lines(const ById<std::vector<ShapePoint>>& shapes,
                              std::vector<TransitStop>& network) {
    std::vector<int> inNetwork(stops_.size(), -1);
    std::vector<FeedLine> lines;
    for (const Route& route : routes_) {
      if (route.stops.empty()) {
        report_.LeftOut(RouteTypeKind(route.type), "no trip calls at a stop");
        continue;
      }
      report_.Kept(RouteTypeKind(route.type), city::FindTransitMode(route.mode)->name);
      Kept(report_, kColourKind, "the line's colour", !route.colour.empty());
      LeftOut(report_, kColourKind, "not six hex digits", route.badColour);
      FeedLine& line = lines.emplace_back();
      line.name = route.name;
      line.routeId = route.id;
      line.line.mode = route.mode;
      line.line.colour = route.colour;
      for (const std::uint32_t s : route.stops) {
        if (inNetwork[s] < 0) {
          inNetwork[s] = int(network.size());
          network.push_back({stops_[s].name, stops_[s].at});
        }
        line.line.stops.push_back(inNetwork[s]);
        line.line.route.push_back(stops_[s].at);
      }
      const auto shape = shapes.find(route.shape);
      if (shape != shapes.end() && shape->second.size() >= 2) {
        line.line.route.clear();
        for (const ShapePoint& point : shape->second) line.line.route.push_back(point.at);
      }
    }
    CountStops(inNetwork);
    return lines;
  }

  void CountStops(const std::vector<int>& inNetwork) {
    long kept = 0, unplaced = 0, uncalled = 0, offChosenTrips = 0;
    for (std::size_t s = 0; s < stops_.size(); ++s) {
      if (inNetwork[s] >= 0)
        ++kept;
      else if (!stops_[s].placed)
        ++unplaced;
      else if (stops_[s].called)
        ++offChosenTrips;
      else
        ++uncalled;
    }
    Kept(report_, kStopsKind, "a line's stop", kept);
    LeftOut(report_, kStopsKind, "no position", unplaced);
    LeftOut(report_, kStopsKind, "no calls", uncalled);
    LeftOut(report_, kStopsKind, "only on trips not chosen", offChosenTrips);
  }

  const Feed& feed_;
  const Progress& progress_;
  SourceReport report_;
  LonLatBox extent_;
  std::vector<Route> routes_;  // the kept routes, in the order of routes.txt
  std::vector<Trip> trips_;    // the trips of those routes
  std::vector<Stop> stops_;
  ById<std::uint32_t> routeIndex_, tripIndex_, stopIndex_;  // kNone: of a route left out
};

}  // namespace

FeedLines ReadFeed(const Feed& feed, std::vector<TransitStop>& stops, const Progress& progress) {
  return FeedTables(feed, progress).Read(stops);
}

}  // namespace qiwu::import
