// The radius and nearest panels' searches on the demo city beside the program (build/bin),
// at seeded random points inside the city: what a click with the pick tool costs before the map
// is drawn again.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <random>

#include "app/frmMain.h"
#include "data/CityVocabulary.h"
#include "features/NearestPanel.h"
#include "features/RadiusPanel.h"
#include "kit/Messages.h"
#include "map/MapControl.h"

namespace {

frmMain& Window() {
  static frmMain* window = [] {
    auto* w = new frmMain(QCoreApplication::applicationDirPath());
    w->Form_Load();
    w->radius->cmbType1->setCurrentText(city::layer::kDining);
    w->nearest->cmbType2->setCurrentText(city::layer::kDining);
    return w;
  }();
  return *window;
}

std::vector<MapPoint> PointsInCity(int count) {
  const MapRect city = Window().Map1->FindLayer(city::layer::kDining)->Bounds();
  std::mt19937 random(42);
  std::uniform_real_distribution<double> x(city.minX, city.maxX), y(city.minY, city.maxY);
  std::vector<MapPoint> points(count);
  for (MapPoint& p : points) p = {x(random), y(random)};
  return points;
}

void BM_RadiusSearch(benchmark::State& state) {
  frmMain& w = Window();
  w.radius->txtRadius->setText(QString::number(state.range(0)));
  const std::vector<MapPoint> points = PointsInCity(256);
  std::size_t i = 0, found = 0;
  for (auto _ : state) {
    const MapPoint& p = points[i++ % points.size()];
    w.radius->RadiusSearch(p.x, p.y);
    found += w.radius->lstShow2->count();
  }
  state.counters["found"] = benchmark::Counter(double(found) / state.iterations());
}
BENCHMARK(BM_RadiusSearch)->Arg(500)->Arg(2000)->Unit(benchmark::kMicrosecond);

void BM_NearestSearch(benchmark::State& state) {
  frmMain& w = Window();
  const std::vector<MapPoint> points = PointsInCity(256);
  std::size_t i = 0;
  for (auto _ : state) {
    const MapPoint& p = points[i++ % points.size()];
    w.nearest->NearestSearch(p.x, p.y);
    benchmark::DoNotOptimize(w.nearest->txtNear->text());
  }
}
BENCHMARK(BM_NearestSearch)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  qiwu::SetMessageSink([](const qiwu::Message&) {});
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
