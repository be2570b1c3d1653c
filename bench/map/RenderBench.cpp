// Rendering speed at 1920 x 1080 with antialiasing and labels: the demo city, and a city ten times its
// size (generated once with `qiwu-citygen --scale 10` into $QIWU_SCALE10_DIR, default /tmp/qiwu-scale10)
// at full extent and at a 1,000-m view. Counters: features drawn, features a second, labels placed, and
// the resident memory (VmRSS) with the city loaded.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <memory>
#include <span>

#include "map/Renderer.h"
#include "map/Workspace.h"

namespace {

const QSize kScreen(1920, 1080);
const QString kCity = QStringLiteral("栖坞市");

QString ProgramDir() { return QFileInfo(QFile::symLinkTarget("/proc/self/exe")).absolutePath(); }

double ResidentMegabytes() {
  QFile status("/proc/self/status");
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
  }
  return 0;
}

double ProcessCpuMilliseconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

struct LoadedCity {
  Workspace workspace;
  std::vector<const Layer*> layers;
  MapRect extent;
  double residentMegabytes = 0;
};

// Workspaces are loaded once per process and kept for all benchmarks.
const LoadedCity* City(const QString& programDir) {
  static std::map<QString, std::unique_ptr<LoadedCity>> cities;
  auto& city = cities[programDir];
  if (city) return city.get();
  const QString gst = QDir(programDir).filePath("map/" + kCity + "/" + kCity + ".gst");
  if (!QFile::exists(gst) && programDir != ProgramDir()) {
    const QString command = QStringLiteral("\"%1/qiwu-citygen\" --out \"%2\" --scale 10 >/dev/null")
                                .arg(ProgramDir(), programDir);
    std::fprintf(stderr, "generating the scale-10 city into %s\n", qUtf8Printable(programDir));
    if (std::system(command.toUtf8().constData()) != 0) return nullptr;
  }
  city = std::make_unique<LoadedCity>();
  if (const MapResult r = LoadWorkspace(gst, city->workspace); !r.ok) {
    std::fprintf(stderr, "%s\n", qUtf8Printable(r.description));
    city.reset();
    return nullptr;
  }
  city->residentMegabytes = ResidentMegabytes();
  bool first = true;
  for (const auto& layer : city->workspace.layers) {
    city->layers.push_back(layer.get());
    if (layer->Store().Count() == 0) continue;
    const MapRect b = layer->Bounds();
    city->extent = first ? b
                         : MapRect{std::min(city->extent.minX, b.minX), std::min(city->extent.minY, b.minY),
                                   std::max(city->extent.maxX, b.maxX), std::max(city->extent.maxY, b.maxY)};
    first = false;
  }
  return city.get();
}

// Ten copies of the demo city side by side, five by two: a stand-in for the scale-10 city while
// generating that one takes longer than a benchmark run should wait.
const LoadedCity* TiledDemo() {
  static std::unique_ptr<LoadedCity> tiled;
  if (tiled) return tiled.get();
  const LoadedCity* demo = City(ProgramDir());
  if (!demo) return nullptr;
  tiled = std::make_unique<LoadedCity>();
  const double w = demo->extent.Width(), h = demo->extent.Height();
  std::vector<MapPoint> moved;
  for (const Layer* layer : demo->layers) {
    const FeatureStore& source = layer->Store();
    FeatureStore store(source.Fields());
    for (int copy = 0; copy < 10; ++copy) {
      const double dx = (copy % 5) * w, dy = (copy / 5) * h;
      for (int id = 1; id <= source.IdLimit(); ++id) {
        if (!source.Exists(id)) continue;
        std::vector<std::vector<MapPoint>> parts;
        for (int k = 0; k < source.PartCount(id); ++k) {
          parts.emplace_back();
          for (const MapPoint& p : source.Part(id, k)) parts.back().push_back({p.x + dx, p.y + dy});
        }
        std::vector<QString> values;
        for (int f = 0; f < source.Fields().size(); ++f) values.push_back(source.ValueOf(id, f).toString());
        const std::vector<std::span<const MapPoint>> spans(parts.begin(), parts.end());
        store.Add(source.TypeOf(id), spans, values);
      }
    }
    auto copy = std::make_unique<Layer>(layer->Name(), std::move(store));
    copy->SetStyle(layer->Style());
    copy->SetMaxVisibleWidth(layer->MaxVisibleWidth());
    copy->SetVisible(layer->Visible());
    tiled->layers.push_back(copy.get());
    tiled->workspace.layers.push_back(std::move(copy));
  }
  tiled->extent = {demo->extent.minX, demo->extent.minY, demo->extent.minX + 5 * w,
                   demo->extent.minY + 2 * h};
  tiled->workspace.file = demo->workspace.file;
  tiled->residentMegabytes = ResidentMegabytes();
  return tiled.get();
}

