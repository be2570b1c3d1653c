// Rendering speed at 1920 x 1080 with antialiasing and labels: the demo city, and a city ten times its
// size (generated once with `qiwu-citygen --scale 10` into $QIWU_SCALE10_DIR, default /tmp/qiwu-scale10)
// at full extent and at a 1,000-m view. Counters: features drawn, features a second, labels placed, and
// the resident memory (VmRSS) with the city loaded.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <memory>

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

QString Scale10Dir() {
  const QByteArray dir = qgetenv("QIWU_SCALE10_DIR");
  return dir.isEmpty() ? QStringLiteral("/tmp/qiwu-scale10") : QString::fromLocal8Bit(dir);
}

enum class View { FullExtent, Workspace, Metres1000 };

void Render(benchmark::State& state, const QString& programDir, View which) {
  const LoadedCity* city = City(programDir);
  if (!city) {
    state.SkipWithError("the city could not be loaded");
    return;
  }
  MapView view;
  view.SetPixels(kScreen);
  if (which == View::FullExtent) view.FitRect(city->extent);
  if (which == View::Workspace)
    view = MapView(city->workspace.file.center, city->workspace.file.zoomLevel, kScreen);
  if (which == View::Metres1000)
    view = MapView({city->extent.CenterX(), city->extent.CenterY()}, 1000, kScreen);

  QImage image(kScreen, QImage::Format_ARGB32_Premultiplied);
  RenderStats stats;
  const double cpuBefore = ProcessCpuMilliseconds();
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter painter(&image);
    stats = RenderMap(painter, city->layers, view);
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
    image.save(QStringLiteral("%1/render-%2-%3.png")
                   .arg(QDir::tempPath())
                   .arg(int(which))
                   .arg(QFileInfo(programDir).fileName()));
  }
}

void BM_DemoFullExtent(benchmark::State& state) { Render(state, ProgramDir(), View::FullExtent); }
void BM_DemoWorkspaceView(benchmark::State& state) { Render(state, ProgramDir(), View::Workspace); }
void BM_DemoView1000m(benchmark::State& state) { Render(state, ProgramDir(), View::Metres1000); }
void BM_Scale10FullExtent(benchmark::State& state) { Render(state, Scale10Dir(), View::FullExtent); }
void BM_Scale10View1000m(benchmark::State& state) { Render(state, Scale10Dir(), View::Metres1000); }

BENCHMARK(BM_DemoFullExtent)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DemoWorkspaceView)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DemoView1000m)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Scale10FullExtent)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Scale10View1000m)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
