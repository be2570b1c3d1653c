#include "import/gtfs/FeedReader.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <string_view>

#include "data/TransitMode.h"
#include "import/gtfs/CsvReader.h"
#include "import/gtfs/FieldText.h"
#include "import/gtfs/LineNames.h"
#include "import/gtfs/RepresentativeTrip.h"
#include "import/gtfs/RouteTypes.h"
#include "import/gtfs/RowFields.h"
#include "import/gtfs/TripTimes.h"

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
constexpr const char* kTripTimesKind = "trip times";

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
  std::string id, direction, shape, service, headsign;
  std::vector<StopCall> calls;
  bool timetabled = false;
};

struct Stop {
  std::string id, name;
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

LonLat Position(const CsvReader& csv, int latColumn, int lonColumn) {
  const auto lat = ParseCoordinate(csv[latColumn], 90), lon = ParseCoordinate(csv[lonColumn], 180);
  if (!lat || !lon) csv.Fail("no valid position: " + Quoted(csv[latColumn]) + ", " + Quoted(csv[lonColumn]));
  return {*lon, *lat};
}

class FeedTables {
 public:
  FeedTables(const Feed& feed, const std::string& idPrefix, const Progress& progress)
      : feed_(feed), prefix_(idPrefix + ":"), progress_(progress), report_(feed.path) {}

  FeedLines Read(std::vector<TransitStop>& network) {
    ReadRoutes();
    ReadTrips();
    ReadStops();
    ReadStopTimes();
    ChooseTrips();
    ReadFrequencies();
    trips_ = {};
    tripIndex_ = {};
    stopIndex_ = {};
    const auto shapes = ReadShapes();
    std::vector<int> lineOfRoute;
    std::vector<FeedLine> lines = Lines(shapes, network, lineOfRoute);
    std::vector<std::size_t> tripLines;
    tripLines.reserve(tripRoutes_.size());
    for (const std::uint32_t r : tripRoutes_) tripLines.push_back(std::size_t(lineOfRoute[r]));
    return {std::move(lines), std::move(report_), extent_, std::move(timetable_), std::move(tripLines)};
  }

 private:
  CsvReader Open(const std::string& file) const { return OpenCsv(feed_, file, progress_); }

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
    const int service = csv.Column("service_id"), headsign = csv.Column("trip_headsign");
    long ofRoutesLeftOut = 0;
    while (csv.Next()) {
      const std::uint32_t r = Find(routeIndex_, csv[route], csv, "route_id");
      AddId(tripIndex_, csv[id], r == kNone ? kNone : std::uint32_t(trips_.size()), csv, "trip_id");
      if (r == kNone) {
        ++ofRoutesLeftOut;
        continue;
      }
      routes_[r].trips.push_back(std::uint32_t(trips_.size()));
      trips_.push_back({std::string(csv[id]),
                        std::string(Trimmed(csv[direction])),
                        std::string(csv[shape]),
                        std::string(csv[service]),
                        std::string(csv[headsign]),
                        {}});
    }
    LeftOut(report_, kTripsKind, "of a route left out", ofRoutesLeftOut);
  }

  void ReadStops() {
    CsvReader csv = Open("stops.txt");
    const int id = csv.RequiredColumn("stop_id"), name = csv.RequiredColumn("stop_name");
    const int lat = csv.RequiredColumn("stop_lat"), lon = csv.RequiredColumn("stop_lon");
    while (csv.Next()) {
      AddId(stopIndex_, csv[id], std::uint32_t(stops_.size()), csv, "stop_id");
      Stop stop{std::string(csv[id]), std::string(csv[name]), {}, false};
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
    const int arrival = csv.Column("arrival_time"), departure = csv.Column("departure_time");
    const int pickup = csv.Column("pickup_type"), dropOff = csv.Column("drop_off_type");
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
      StopCall call{};
      call.sequence = Whole(csv, sequence, "stop_sequence");
      call.stop = s;
      const auto arrives = OptionalTime(csv, arrival, "arrival_time");
      const auto departs = OptionalTime(csv, departure, "departure_time");
      call.arrival = std::uint32_t(arrives.value_or(0));
      call.hasArrival = arrives.has_value();
      call.departure = std::uint32_t(departs.value_or(0));
      call.hasDeparture = departs.has_value();
      call.pickup = Code(csv, pickup, "pickup_type", 0, 3, 0);
      call.dropOff = Code(csv, dropOff, "drop_off_type", 0, 3, 0);
      if (t == kNone) continue;
      if (!stops_[s].placed) csv.Fail("stop " + Quoted(csv[stop]) + " has no position");
      if (trips_[t].calls.size() == kMostCalls) csv.Fail("a trip of more than 20000 calls");
      trips_[t].calls.push_back(call);
    }
    if (progress_) progress_(csv.Name() + ": " + std::to_string(rows) + " rows");
  }

