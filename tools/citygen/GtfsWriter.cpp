#include "tools/citygen/GtfsWriter.h"

#include <ogr_spatialref.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

namespace citygen {
namespace {

// A CSV field, quoted when it holds a separator, a quote or a line end.
std::string Field(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

std::string Degrees(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.9f", value);
  return text;
}

std::string Time(int minutes) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d:00", minutes / 60, minutes % 60);
  return text;
}

// Map coordinates (EPSG:4547, relative to the false origin) to "lat,lon".
class ToLatLon {
 public:
  ToLatLon() {
    map_.importFromEPSG(4547);
    wgs84_.importFromEPSG(4326);
    map_.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    wgs84_.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    transform_.reset(OGRCreateCoordinateTransformation(&map_, &wgs84_));
  }
  bool Ready() const { return transform_ != nullptr; }
  std::string operator()(Vec2 at) const {
    double x = at.x + kOriginX, y = at.y + kOriginY;
    transform_->Transform(1, &x, &y);
    return Degrees(y) + "," + Degrees(x);
  }

 private:
  OGRSpatialReference map_, wgs84_;
  std::unique_ptr<OGRCoordinateTransformation> transform_;
};

struct FeedTrip {
  std::string id;
  int direction;
  int start;  // minutes after midnight
};

}  // namespace

std::string WriteGtfsFeed(const City& city, const std::string& dir) {
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  if (error) return "cannot create " + dir + ": " + error.message();
  const ToLatLon latLon;
  if (!latLon.Ready()) return "no transformation from EPSG:4547 to longitude and latitude";

  std::ofstream agency(dir + "/agency.txt"), calendar(dir + "/calendar.txt"), routes(dir + "/routes.txt"),
      stops(dir + "/stops.txt"), trips(dir + "/trips.txt"), times(dir + "/stop_times.txt"),
      shapes(dir + "/shapes.txt");
  agency << "agency_id,agency_name,agency_url,agency_timezone\nbus," << Field(city.name + "公交")
         << ",https://bus.example.org/,Asia/Shanghai\n";
  calendar << "service_id,monday,tuesday,wednesday,thursday,friday,saturday,sunday,start_date,end_date\n"
              "daily,1,1,1,1,1,1,1,20240101,20341231\n";
  stops << "stop_id,stop_name,stop_lat,stop_lon\n";
  for (std::size_t s = 0; s < city.stops.size(); ++s)
    stops << 's' << s << ',' << Field(city.stops[s].name) << ',' << latLon(city.stops[s].at) << '\n';

  routes << "route_id,agency_id,route_short_name,route_type\n";
  trips << "route_id,service_id,trip_id,direction_id,shape_id\n";
  times << "trip_id,arrival_time,departure_time,stop_id,stop_sequence\n";
  shapes << "shape_id,shape_pt_lat,shape_pt_lon,shape_pt_sequence\n";
  for (const BusLine& line : city.lines) {
    const std::string route = "r" + std::to_string(line.id);
    routes << route << ",bus," << Field(line.name) << ",3\n";
    for (std::size_t k = 0; k < line.route.size(); ++k)
      shapes << route << ',' << latLon(line.route[k]) << ',' << k + 1 << '\n';
    // The trips back come first and outnumber the one along the line.
    for (const FeedTrip& trip : {FeedTrip{route + "-b1", 1, 7 * 60}, FeedTrip{route + "-b2", 1, 8 * 60},
                                 FeedTrip{route + "-a", 0, 6 * 60}}) {
      trips << route << ",daily," << trip.id << ',' << trip.direction << ','
            << (trip.direction == 0 ? route : "") << '\n';
      for (std::size_t k = 0; k < line.stops.size(); ++k) {
        const int stop = line.stops[trip.direction == 0 ? k : line.stops.size() - 1 - k];
        const std::string at = Time(trip.start + 2 * int(k));
        // Sequences with gaps, as many operators number them.
        times << trip.id << ',' << at << ',' << at << ",s" << stop << ',' << 10 * (k + 1) << '\n';
      }
    }
  }
  for (std::ofstream* file : {&agency, &calendar, &routes, &stops, &trips, &times, &shapes})
    if (!file->flush()) return "cannot write the feed in " + dir;
  return {};
}

}  // namespace citygen
