// The timetable tables at the size of import_bench's feed: 1,000 lines of 100 trips of 50 calls
// (5,000,000 calls) at 20,000 platforms, each line two stop patterns (one each way), one trip in
// ten with pickup and drop-off rules.
//   BM_Write: WriteDatabase of a city holding only the timetable; counters MB (the file) and
//     bytes_per_call (the file over the calls).
//   BM_Read: ReadTimetable of that file through CityDatabase.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <filesystem>

#include "bus/TimetableRead.h"
#include "dataset/Writers.h"
#include "tools/citygen/Random.h"

namespace {

constexpr int kLines = 1000, kTripsPerLine = 100, kCallsPerTrip = 50, kPlatforms = 20000;

citygen::City BigCity() {
  citygen::Random random(20240607);
  citygen::City city;
  citygen::Timetable& timetable = city.timetable;
  timetable.timeZone = "Asia/Shanghai";
  for (int k = 0; k < kPlatforms; ++k) {
    timetable.platforms.push_back({"feed:s" + std::to_string(k),
                                   "站 " + std::to_string(k),
                                   true,
                                   {random.Uniform(-20000, 20000), random.Uniform(-20000, 20000)}});
  }
  timetable.services.push_back(
      {"feed:daily", true, {true, true, true, true, true, true, true}, "20240101", "20251231", {}});
  for (int line = 0; line < kLines; ++line) {
    std::vector<int> stops(kCallsPerTrip);
    for (int& stop : stops) stop = random.Between(0, kPlatforms - 1);
    for (int t = 0; t < kTripsPerLine; ++t) {
      citygen::Trip trip{"feed:r" + std::to_string(line) + "t" + std::to_string(t),
                         std::to_string(line + 1) + "路",
                         "feed:daily",
                         "终点",
                         {}};
      int time = random.Between(5 * 3600, 23 * 3600);
      for (int k = 0; k < kCallsPerTrip; ++k) {
        const int platform = stops[std::size_t(t % 2 ? kCallsPerTrip - 1 - k : k)];
        const int arrival = time += random.Between(40, 200);
        const int departure = time += random.Between(0, 40);
        const bool rules = t % 10 == 0;
        trip.calls.push_back({platform, arrival, departure, std::uint8_t(rules && k + 1 == kCallsPerTrip),
                              std::uint8_t(rules && k == 0)});
      }
      timetable.trips.push_back(std::move(trip));
    }
  }
  return city;
}

const citygen::City& City() {
  static const citygen::City city = BigCity();
  return city;
}

void BM_Write(benchmark::State& state) {
  QTemporaryDir folder;
  const std::string path = folder.filePath("big.mdb").toStdString();
  for (auto _ : state) {
    const std::string error = citygen::WriteDatabase(City(), path);
    if (!error.empty()) state.SkipWithError(error.c_str());
  }
  const double bytes = double(std::filesystem::file_size(path));
  state.counters["MB"] = bytes / 1e6;
  state.counters["bytes_per_call"] = bytes / (double(kLines) * kTripsPerLine * kCallsPerTrip);
}
BENCHMARK(BM_Write)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Read(benchmark::State& state) {
  QTemporaryDir folder;
  const QString path = folder.filePath("big.mdb");
  citygen::WriteDatabase(City(), path.toStdString());
  for (auto _ : state) {
    CityDatabase db;
    Outcome outcome;
    QString error;
    if (!db.Open(path, outcome)) state.SkipWithError("cannot open");
    const citygen::Timetable timetable = trip::ReadTimetable(db, error);
    if (!error.isEmpty() || timetable.trips.size() != std::size_t(kLines) * kTripsPerLine)
      state.SkipWithError("not read back");
  }
}
BENCHMARK(BM_Read)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