  void ChooseTrips() {
    long withoutCalls = 0;
    std::map<std::string, long> untimed;
    for (std::uint32_t r = 0; r < routes_.size(); ++r) {
      Route& route = routes_[r];
      std::vector<std::vector<std::uint32_t>> patterns;
      std::vector<std::uint32_t> ids;
      for (const std::uint32_t t : route.trips) {
        auto& calls = trips_[t].calls;
        if (calls.empty()) {
          ++withoutCalls;
          continue;
        }
        // Equal sequences keep the file's order.
        std::stable_sort(calls.begin(), calls.end(),
                         [](const StopCall& a, const StopCall& b) { return a.sequence < b.sequence; });
        auto& pattern = patterns.emplace_back();
        for (const StopCall& call : calls) {
          pattern.push_back(call.stop);
          stops_[call.stop].called = true;
        }
        ids.push_back(t);
        if (const char* why = AddToTimetable(trips_[t], r)) ++untimed[why];
        std::vector<StopCall>().swap(calls);
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
    Kept(report_, kTripTimesKind, "in the timetable", long(timetable_.trips.size()));
    for (const auto& [why, count] : untimed) report_.LeftOut(kTripTimesKind, why, count);
  }

  // The trip of route `r` with its calls in riding order, unless its times break the timetable's
  // model: then why not.
  const char* AddToTimetable(Trip& trip, std::uint32_t r) {
    std::vector<citygen::Call> calls;
    const char* why = TimeCalls(
        trip.calls, [this](std::uint32_t s) { return stops_[s].at; }, calls);
    if (why) return why;
    for (citygen::Call& call : calls) call.platform = Platform(std::uint32_t(call.platform));
    trip.timetabled = true;
    timetable_.trips.push_back({prefix_ + trip.id,
                                {},
                                trip.service.empty() ? "" : prefix_ + trip.service,
                                std::move(trip.headsign),
                                std::move(calls)});
    tripRoutes_.push_back(r);
    return nullptr;
  }

  // The timetable's platform of stop `s`, added at its first call.
  int Platform(std::uint32_t s) {
    if (platformOf_.empty()) platformOf_.assign(stops_.size(), -1);
    int& platform = platformOf_[s];
    if (platform < 0) {
      platform = int(timetable_.platforms.size());
      const Stop& stop = stops_[s];
      timetable_.platforms.push_back({prefix_ + stop.id, stop.name, true, {stop.at.lon, stop.at.lat}});
    }
    return platform;
  }

  // The frequencies of the trips in the timetable.
  void ReadFrequencies() {
    if (!feed_.Has("frequencies.txt")) return;
    CsvReader csv = Open("frequencies.txt");
    const int trip = csv.RequiredColumn("trip_id"), start = csv.RequiredColumn("start_time");
    const int end = csv.RequiredColumn("end_time"), headway = csv.RequiredColumn("headway_secs");
    const int exact = csv.Column("exact_times");
    while (csv.Next()) {
      const std::uint32_t t = Find(tripIndex_, csv[trip], csv, "trip_id");
      citygen::Frequency frequency{{},
                                   Time(csv, start, "start_time"),
                                   Time(csv, end, "end_time"),
                                   std::int32_t(Code(csv, headway, "headway_secs", 1, INT32_MAX)),
                                   Code(csv, exact, "exact_times", 0, 1, 0) == 1};
      if (t == kNone || !trips_[t].timetabled) continue;
      frequency.trip = prefix_ + trips_[t].id;
      timetable_.frequencies.push_back(std::move(frequency));
    }
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

  // `lineOfRoute` tells each route's line in the result (-1: none).
  std::vector<FeedLine> Lines(const ById<std::vector<ShapePoint>>& shapes, std::vector<TransitStop>& network,
                              std::vector<int>& lineOfRoute) {
    std::vector<int> inNetwork(stops_.size(), -1);
    std::vector<FeedLine> lines;
    lineOfRoute.assign(routes_.size(), -1);
    for (std::size_t r = 0; r < routes_.size(); ++r) {
      const Route& route = routes_[r];
      if (route.stops.empty()) {
        report_.LeftOut(RouteTypeKind(route.type), "no trip calls at a stop");
        continue;
      }
      report_.Kept(RouteTypeKind(route.type), city::FindTransitMode(route.mode)->name);
      Kept(report_, kColourKind, "the line's colour", !route.colour.empty());
      LeftOut(report_, kColourKind, "not six hex digits", route.badColour);
      lineOfRoute[r] = int(lines.size());
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
  const std::string prefix_;  // of the timetable's ids: "FEED:"
  const Progress& progress_;
  SourceReport report_;
  LonLatBox extent_;
  std::vector<Route> routes_;  // the kept routes, in the order of routes.txt
  std::vector<Trip> trips_;    // the trips of those routes
  std::vector<Stop> stops_;
  ById<std::uint32_t> routeIndex_, tripIndex_, stopIndex_;  // kNone: of a route left out
  citygen::Timetable timetable_;
  std::vector<std::uint32_t> tripRoutes_;  // the route of each of timetable_'s trips
  std::vector<int> platformOf_;            // each stop's platform in timetable_, or -1
};

}  // namespace

FeedLines ReadFeed(const Feed& feed, const std::string& idPrefix, std::vector<TransitStop>& stops,
                   const Progress& progress) {
  return FeedTables(feed, idPrefix, progress).Read(stops);
}

}  // namespace qiwu::import
