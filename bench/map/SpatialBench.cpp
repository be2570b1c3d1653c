// Spatial searches on a layer of 1,000,000 points, and loading the demo city's workspaces.
// Run from build/bin (the program directory) so that the demo city is found.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "map/Layer.h"
#include "map/Workspace.h"

namespace {

constexpr int kPoints = 1'000'000;
// 51.2 km square: a 500 m circle holds about 300 points, as in a large city's point layer.
constexpr double kSide = 51200;

struct FixedTolerance : LayerHost {
  void LayerSelectionChanged(Layer&) override {}
  void LayerContentChanged(Layer&) override {}
  double PickTolerance() const override { return 20; }  // 4 pixels at 5 m a pixel
};

long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    long value = 0;
    if (key == "VmRSS:" && status >> value) return value;
  }
  return 0;
}

Layer& MillionPoints() {
  static std::unique_ptr<Layer> layer = [] {
    std::mt19937_64 random(42);
    std::uniform_real_distribution<double> coord(0, kSide);
    FeatureStore store({QStringLiteral("name")});
    store.Reserve(kPoints, kPoints);
    for (int i = 0; i < kPoints; ++i) {
      const MapPoint p{coord(random), coord(random)};
      const QString name[] = {QStringLiteral("地物%1").arg(i)};
      store.Add(kFeaturePoint, std::span<const MapPoint>(&p, 1), name);
    }
    return std::make_unique<Layer>(QStringLiteral("points"), std::move(store));
  }();
  return *layer;
}

std::vector<MapPoint> QueryPoints() {
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> coord(1000, kSide - 1000);
  std::vector<MapPoint> points(4096);
  for (MapPoint& p : points) p = {coord(random), coord(random)};
  return points;
}

void BM_BuildMillionPointLayer(benchmark::State& state) {
  for (auto _ : state) {
    const long before = ResidentKiB();
    benchmark::DoNotOptimize(&MillionPoints());
    state.counters["layer_MiB"] = double(ResidentKiB() - before) / 1024;
  }
}
BENCHMARK(BM_BuildMillionPointLayer)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_Nearest(benchmark::State& state) {
  Layer& layer = MillionPoints();
  const std::vector<MapPoint> queries = QueryPoints();
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(layer.NearestFeature(queries[i++ % queries.size()]).Id());
}
BENCHMARK(BM_Nearest)->Unit(benchmark::kMicrosecond);

void BM_Radius500(benchmark::State& state) {
  Layer& layer = MillionPoints();
  const std::vector<MapPoint> queries = QueryPoints();
  std::size_t i = 0;
  long hits = 0;
  for (auto _ : state) {
    const FeatureSet found =
        layer.FeaturesWithinDistance(queries[i++ % queries.size()], 500, kUnitMetres, kSearchWhollyWithin);
    hits += found.Count();
  }
  state.counters["hits"] = double(hits) / double(state.iterations());
}
BENCHMARK(BM_Radius500)->Unit(benchmark::kMicrosecond);

void BM_SelectAtPoint(benchmark::State& state) {
  Layer& layer = MillionPoints();
  FixedTolerance host;
  layer.SetHost(&host);
  std::vector<MapPoint> targets;
  for (int id = 1; id <= 4096; ++id) targets.push_back(layer.Store().CenterOf(id * 97));
  std::size_t i = 0;
  for (auto _ : state) {
    const MapPoint p = targets[i++ % targets.size()];
    layer.Selection().SelectAtPoint(p.x + 3, p.y - 3, kSelectionNew);
    benchmark::DoNotOptimize(layer.Selection().Count());
  }
  layer.SetHost(nullptr);
}
BENCHMARK(BM_SelectAtPoint)->Unit(benchmark::kMicrosecond);

void BM_LoadDemoWorkspaces(benchmark::State& state) {
  const std::filesystem::path dir =
      std::filesystem::read_symlink("/proc/self/exe").parent_path() / "map" / "栖坞市";
  const QString main = QString::fromStdString((dir / "栖坞市.gst").string());
  const QString overview = QString::fromStdString((dir / "栖坞市2.gst").string());
  for (auto _ : state) {
    Workspace a, b;
    const Outcome ra = LoadWorkspace(main, a);
    const Outcome rb = LoadWorkspace(overview, b);
    if (!ra.ok() || !rb.ok()) {
      state.SkipWithError((ra.ok() ? rb : ra).description.toStdString().c_str());
      return;
    }
  }
}
BENCHMARK(BM_LoadDemoWorkspaces)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
