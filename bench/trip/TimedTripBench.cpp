// The timed search on generated timetable networks of about 5 million calls (/0: 3,000 stop
// clusters, /1: 10,000; 1,000 lines both ways, 10–30 stops, a trip every 4–12 minutes from 04:00
// to 26:00):
//   BM_TimedBuild: the index built from the timetable; counters index_MB, calls, routes.
//   BM_TimedDepartAt: 2,000 random depart-at queries (≤ 4 rides); median_ms, p99_ms, max_ms.
//   BM_TimedRange: 200 random 60-minute range queries; median_ms, p99_ms.
//     Each query timed by the thread's CPU clock (the shared build machine is busy).
//   BM_TimedAgrees: 10,000 depart-at queries on the test's network against the connection scan;
//     counter disagreements (0 expected). Slow: run it with --benchmark_filter=Agrees when wanted.
//   BM_TimedCityDatabase: the same on a real city database named by QIWU_TRIP_BENCH_DB (an imported
//     feed, the demo city at scale 10): the timetable read and the index built (read_ms, build_ms,
//     rss_growth_MB), then 2,000 depart-at and 200 60-minute range queries. Skipped without it. With
//     QIWU_TRIP_BENCH_GST naming the city's main workspace, the index walks along its streets
//     (streets_ms: the street layers read), so two runs give the streets' cost beside the straight rule.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <ctime>

#include "bus/TimedSearch.h"
#include "bus/TimetableRead.h"
#include "bus/WalkNetwork.h"
#include "data/CityDatabase.h"
#include "map/Workspace.h"
#include "tests/support/TimedNetwork.h"
#include "tests/support/TimetableOracle.h"

namespace {

double ThreadMillis() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Network 0: 3,000 stop clusters (about 6,000 platforms); 1: 10,000 clusters (about 20,000).
citygen::Timetable MakeLargeTimetable(int clusters) {
  TimedNetworkOptions options;
  options.clusters = clusters;
  options.lines = 1000;
  options.minStops = 10;
  options.maxStops = 30;
  options.minutesApart = 8;
  options.seed = 3;
  return GeneratedTimetable(options);
}

const citygen::Timetable& LargeTimetable(int which) {
  static std::unique_ptr<citygen::Timetable> tables[2];
  if (!tables[which])
    tables[which] = std::make_unique<citygen::Timetable>(MakeLargeTimetable(which ? 10000 : 3000));
  return *tables[which];
}

const trip::TimedIndex& LargeIndex(int which) {
  static std::unique_ptr<trip::TimedIndex> indexes[2];
  QString error;
  if (!indexes[which]) indexes[which] = trip::BuildTimedIndex(LargeTimetable(which), error);
  return *indexes[which];
}

std::size_t Calls(const citygen::Timetable& table) {
  std::size_t calls = 0;
  for (const citygen::Trip& t : table.trips) calls += t.calls.size();
  return calls;
}

void Figures(benchmark::State& state, std::vector<double> millis) {
  std::sort(millis.begin(), millis.end());
  state.counters["median_ms"] = millis[millis.size() / 2];
  state.counters["p99_ms"] = millis[std::size_t(0.99 * double(millis.size()))];
  state.counters["max_ms"] = millis.back();
}

void BM_TimedBuild(benchmark::State& state) {
  const citygen::Timetable& table = LargeTimetable(int(state.range(0)));
  std::size_t bytes = 0, routes = 0;
  double cpu = 0;
  std::unique_ptr<trip::TimedIndex> index;
  for (auto _ : state) {
    state.PauseTiming();  // neither copying the timetable nor freeing the last index is building
    citygen::Timetable copy = table;
    index.reset();
    state.ResumeTiming();
    const double start = ThreadMillis();
    QString error;
    index = trip::BuildTimedIndex(std::move(copy), error);
    cpu = ThreadMillis() - start;
    bytes = index->MemoryBytes();
    routes = index->Routes().size();
  }
  state.counters["build_cpu_ms"] = cpu;
  state.counters["index_MB"] = double(bytes) / 1e6;
  state.counters["calls"] = double(Calls(table));
  state.counters["platforms"] = double(table.platforms.size());
  state.counters["routes"] = double(routes);
}

// Each query of the cases timed by the thread's CPU clock, in milliseconds; plans counts the answers.
std::vector<double> TimeQueries(const trip::TimedIndex& index, const std::vector<TimedQueryCase>& queries,
                                int windowSeconds, int& plans) {
  std::vector<double> millis;
  for (const TimedQueryCase& c : queries) {
    trip::TimedQuery q{c.from, c.to, c.day, c.seconds};
    q.windowSeconds = windowSeconds;
    const double start = ThreadMillis();
    const auto got = trip::SearchTimed(index, q);
    millis.push_back(ThreadMillis() - start);
    plans += int(got.size());
  }
  return millis;
}

void TimedQueries(benchmark::State& state, int count, unsigned seed, int windowSeconds) {
  const int which = int(state.range(0));
  const auto queries = RandomTimedQueries(LargeTimetable(which), count, seed);
  std::vector<double> millis;
  int plans = 0;
  for (auto _ : state) millis = TimeQueries(LargeIndex(which), queries, windowSeconds, plans);
  Figures(state, millis);
  state.counters["plans"] = plans;
}

void BM_TimedDepartAt(benchmark::State& state) { TimedQueries(state, 2000, 11, 0); }
void BM_TimedRange(benchmark::State& state) { TimedQueries(state, 200, 12, 3600); }

double PeakMegabytes() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return double(usage.ru_maxrss) / 1024;
}

