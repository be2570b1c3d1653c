// The radius and nearest panels' searches on the demo city beside the program (build/bin),
// at seeded random points inside the city: what a click with the pick tool costs before the map
// is drawn again, in a fresh window and in one that has served many searches.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <map>
#include <random>

#include "app/frmMain.h"
#include "data/CityVocabulary.h"
#include "features/NearestPanel.h"
#include "features/RadiusPanel.h"
#include "kit/Messages.h"
#include "mapwidgets/MapControl.h"
#include "tests/app/WindowParts.h"

namespace {

frmMain* NewWindow() {
  auto* w = new frmMain(QCoreApplication::applicationDirPath());
  w->Form_Load();
  apptest::Part<RadiusPanel>(*w)->cmbType1->setCurrentText(city::layer::kDining);
  apptest::Part<NearestPanel>(*w)->cmbType2->setCurrentText(city::layer::kDining);
  apptest::Part<RadiusPanel>(*w)->txtRadius->setText(QStringLiteral("500"));
  return w;
}

frmMain& Window() {
  static frmMain* window = NewWindow();
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
  apptest::Part<RadiusPanel>(w)->txtRadius->setText(QString::number(state.range(0)));
  const std::vector<MapPoint> points = PointsInCity(256);
  std::size_t i = 0, found = 0;
  for (auto _ : state) {
    const MapPoint& p = points[i++ % points.size()];
    apptest::Part<RadiusPanel>(w)->RadiusSearch(p.x, p.y, w.lyrTempPoint);
    found += apptest::Part<RadiusPanel>(w)->lstShow2->count();
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
    apptest::Part<NearestPanel>(w)->NearestSearch(p.x, p.y, w.lyrTempPoint);
    benchmark::DoNotOptimize(apptest::Part<NearestPanel>(w)->txtNear->text());
  }
}
BENCHMARK(BM_NearestSearch)->Unit(benchmark::kMicrosecond);

void Search(frmMain& w, bool nearest, const MapPoint& p) {
  if (nearest)
    apptest::Part<NearestPanel>(w)->NearestSearch(p.x, p.y, w.lyrTempPoint);
  else
    apptest::Part<RadiusPanel>(w)->RadiusSearch(p.x, p.y, w.lyrTempPoint);
}

// A window of its own that has served this many searches, radius and nearest in turn.
frmMain& WindowAfter(int searches) {
  static std::map<int, frmMain*> windows;
  frmMain*& w = windows[searches];
  if (!w) {
    w = NewWindow();
    const std::vector<MapPoint> points = PointsInCity(256);
    for (int i = 0; i < searches; ++i) Search(*w, i % 2, points[std::size_t(i) % points.size()]);
  }
  return *w;
}

// The searches (radius 500 m, or nearest) of a window after 1 and after 200,000 earlier
// searches: a program that runs all day must answer the last as fast as the first. A fixed
// count keeps the timed searches from ageing the fresh window much.
void BM_SearchAfterUse(benchmark::State& state) {
  frmMain& w = WindowAfter(int(state.range(0)));
  const bool nearest = state.range(1) != 0;
  const std::vector<MapPoint> points = PointsInCity(256);
  std::size_t i = 0;
  for (auto _ : state) Search(w, nearest, points[i++ % points.size()]);
}
BENCHMARK(BM_SearchAfterUse)
    ->ArgNames({"searches", "nearest"})
    ->ArgsProduct({{1, 200000}, {0, 1}})
    ->Iterations(5000)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  qiwu::SetMessageSink([](const qiwu::Message&) {});
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
