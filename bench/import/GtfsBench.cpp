// Reading a large GTFS feed: 1,000 bus routes and 5,000,000 stop_times rows, written with a fixed
// seed into a temporary folder and zipped. Reports the time of ReadGtfsFeeds and the process's peak
// memory so far (peak_rss_MB), which the feed's writing does not raise; and the whole import of the
// feed into a city (qiwu-import --gtfs, without an extract), timetable and all.
#include <benchmark/benchmark.h>
#include <cpl_conv.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "import/CityImport.h"
#include "import/gtfs/GtfsReader.h"
#include "map/GdalLockDown.h"

namespace {

constexpr int kRoutes = 1000;
constexpr int kTripsPerRoute = 100;
constexpr int kStopsPerTrip = 50;  // kRoutes × kTripsPerRoute × kStopsPerTrip = 5,000,000 rows
constexpr int kStops = 20000;
constexpr int kShapePoints = 300;

class SyntheticFeed {
 public:
  SyntheticFeed()
      : dir_(std::filesystem::temp_directory_path() / ("qiwu-gtfs-bench-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(dir_);
    std::mt19937_64 random(20240607);
    std::uniform_real_distribution<double> lat(30.4, 30.9), lon(114.0, 114.6);
    std::uniform_int_distribution<int> anyStop(0, kStops - 1);

    std::ofstream stops(dir_ / "stops.txt");
    stops << "stop_id,stop_code,stop_name,stop_lat,stop_lon,location_type,parent_station\n";
    char row[160];
    for (int s = 0; s < kStops; ++s) {
      std::snprintf(row, sizeof row, "s%d,%d,\"站 %d, 东侧\",%.6f,%.6f,0,\n", s, s, s, lat(random),
                    lon(random));
      stops << row;
    }
    std::ofstream(dir_ / "agency.txt") << "agency_id,agency_name,agency_url,agency_timezone\n"
                                          "op,公交集团,https://example.org/,Asia/Shanghai\n";
    std::ofstream(dir_ / "calendar.txt")
        << "service_id,monday,tuesday,wednesday,thursday,friday,saturday,sunday,start_date,end_date\n"
           "daily,1,1,1,1,1,1,1,20260101,20261231\n";
    std::ofstream frequencies(dir_ / "frequencies.txt");
    frequencies << "trip_id,start_time,end_time,headway_secs,exact_times\n";
    std::ofstream routes(dir_ / "routes.txt"), trips(dir_ / "trips.txt"), times(dir_ / "stop_times.txt"),
        shapes(dir_ / "shapes.txt");
    routes << "route_id,agency_id,route_short_name,route_long_name,route_type\n";
    trips << "route_id,service_id,trip_id,trip_headsign,direction_id,shape_id\n";
    times << "trip_id,arrival_time,departure_time,stop_id,stop_sequence,pickup_type,drop_off_type\n";
    shapes << "shape_id,shape_pt_lat,shape_pt_lon,shape_pt_sequence\n";
    for (int r = 0; r < kRoutes; ++r) {
      routes << 'r' << r << ",op," << r + 1 << "路,,3\n";
      std::vector<int> pattern(kStopsPerTrip);
      for (int& stop : pattern) stop = anyStop(random);
      for (int p = 0; p < kShapePoints; ++p) {
        std::snprintf(row, sizeof row, "r%d,%.6f,%.6f,%d\n", r, lat(random), lon(random), p);
        shapes << row;
      }
      // The last trip of each route also runs every ten minutes in the evening.
      frequencies << 'r' << r << 't' << kTripsPerRoute - 1 << ",19:00:00,23:00:00,600,0\n";
      for (int t = 0; t < kTripsPerRoute; ++t) {
        const int direction = t % 2;
        trips << 'r' << r << ",daily,r" << r << 't' << t << ",终点," << direction << ",r" << r << '\n';
        for (int k = 0; k < kStopsPerTrip; ++k) {
          int stop = pattern[direction ? kStopsPerTrip - 1 - k : k];
          // Every tenth trip takes a detour: another pattern of the same route.
          if (t % 10 == 9 && k == kStopsPerTrip / 2) stop = (stop + 1) % kStops;
          const int minutes = 300 + 10 * t + 2 * k;
          std::snprintf(row, sizeof row, "r%dt%d,%02d:%02d:00,%02d:%02d:00,s%d,%d,0,0\n", r, t, minutes / 60,
                        minutes % 60, minutes / 60, minutes % 60, stop, k + 1);
          times << row;
        }
      }
    }
  }
  ~SyntheticFeed() { std::filesystem::remove_all(dir_); }
  std::string Path() const { return dir_.string(); }

  // The same files in a .zip beside the folder, as operators publish them.
  std::string Zipped() const {
    const std::string zip = dir_.string() + ".zip";
    void* archive = CPLCreateZip(zip.c_str(), nullptr);
    std::vector<char> chunk(1 << 20);
    for (const char* name : {"agency.txt", "calendar.txt", "frequencies.txt", "routes.txt", "trips.txt",
                             "stops.txt", "stop_times.txt", "shapes.txt"}) {
      CPLCreateFileInZip(archive, name, nullptr);
      std::ifstream in(dir_ / name, std::ios::binary);
      while (in.read(chunk.data(), std::streamsize(chunk.size())) || in.gcount() > 0)
        CPLWriteFileInZip(archive, chunk.data(), int(in.gcount()));
      CPLCloseFileInZip(archive);
    }
    CPLCloseZip(archive);
    return zip;
  }

 private:
  std::filesystem::path dir_;
};

const SyntheticFeed& Feed() {
  static const SyntheticFeed feed;
  return feed;
}

double PeakMegabytes() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return double(usage.ru_maxrss) / 1024;
}

void Read(benchmark::State& state, const std::string& path) {
  std::size_t lines = 0, trips = 0, calls = 0;
  for (auto _ : state) {
    const auto network = qiwu::import::ReadGtfsFeeds({path}, {});
    lines = network.lines.size();
    trips = network.timetable.trips.size();
    calls = 0;
    for (const auto& trip : network.timetable.trips) calls += trip.calls.size();
    benchmark::DoNotOptimize(lines);
  }
  state.counters["lines"] = double(lines);
  state.counters["stop_times_rows"] = double(kRoutes) * kTripsPerRoute * kStopsPerTrip;
  state.counters["timetable_trips"] = double(trips);
  state.counters["timetable_calls"] = double(calls);
  state.counters["peak_rss_MB"] = PeakMegabytes();
}

void BM_ReadGtfsFolder(benchmark::State& state) { Read(state, Feed().Path()); }
BENCHMARK(BM_ReadGtfsFolder)->Unit(benchmark::kSecond)->Iterations(1);

void BM_ReadGtfsZip(benchmark::State& state) {
  const std::string zip = Feed().Zipped();
  Read(state, zip);
  std::filesystem::remove(zip);
}
BENCHMARK(BM_ReadGtfsZip)->Unit(benchmark::kSecond)->Iterations(1);

// Run alone (--benchmark_filter=GtfsCity) for the import's own peak.
void BM_ImportGtfsCity(benchmark::State& state) {
  LockDownGdal({QStringLiteral("GPKG")}, {QStringLiteral("/vsizip/")});
  QTemporaryDir dir;
  for (auto _ : state) {
    qiwu::import::ImportRequest request;
    request.city = "五百万站次市";
    request.programDir = dir.path().toStdString();
    request.gtfs = {Feed().Path()};
    benchmark::DoNotOptimize(qiwu::import::ImportCity(request, [](const std::string&) {}));
  }
  state.counters["peak_rss_MB"] = PeakMegabytes();
}
BENCHMARK(BM_ImportGtfsCity)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
