// The trip planner on the demo city, the scale-10 city (both as the generator makes them) and a
// generated network of 3,000 lines:
//   BM_Build: the index built from the network; counter index_MB.
//   BM_Queries: 10,000 random place-to-place trips (half between stops, half between points);
//     counters median_ms, p99_ms, max_ms, each query timed by the thread's CPU clock, so that a
//     busy machine's waits do not count (the shared build machine runs at loads above 10).
//   BM_AgreesWithDijkstra: 10,000 trips against the referee; counter disagreements (0 expected).
//     Slow: run it with --benchmark_filter=Agrees when wanted.
#include <benchmark/benchmark.h>

#include <QHash>
#include <algorithm>

#include "bench/support/ThreadClock.h"
#include "bus/TripIndex.h"
#include "bus/TripSearch.h"
#include "tests/support/TripOracle.h"
#include "tools/citygen/Generator.h"

namespace {

constexpr int kTrips = 10000;

// The generator's city as ReadNetwork reads its data set: stops by name at the mean position.
trip::Network CityNetwork(int scale) {
  citygen::Options options;
  options.scale = scale;
  const citygen::City city = citygen::Generate(options);
  trip::Network network;
  QHash<QString, int> ids;
  std::vector<int> counts, byIndex;
  for (const citygen::Stop& stop : city.stops) {
    const QString name = QString::fromStdString(stop.name);
    auto id = ids.find(name);
    if (id == ids.end()) {
      id = ids.insert(name, int(network.stops.size()));
      network.stops.emplace_back().name = name;
      network.stops.back().placed = true;
      counts.push_back(0);
    }
    trip::Stop& s = network.stops[*id];
    s.position.x += stop.at.x + citygen::kOriginX;
    s.position.y += stop.at.y + citygen::kOriginY;
    ++counts[*id];
    byIndex.push_back(*id);
  }
  for (std::size_t s = 0; s < network.stops.size(); ++s) {
    network.stops[s].position.x /= counts[s];
    network.stops[s].position.y /= counts[s];
  }
  for (const citygen::BusLine& line : city.lines) {
    trip::Line& l = network.lines.emplace_back();
    l.name = QString::fromStdString(line.name);
    for (int stop : line.stops) l.stops.push_back(byIndex[std::size_t(stop)]);
  }
  return network;
}

const trip::Network& NetworkOf(int which) {
  static const trip::Network networks[] = {CityNetwork(1), CityNetwork(10), GeneratedTripNetwork(3000, 7)};
  return networks[which];
}

const char* const kNames[] = {"demo", "scale10", "3000_lines"};

void BM_Build(benchmark::State& state) {
  const trip::Network& network = NetworkOf(int(state.range(0)));
  std::size_t bytes = 0;
  for (auto _ : state) {
    const trip::Index index(network);
    bytes = index.MemoryBytes();
  }
  state.SetLabel(kNames[state.range(0)]);
  state.counters["index_MB"] = double(bytes) / 1e6;
  state.counters["stops"] = double(network.stops.size());
  state.counters["lines"] = double(network.lines.size());
}

void BM_Queries(benchmark::State& state) {
  const trip::Index index(NetworkOf(int(state.range(0))));
  const auto trips = RandomTrips(index.Net(), kTrips, 11);
  std::vector<double> millis;
  for (auto _ : state) {
    millis.clear();
    for (const auto& [from, to] : trips) {
      const double start = ThreadMillis();
      benchmark::DoNotOptimize(trip::Search(index, from, to));
      millis.push_back(ThreadMillis() - start);
    }
  }
  std::sort(millis.begin(), millis.end());
  state.SetLabel(kNames[state.range(0)]);
  state.counters["median_ms"] = millis[millis.size() / 2];
  state.counters["p99_ms"] = millis[std::size_t(0.99 * double(millis.size()))];
  state.counters["max_ms"] = millis.back();
}

void BM_AgreesWithDijkstra(benchmark::State& state) {
  const trip::Index index(NetworkOf(int(state.range(0))));
  const TripOracle oracle(index.Net());
  int disagreements = 0;
  for (auto _ : state) {
    for (const auto& [from, to] : RandomTrips(index.Net(), kTrips, 23)) {
      const auto expected = oracle.BestMinutes(from, to);
      const auto got = trip::Search(index, from, to, {trip::kMaxRides, true}).bestMinutes;
      for (int r = 0; r <= trip::kMaxRides; ++r)
        if (got[r] != expected[r] && !(std::abs(got[r] - expected[r]) <= trip::kTieMinutes + 1e-9)) {
          ++disagreements;
          break;
        }
    }
  }
  state.SetLabel(kNames[state.range(0)]);
  state.counters["disagreements"] = disagreements;
}

BENCHMARK(BM_Build)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Queries)->DenseRange(0, 2)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AgreesWithDijkstra)->DenseRange(0, 2)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
