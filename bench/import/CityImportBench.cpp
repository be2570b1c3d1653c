// A whole import at scale: the generated city at scale 10 written as an OpenStreetMap extract and
// a GTFS feed, then imported by ImportCity as qiwu-import runs it (GDAL locked down the same way).
// peak_rss_MB is the process's peak so far: run this case alone (--benchmark_filter=CityImport)
// for the import's own peak; the generated city's model is part of it.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <string>

#include "import/CityImport.h"
#include "map/GdalLockDown.h"
#include "tools/citygen/Generator.h"
#include "tools/citygen/GtfsWriter.h"
#include "tools/citygen/OsmWriter.h"

namespace {

void BM_CityImportScale10(benchmark::State& state) {
  LockDownGdal({QStringLiteral("OSM"), QStringLiteral("GPKG")}, {QStringLiteral("/vsizip/")});
  QTemporaryDir dir;
  const std::string osm = dir.filePath("city.osm").toStdString(), feed = dir.filePath("gtfs").toStdString();
  {
    citygen::Options options;
    options.scale = 10;
    const citygen::City city = citygen::Generate(options);
    if (!citygen::WriteOsmXml(city, osm).empty() || !citygen::WriteGtfsFeed(city, feed).empty()) {
      state.SkipWithError("could not write the sources");
      return;
    }
  }
  int run = 0;
  for (auto _ : state) {
    qiwu::import::ImportRequest request;
    request.city = "十倍市" + std::to_string(++run);
    request.programDir = dir.path().toStdString();
    request.osm = osm;
    request.gtfs = {feed};
    benchmark::DoNotOptimize(qiwu::import::ImportCity(request, [](const std::string&) {}));
  }
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_rss_MB"] = double(usage.ru_maxrss) / 1024;
}
BENCHMARK(BM_CityImportScale10)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