QString Scale10Dir() {
  const QByteArray dir = qgetenv("QIWU_SCALE10_DIR");
  return dir.isEmpty() ? QStringLiteral("/tmp/qiwu-scale10") : QString::fromLocal8Bit(dir);
}

enum class View { FullExtent, Workspace, Metres1000 };

void Render(benchmark::State& state, const LoadedCity* city, View which) {
  if (!city) {
    state.SkipWithError("the city could not be loaded");
    return;
  }
  MapView view;
  view.SetPixels(kScreen);
  if (which == View::FullExtent) view.FitRect(city->extent);
  if (which == View::Workspace)
    view = MapView(city->workspace.file.center, city->workspace.file.zoomLevel, kScreen);
  if (which == View::Metres1000) view = MapView(city->workspace.file.center, 1000, kScreen);  // the old town

  QImage image(kScreen, QImage::Format_ARGB32_Premultiplied);
  RenderStats stats;
  MapRenderer renderer;  // as a map widget keeps its own between drawings
  const double cpuBefore = ProcessCpuMilliseconds();
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter painter(&image);
    stats = renderer.Render(painter, city->layers, view);
  }
  // Qt may hand parts of the drawing to its worker threads; the process's CPU time counts them too.
  const double cpuPerRender = (ProcessCpuMilliseconds() - cpuBefore) / double(state.iterations());
  state.counters["process_cpu_ms"] = cpuPerRender;
  state.counters["features"] = stats.featuresDrawn;
  state.counters["labels"] = double(stats.labels.size());
  state.counters["features_per_s"] = benchmark::Counter(
      double(stats.featuresDrawn) * double(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["rss_MB_loaded"] = city->residentMegabytes;
  state.counters["view_width_m"] = view.Width();
  if (qEnvironmentVariableIsSet("QIWU_RENDER_PNG")) {
    image.save(
        QStringLiteral("%1/render-%2-%3.png").arg(QDir::tempPath()).arg(int(which)).arg(stats.featuresDrawn));
  }
}

void BM_DemoFullExtent(benchmark::State& state) { Render(state, City(ProgramDir()), View::FullExtent); }
void BM_DemoWorkspaceView(benchmark::State& state) { Render(state, City(ProgramDir()), View::Workspace); }
void BM_DemoView1000m(benchmark::State& state) { Render(state, City(ProgramDir()), View::Metres1000); }
void BM_Scale10FullExtent(benchmark::State& state) { Render(state, City(Scale10Dir()), View::FullExtent); }
void BM_Scale10View1000m(benchmark::State& state) { Render(state, City(Scale10Dir()), View::Metres1000); }
void BM_TiledDemoFullExtent(benchmark::State& state) { Render(state, TiledDemo(), View::FullExtent); }
void BM_TiledDemoView1000m(benchmark::State& state) { Render(state, TiledDemo(), View::Metres1000); }

BENCHMARK(BM_DemoFullExtent)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DemoWorkspaceView)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DemoView1000m)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Scale10FullExtent)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Scale10View1000m)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TiledDemoFullExtent)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TiledDemoView1000m)->Unit(benchmark::kMillisecond);

}  // namespace
