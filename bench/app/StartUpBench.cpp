// How long the window takes to start (the load of frmMain: both workspaces, the database and
// the selectors) and to switch to the city again, on the demo city at a given scale.
// Run offscreen: QT_QPA_PLATFORM=offscreen app_startup_bench [--scale N]
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/frmMain.h"
#include "kit/Messages.h"
#include "mapwidgets/MapControl.h"
#include "tools/citygen/Generator.h"

namespace {

QString programDir;

void BM_StartUp(benchmark::State& state) {
  for (auto _ : state) {
    frmMain window(programDir);
    window.Form_Load();
    benchmark::DoNotOptimize(window.Map1->LayerCount());
  }
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond);

void BM_CitySwitch(benchmark::State& state) {
  frmMain window(programDir);
  window.Form_Load();
  for (auto _ : state) window.cmbCity_Click();
}
BENCHMARK(BM_CitySwitch)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  int scale = 1;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "--scale") == 0) scale = std::atoi(argv[i + 1]);
  QTemporaryDir dir;
  citygen::Options options;
  options.outDir = dir.path().toStdString();
  options.scale = scale;
  const std::string error = citygen::WriteDataSet(citygen::Generate(options), options.outDir);
  if (!error.empty()) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  programDir = dir.path();
  qiwu::SetMessageSink([](const qiwu::Message& m) { std::fprintf(stderr, "%s\n", qUtf8Printable(m.text)); });

  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
