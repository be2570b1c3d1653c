// Rendering speed at 1920 x 1080 with antialiasing and labels: the demo city, and a city ten times its
// size (generated once with `qiwu-citygen --scale 10` into $QIWU_SCALE10_DIR, default /tmp/qiwu-scale10)
// at full extent and at a 1,000-m view; and the synthetic set other engines render too (SyntheticCity.h,
// docs/render-benchmark.md) at 205,000 features and 4 and 16 times that. Counters: features drawn,
// features a second, labels placed, the resident memory (VmRSS) with the city loaded, and for the
// synthetic set the memory rendering adds (peak RSS over the renders minus RSS before them).
#include <benchmark/benchmark.h>

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QTimer>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <memory>
#include <span>

#include "SyntheticCity.h"
#include "map/Renderer.h"
#include "map/Workspace.h"
#include "map/render/RenderWorker.h"

namespace {

const QSize kScreen(1920, 1080);
const QString kCity = QStringLiteral("栖坞市");

QString ProgramDir() { return QFileInfo(QFile::symLinkTarget("/proc/self/exe")).absolutePath(); }

// A figure of /proc/self/status in MiB: VmRSS (resident now) or VmHWM (peak since the last reset).
double StatusMegabytes(const char* key = "VmRSS:") {
  QFile status("/proc/self/status");
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith(key))
      return line.mid(int(qstrlen(key))).trimmed().split(' ').first().toDouble() / 1024;
  }
  return 0;
}

double ResidentMegabytes() { return StatusMegabytes(); }

