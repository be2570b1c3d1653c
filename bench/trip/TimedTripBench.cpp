// The timed search on a generated timetable network of about 5 million calls (3,000 stop
// clusters, 1,000 lines both ways, 10–30 stops, a trip every 4–12 minutes from 04:00 to 26:00):
//   BM_TimedBuild: the index built from the timetable; counters index_MB, calls, routes.
//   BM_TimedDepartAt: 2,000 random depart-at queries (≤ 4 rides); median_ms, p99_ms, max_ms.
//   BM_TimedRange: 200 random 60-minute range queries; median_ms, p99_ms.
//     Each query timed by the thread's CPU clock (the shared build machine is busy).
//   BM_TimedAgrees: 10,000 depart-at queries on the test's network against the connection scan;
//     counter disagreements (0 expected). Slow: run it with --benchmark_filter=Agrees when wanted.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>

#include "bus/TimedSearch.h"
#include "tests/support/TimedNetwork.h"
#include "tests/support/TimetableOracle.h"

namespace {

double ThreadMillis() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

const citygen::Timetable& LargeTimetable() {
  static const citygen::Timetable table = [] {
    TimedNetworkOptions options;
    options.clusters = 3000;
    options.lines = 1000;
    options.minStops = 10;
    options.maxStops = 30;
    options.minutesApart = 8;
    options.seed = 3;
    return GeneratedTimetable(options);
  }();
  return table;
}

const trip::TimedIndex& LargeIndex() {
  static const std::unique_ptr<trip::TimedIndex> index = [] {
    QString error;
    return trip::BuildTimedIndex(LargeTimetable(), error);
  }();
  return *index;
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
  const citygen::Timetable& table = LargeTimetable();
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

void BM_TimedDepartAt(benchmark::State& state) {
  const trip::TimedIndex& index = LargeIndex();
  const auto queries = RandomTimedQueries(LargeTimetable(), 2000, 11);
  std::vector<double> millis;
  int plans = 0;
  for (auto _ : state) {
    millis.clear();
    for (const TimedQueryCase& c : queries) {
      trip::TimedQuery q{c.from, c.to, c.day, c.seconds};
      const double start = ThreadMillis();
      const auto got = trip::SearchTimed(index, q);
      millis.push_back(ThreadMillis() - start);
      plans += int(got.size());
    }
  }
  Figures(state, millis);
  state.counters["plans"] = plans;
}

void BM_TimedRange(benchmark::State& state) {
  const trip::TimedIndex& index = LargeIndex();
  const auto queries = RandomTimedQueries(LargeTimetable(), 200, 12);
  std::vector<double> millis;
  int plans = 0;
  for (auto _ : state) {
    millis.clear();
    for (const TimedQueryCase& c : queries) {
      trip::TimedQuery q{c.from, c.to, c.day, c.seconds};
      q.windowSeconds = 3600;
      const double start = ThreadMillis();
      const auto got = trip::SearchTimed(index, q);
      millis.push_back(ThreadMillis() - start);
      plans += int(got.size());
    }
  }
  Figures(state, millis);
  state.counters["plans"] = plans;
}

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

BENCHMARK(BM_TimedBuild)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TimedDepartAt)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TimedRange)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TimedAgrees)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