void BM_TimedCityDatabase(benchmark::State& state) {
  const QString path = qEnvironmentVariable("QIWU_TRIP_BENCH_DB");
  if (path.isEmpty()) {
    state.SkipWithError("set QIWU_TRIP_BENCH_DB to a city database with a timetable");
    return;
  }
  for (auto _ : state) {
    const double before = PeakMegabytes();
    CityDatabase db;
    Outcome outcome;
    QString error;
    if (!db.Open(path, outcome)) return state.SkipWithError("cannot open the database");
    double start = ThreadMillis();
    citygen::Timetable table = trip::ReadTimetable(db, error);
    state.counters["read_ms"] = ThreadMillis() - start;
    if (table.Empty()) return state.SkipWithError("no timetable");
    const citygen::Timetable copy = table;  // the queries are drawn from it
    std::vector<walk::Street> streets;
    if (const QString gst = qEnvironmentVariable("QIWU_TRIP_BENCH_GST"); !gst.isEmpty()) {
      start = ThreadMillis();
      Workspace workspace;
      if (!LoadWorkspace(gst, workspace).ok()) return state.SkipWithError("cannot load the workspace");
      std::vector<Layer*> layers;
      for (const auto& layer : workspace.layers) layers.push_back(layer.get());
      streets = walk::StreetsOf(walk::WalkLayers(layers));
      state.counters["streets_ms"] = ThreadMillis() - start;
    }
    start = ThreadMillis();
    const auto index = trip::BuildTimedIndex(std::move(table), error, streets);
    state.counters["build_ms"] = ThreadMillis() - start;
    if (!index) return state.SkipWithError("the timetable cannot be used");
    state.counters["rss_growth_MB"] = PeakMegabytes() - before;
    state.counters["calls"] = double(Calls(copy));
    int plans = 0;
    std::vector<double> departAt = TimeQueries(*index, RandomTimedQueries(copy, 2000, 13), 0, plans);
    std::sort(departAt.begin(), departAt.end());
    state.counters["depart_median_ms"] = departAt[departAt.size() / 2];
    state.counters["depart_p99_ms"] = departAt[std::size_t(0.99 * double(departAt.size()))];
    std::vector<double> range = TimeQueries(*index, RandomTimedQueries(copy, 200, 13), 3600, plans);
    std::sort(range.begin(), range.end());
    state.counters["range_median_ms"] = range[range.size() / 2];
  }
}
BENCHMARK(BM_TimedCityDatabase)->Iterations(1)->Unit(benchmark::kSecond);

void BM_TimedAgrees(benchmark::State& state) {
  const citygen::Timetable table = GeneratedTimetable({});
  QString error;
  const auto index = trip::BuildTimedIndex(table, error);
  const TimetableOracle oracle(table);
  int disagreements = 0;
  for (auto _ : state) {
    for (const TimedQueryCase& c : RandomTimedQueries(table, 10000, 29)) {
      const auto expected = oracle.EarliestArrivals(c.from, c.to, c.day, c.seconds);
      std::vector<std::pair<int, int>> kept, got;
      int best = TimetableOracle::kNone;
      for (int r = 0; r <= trip::kMaxRides; ++r)
        if (expected[r] < best - 1) kept.push_back({r, best = expected[r]});
      for (const trip::TimedPlan& p : trip::SearchTimed(*index, {c.from, c.to, c.day, c.seconds}))
        got.push_back({p.rides, p.arrive});
      std::sort(got.begin(), got.end());
      disagreements += got != kept;
    }
  }
  state.counters["disagreements"] = disagreements;
}

BENCHMARK(BM_TimedBuild)->DenseRange(0, 1)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TimedDepartAt)->DenseRange(0, 1)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TimedRange)->DenseRange(0, 1)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TimedAgrees)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