// Starts VmHWM afresh at the present resident size.
void ResetPeakResident() {
  QFile clear("/proc/self/clear_refs");
  if (clear.open(QIODevice::WriteOnly)) clear.write("5");
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
  if (const Outcome r = LoadWorkspace(gst, city->workspace); !r.ok()) {
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

// The synthetic set at scale (1, 4, 16); one scale is kept loaded at a time, so that the peak memory
// of a render is that of its own data. $QIWU_SYNTH_WORKSPACE names a folder to write the set and a
// workspace for it into, for other engines to render the same features.
const SyntheticCity& Synthetic(int scale) {
  static std::unique_ptr<SyntheticCity> city;
  static int loaded = 0;
  if (loaded != scale) {
    city.reset();
    city = std::make_unique<SyntheticCity>(MakeSyntheticCity(scale, 1));
    loaded = scale;
    if (const QByteArray dir = qgetenv("QIWU_SYNTH_WORKSPACE"); !dir.isEmpty() && scale == 1)
      WriteSyntheticWorkspace(*city, dir.constData(), 1);
  }
  return *city;
}

// The lines' style: of the given width, and with cases (a colour for each of the kinds 0 to 3, the
// other four kinds in the layer's own style) when asked.
LayerStyle SyntheticLineStyle(const LayerStyle& from, double linePixels, bool cases) {
  LayerStyle style = from;
  style.penWidth = MakeSyntheticCity(0, linePixels).layers[1]->Style().penWidth;
  style.cases.clear();
  style.caseField = cases ? QStringLiteral("kind") : QString();
  const LayerStyle base = style;
  for (int kind = 0; cases && kind < 4; ++kind) {
    StyleCase& c = style.cases.emplace_back(StyleCase{QString::number(kind), {}, base});
    c.style.penColor = QColor::fromHsv(90 * kind, 200, 200);
  }
  return style;
}

// The synthetic set at a scale, its lines linePixels wide, alone or with the other layers, in style
// cases or not. Counters as for the cities, the memory rendering adds, and the time the lines' style
// takes to set (finding each line's case).
void RenderSynthetic(benchmark::State& state, int scale, double linePixels, bool linesOnly, bool cases) {
  const SyntheticCity& city = Synthetic(scale);
  const double setBefore = ProcessCpuMilliseconds();
  city.layers[1]->SetStyle(SyntheticLineStyle(city.layers[1]->Style(), linePixels, cases));
  state.counters["set_style_ms"] = ProcessCpuMilliseconds() - setBefore;
  std::vector<const Layer*> layers = city.BottomToTop();
  if (linesOnly) layers = {city.layers[1].get()};
  const MapView view = SyntheticView();

  QImage image(view.Pixels(), QImage::Format_ARGB32_Premultiplied);
  MapRenderer renderer;
  RenderStats stats;
  const double before = ResidentMegabytes();
  ResetPeakResident();
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter painter(&image);
    stats = renderer.Render(painter, layers, view);
  }
  state.counters["features"] = stats.featuresDrawn;
  state.counters["features_per_s"] = benchmark::Counter(
      double(stats.featuresDrawn) * double(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["rss_MB_loaded"] = before;
  state.counters["peak_MB"] = StatusMegabytes("VmHWM:");
  state.counters["render_added_MB"] = StatusMegabytes("VmHWM:") - before;
  if (qEnvironmentVariableIsSet("QIWU_RENDER_PNG")) {
    image.save(QStringLiteral("%1/synth-%2-%3-%4%5.png")
                   .arg(QDir::tempPath())
                   .arg(scale)
                   .arg(std::lround(linePixels * 100))
                   .arg(int(linesOnly))
                   .arg(cases ? "-cases" : ""));
  }
}

// range(0): scale; range(1): line width in hundredths of a pixel; range(2): 1 to draw the lines alone.
void BM_Synthetic(benchmark::State& state) {
  RenderSynthetic(state, int(state.range(0)), double(state.range(1)) / 100, state.range(2) != 0, false);
}

// The same with the lines in four style cases of their kind and the rest in the layer's style.
void BM_SyntheticLineCases(benchmark::State& state) {
  RenderSynthetic(state, int(state.range(0)), double(state.range(1)) / 100, state.range(2) != 0, true);
}

BENCHMARK(BM_Synthetic)
    ->ArgNames({"scale", "line_px100", "lines_only"})
    ->Args({1, 100, 0})
    ->Args({1, 110, 0})
    ->Args({1, 200, 0})
    ->Args({1, 200, 1})
    ->Args({4, 100, 0})
    ->Args({16, 100, 0})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SyntheticLineCases)
    ->ArgNames({"scale", "line_px100", "lines_only"})
    ->Args({1, 100, 0})
    ->Args({1, 200, 1})
    ->Args({4, 100, 0})
    ->Unit(benchmark::kMillisecond);
// The longest the event loop waits for its next turn while the 3.3-million-feature set is drawn, the
// way a map widget has it drawn: a snapshot of its layers taken on the event loop's thread, the frame
// drawn on the worker's and handed back. A 1-ms timer measures the gaps between the loop's turns.
void BM_EventLoopStallDuringRender(benchmark::State& state) {
  const SyntheticCity& city = Synthetic(16);
  using Clock = std::chrono::steady_clock;
  double longest = 0, frame = 0;
  for (auto _ : state) {
    QEventLoop loop;
    QTimer tick;
    tick.setInterval(1);
    Clock::time_point last = Clock::now();
    const Clock::time_point start = last;
    longest = 0;
    QObject::connect(&tick, &QTimer::timeout, [&] {
      const Clock::time_point now = Clock::now();
      longest = std::max(longest, std::chrono::duration<double, std::milli>(now - last).count());
      last = now;
    });
    RenderWorker worker(
        [&](RenderedFrame) { QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection); });
    tick.start();
    worker.Request(Snapshots(city.BottomToTop()), SyntheticView(), 1);
    loop.exec();
    frame = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  }
  state.counters["longest_stall_ms"] = longest;
  state.counters["frame_ms"] = frame;
}
BENCHMARK(BM_EventLoopStallDuringRender)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK(BM_DemoFullExtent)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DemoWorkspaceView)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DemoView1000m)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Scale10FullExtent)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Scale10View1000m)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TiledDemoFullExtent)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TiledDemoView1000m)->Unit(benchmark::kMillisecond);

}  // namespace
