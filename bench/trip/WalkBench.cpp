// Walks along the streets of the demo city and the scale-10 city (as the generator makes them;
// their walked layers are the three street layers; their places two platforms at each point of the
// stop layer, 17 m apart across it, as a timetable's platforms stand on both sides of a street):
//   BM_WalkBuild: the network, its places joined, and the change walks between all places within
//     390 walked metres, by the thread's CPU clock; counters network_MB (network, places and change
//     walks), segments, places, change_walks.
//   BM_WalkQueries: the extra work of one trip between two random points of the city: the places
//     within 1,040 walked metres of the start and of the end, and the walks to the nearest of each
//     traced; counters median_ms, p99_ms, max_ms by the thread's CPU clock, places_per_end.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>

#include "bench/support/ThreadClock.h"
#include "bus/WalkNetwork.h"
#include "tools/citygen/Generator.h"

namespace {

struct WalkCity {
  std::vector<walk::Street> streets;
  std::vector<MapPoint> places;
  MapRect extent;
};

WalkCity CityOf(int scale) {
  citygen::Options options;
  options.scale = scale;
  const citygen::City city = citygen::Generate(options);
  WalkCity walked;
  walked.extent = {INFINITY, INFINITY, -INFINITY, -INFINITY};
  for (const citygen::Road& road : city.roads) {
    walk::Street& street = walked.streets.emplace_back();
    street.name = QString::fromStdString(road.name);
    auto& part = street.parts.emplace_back();
    for (const citygen::Vec2& v : road.line) {
      part.push_back({v.x + city.origin.x, v.y + city.origin.y});
      walked.extent = walked.extent.United({part.back().x, part.back().y, part.back().x, part.back().y});
    }
  }
  for (const citygen::Stop& stop : city.stops)
    for (const double side : {-6.0, 6.0})
      walked.places.push_back({stop.at.x + city.origin.x + side, stop.at.y + city.origin.y + side});
  return walked;
}

const WalkCity& WalkCityOf(int scale) {
  static const WalkCity demo = CityOf(1), scale10 = CityOf(10);
  return scale == 1 ? demo : scale10;
}

void BM_WalkBuild(benchmark::State& state) {
  const WalkCity& city = WalkCityOf(int(state.range(0)));
  double millis = 0;
  for (auto _ : state) {
    const double start = ThreadMillis();
    const walk::Network network(city.streets);
    const walk::Places places(network, city.places);
    const walk::ChangeWalks changes(network, places);
    millis = ThreadMillis() - start;
    std::size_t walks = 0;
    for (int p = 0; p < places.Count(); ++p) walks += changes.From(p).size();
    state.counters["network_MB"] =
        double(network.MemoryBytes() + places.MemoryBytes() + changes.MemoryBytes()) / 1e6;
    state.counters["segments"] = network.SegmentCount();
    state.counters["places"] = places.Count();
    state.counters["change_walks"] = double(walks);
  }
  state.counters["build_cpu_ms"] = millis;
  state.SetLabel(state.range(0) == 1 ? "demo" : "scale10");
}

void BM_WalkQueries(benchmark::State& state) {
  const WalkCity& city = WalkCityOf(int(state.range(0)));
  const walk::Network network(city.streets);
  const walk::Places places(network, city.places);
  walk::Walker walker(network);
  std::mt19937 random(17);
  std::uniform_real_distribution<double> x(city.extent.minX, city.extent.maxX),
      y(city.extent.minY, city.extent.maxY);
  std::vector<MapPoint> ends(20000);
  for (MapPoint& p : ends) p = {x(random), y(random)};
  std::vector<double> millis;
  std::size_t reachedCount = 0;
  for (auto _ : state) {
    millis.clear();
    for (std::size_t i = 0; i < ends.size(); i += 2) {
      const double start = ThreadMillis();
      for (const MapPoint end : {ends[i], ends[i + 1]}) {
        const std::vector<walk::Reach> reached = walker.Within(end, places, walk::kAccessWalkMetres);
        reachedCount += reached.size();
        const auto nearest =
            std::min_element(reached.begin(), reached.end(),
                             [](const walk::Reach& a, const walk::Reach& b) { return a.metres < b.metres; });
        if (nearest != reached.end())
          benchmark::DoNotOptimize(
              walker.Between(end, places.Point(nearest->place), walk::kAccessWalkMetres));
      }
      millis.push_back(ThreadMillis() - start);
    }
  }
  std::sort(millis.begin(), millis.end());
  state.SetLabel(state.range(0) == 1 ? "demo" : "scale10");
  state.counters["median_ms"] = millis[millis.size() / 2];
  state.counters["p99_ms"] = millis[std::size_t(0.99 * double(millis.size()))];
  state.counters["max_ms"] = millis.back();
  state.counters["places_per_end"] = double(reachedCount) / double(ends.size());
}

BENCHMARK(BM_WalkBuild)->Arg(1)->Arg(10)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WalkQueries)->Arg(1)->Arg(10)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
