// The transfer search on a city read from a server beside the same city read from its files: the
// demo city (scale 1) and the scale-10 city, each published to the benchmark's own cluster.
//   build/bin/server_bus_bench
// BM_TransferSearchServerCity/scale/backend (backend 0: files, 1: server): per-search time of the
// program's search, the time to read the bus table and build the index from it, and, as the
// measure the index replaces, the search by statements on a few pairs.
// BM_BusBatch/scale/backend: qiwu-cli bus --batch on 2,000 pairs, the whole process. The
// environment variable QIWU_BENCH_CLI names another qiwu-cli to time (another build).
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <chrono>
#include <map>
#include <memory>

#include "bus/BusNetworkIndex.h"
#include "bus/modBusChange.h"
#include "data/BusTable.h"
#include "data/CityDatabase.h"
#include "data/CityPaths.h"
#include "data/CityVocabulary.h"
#include "data/ServerCity.h"
#include "tests/server/ServerCluster.h"

namespace {

const QString kCity = QStringLiteral("栖坞市");
const QString kBus = QString::fromUtf8(city::kBusTable);
constexpr int kPairs = 2000;
constexpr int kPairsByStatements = 20;

using Clock = std::chrono::steady_clock;
double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// One generated city published to a database of the shared cluster, its stops and 2,000 pairs.
struct Published {
  QTemporaryDir programDir;
  QString failure;
  QStringList stops;
  std::vector<std::pair<QString, QString>> pairs;
  QString batchFile;

  explicit Published(int scale) {
    ServerCluster& cluster = ServerCluster::Shared();
    if (!cluster.Unavailable().isEmpty()) {
      failure = cluster.Unavailable();
      return;
    }
    failure = cluster.PublishDemoCity(programDir.path(), QStringLiteral("city%1").arg(scale), scale);
    if (!failure.isEmpty()) return;
    CityDatabase files;
    Outcome error;
    files.Open(qiwu::DatabasePath(programDir.path(), kCity), error);
    if (const auto rows = files.Query("select distinct 站名 from 公交信息 order by 站名", error))
      for (const auto& row : rows->Rows()) stops << row.at(0).toString();
    if (stops.isEmpty()) {
      failure = QStringLiteral("no stops");
      return;
    }
    QByteArray lines;
    for (int k = 0; k < kPairs; ++k) {
      pairs.emplace_back(stops[(k * 7919) % stops.size()], stops[(k * 104729 + 13) % stops.size()]);
      lines += (pairs.back().first + '\t' + pairs.back().second + '\n').toUtf8();
    }
    batchFile = programDir.filePath("pairs.tsv");
    QFile file(batchFile);
    if (!file.open(QIODevice::WriteOnly) || file.write(lines) != lines.size()) failure = "cannot write pairs";
  }

  QString DatabaseFile(bool server) const {
    return server ? qiwu::ServerCityPath(programDir.path(), kCity)
                  : qiwu::DatabasePath(programDir.path(), kCity);
  }
};

// The cities share the cluster and its list of servers, which allows it.
Published& City(int scale) {
  static QTemporaryDir configDir;
  static std::map<int, std::unique_ptr<Published>> cities;
  if (cities.empty()) {
    qputenv("XDG_CONFIG_HOME", configDir.path().toUtf8());
    QDir().mkpath(configDir.path() + "/qiwu");
    QFile list(qiwu::AllowedServersPath());
    if (list.open(QIODevice::WriteOnly))
      list.write(QString("127.0.0.1:%1\n").arg(ServerCluster::Shared().Port()).toUtf8());
  }
  std::unique_ptr<Published>& city = cities[scale];
  if (!city) city = std::make_unique<Published>(scale);
  return *city;
}

void BM_TransferSearchServerCity(benchmark::State& state) {
  const Published& city = City(int(state.range(0)));
  if (!city.failure.isEmpty()) {
    state.SkipWithError(city.failure.toStdString().c_str());
    return;
  }
  const bool server = state.range(1) == 1;
  CityDatabase database;
  Outcome error;
  if (!database.Open(city.DatabaseFile(server), error)) {
    state.SkipWithError(error.description.toStdString().c_str());
    return;
  }
  Clock::time_point start = Clock::now();
  const BusTable table = BusTable::Read(database, kBus);
  const double readSeconds = Seconds(Clock::now() - start);
  start = Clock::now();
  const std::unique_ptr<modBusChange::BusNetworkIndex> index = modBusChange::BusNetworkIndex::Build(table);
  const double buildSeconds = Seconds(Clock::now() - start);
  if (!index) {
    state.SkipWithError("the index does not stand in for the statements on this city");
    return;
  }
  benchmark::DoNotOptimize(
      modBusChange::FindBusChange(database, city.pairs[0].first, city.pairs[0].second, kBus));
  start = Clock::now();
  for (int i = 1; i <= kPairsByStatements; ++i) {
    const auto& [from, to] = city.pairs[std::size_t(i)];
    benchmark::DoNotOptimize(modBusChange::FindBusChangeByQueries(database, from, to, kBus));
  }
  const double statementSeconds = Seconds(Clock::now() - start);
  std::size_t next = 0;
  for (auto _ : state) {
    const auto& [from, to] = city.pairs[next++ % city.pairs.size()];
    benchmark::DoNotOptimize(modBusChange::FindBusChange(database, from, to, kBus));
  }
  state.counters["rows"] = double(table.Rows().size());
  state.counters["read_ms"] = readSeconds * 1e3;
  state.counters["index_build_ms"] = buildSeconds * 1e3;
  state.counters["statements_us_per_search"] = statementSeconds * 1e6 / kPairsByStatements;
}
BENCHMARK(BM_TransferSearchServerCity)
    ->ArgsProduct({{1, 10}, {0, 1}})
    ->ArgNames({"scale", "server"})
    ->Unit(benchmark::kMicrosecond);

void BM_BusBatch(benchmark::State& state) {
  const Published& city = City(int(state.range(0)));
  if (!city.failure.isEmpty()) {
    state.SkipWithError(city.failure.toStdString().c_str());
    return;
  }
  const QString cli = qEnvironmentVariableIsSet("QIWU_BENCH_CLI") ? qEnvironmentVariable("QIWU_BENCH_CLI")
                                                                  : QStringLiteral(QIWU_CLI);
  for (auto _ : state) {
    QProcess process;
    process.start(cli, {"--root", city.programDir.path(), "--db", city.DatabaseFile(state.range(1) == 1),
                        "bus", "--batch", city.batchFile});
    if (!process.waitForFinished(600000) || process.exitCode() != 0)
      state.SkipWithError(process.readAllStandardError().toStdString().c_str());
  }
}
BENCHMARK(BM_BusBatch)
    ->ArgsProduct({{1, 10}, {0, 1}})
    ->ArgNames({"scale", "server"})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
