// The transfer search on a generated network of 3,000 lines × 40 stops (120,000 rows).
//   BM_SearchesAfterOpening: 10,000 random pairs searched right after opening, the first search
//     building the index; reports the median, 99th percentile and slowest search, the build
//     time on its own, the index's memory, and the speed-up over the search by statements on
//     the first pairs, all in one run.
//   BM_IndexedSearch: the indexed search alone, cycling through the pairs.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <memory>

#include "bus/BusNetworkIndex.h"
#include "bus/modBusChange.h"
#include "data/BusTable.h"
#include "data/CityVocabulary.h"
#include "data/modDBAccess.h"
#include "tests/bus/BusNetworkFixture.h"

namespace {

// The benchmark program owns the city database the routines read, as the program does.
CityDatabase benchDatabase;
const modDBAccess::CurrentCity benchCity(benchDatabase);

using Clock = std::chrono::steady_clock;
const QString kTable = city::kBusTable;
constexpr NetworkShape kShape{
    .lines = 3000, .stopsPerLine = 40, .gridSide = 80, .seed = 2026, .quirks = false};
constexpr int kPairs = 10000;
constexpr int kPairsByStatements = 5;

struct Network {
  std::vector<BusRow> rows = GenerateNetwork(kShape);
  BusDatabase database{rows};
  std::vector<std::pair<QString, QString>> pairs = RandomPairs(StopNames(rows), kPairs, 99);
};

Network& TheNetwork() {
  static Network network;
  return network;
}

double Micros(Clock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }

double Percentile(std::vector<double> values, double p) {
  std::sort(values.begin(), values.end());
  return values[std::min(values.size() - 1, std::size_t(p * double(values.size())))];
}

void BM_SearchesAfterOpening(benchmark::State& state) {
  Network& network = TheNetwork();
  for (auto _ : state) {
    if (!network.database.Open()) state.SkipWithError("cannot open the network");
    std::vector<double> micros;
    micros.reserve(network.pairs.size());
    for (const auto& [from, to] : network.pairs) {
      const Clock::time_point start = Clock::now();
      benchmark::DoNotOptimize(modBusChange::FindBusChange(from, to, kTable));
      micros.push_back(Micros(Clock::now() - start));
    }
    double byStatements = 0;
    double indexed = 0;
    for (int i = 1; i <= kPairsByStatements; ++i) {  // pair 0's time holds the build
      const auto& [from, to] = network.pairs[std::size_t(i)];
      const Clock::time_point start = Clock::now();
      benchmark::DoNotOptimize(modBusChange::FindBusChangeByQueries(from, to, kTable));
      byStatements += Micros(Clock::now() - start);
      indexed += micros[std::size_t(i)];
    }

    const struct mallinfo2 before = mallinfo2();
    const Clock::time_point start = Clock::now();
    const std::unique_ptr<modBusChange::BusNetworkIndex> index =
        modBusChange::BusNetworkIndex::Build(BusTable::Read(*modDBAccess::cnnCity, kTable));
    const double buildMicros = Micros(Clock::now() - start);
    const struct mallinfo2 after = mallinfo2();

    state.counters["rows"] = double(index->RowCount());
    state.counters["first_search_ms"] = micros.front() / 1000;
    state.counters["build_ms"] = buildMicros / 1000;
    state.counters["median_us"] = Percentile(micros, 0.5);
    state.counters["p99_us"] = Percentile(micros, 0.99);
    state.counters["max_us"] = Percentile(micros, 1.0);
    state.counters["statements_us_per_search"] = byStatements / kPairsByStatements;
    state.counters["speedup"] = byStatements / indexed;
    state.counters["index_MB"] = double(index->MemoryBytes()) / 1e6;
    state.counters["index_heap_MB"] = double(after.uordblks - before.uordblks) / 1e6;
  }
}
BENCHMARK(BM_SearchesAfterOpening)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_IndexedSearch(benchmark::State& state) {
  Network& network = TheNetwork();
  if (!network.database.Open()) state.SkipWithError("cannot open the network");
  modBusChange::FindBusChange(network.pairs[0].first, network.pairs[0].second, kTable);  // builds
  std::size_t i = 0;
  for (auto _ : state) {
    const auto& [from, to] = network.pairs[i++ % network.pairs.size()];
    benchmark::DoNotOptimize(modBusChange::FindBusChange(from, to, kTable));
  }
}
BENCHMARK(BM_IndexedSearch)->Unit(benchmark::kMicrosecond);

}  // namespace
