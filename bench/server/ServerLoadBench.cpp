// Many desks on one server: 32 qiwu-cli clients at once, each running transfer and keyword searches
// one after the other against the published demo city (primary, hot standby, and the files for
// comparison); and the start-up of a desk (database and both workspaces) against the server.
//   build/bin/server_load_bench
// Counters: searches/s over all clients, p99 and median latency of one qiwu-cli run, the most
// server connections seen at once (pg_stat_activity, the desk role) and per desk.
#include <benchmark/benchmark.h>
#include <libpq-fe.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "data/CityDatabase.h"
#include "data/CityPaths.h"
#include "data/ServerCity.h"
#include "map/Workspace.h"
#include "tests/server/ServerCluster.h"

namespace {

const QString kCity = QStringLiteral("栖坞市");
constexpr int kDesks = 32;
constexpr int kSearchesPerDesk = 8;

struct Published {
  QTemporaryDir programDir;
  QTemporaryDir configDir;
  QString failure;
  QStringList stops;
  QString standbyFile;

  Published() {
    ServerCluster& cluster = ServerCluster::Shared();
    if (!cluster.Unavailable().isEmpty()) {
      failure = cluster.Unavailable();
      return;
    }
    failure = cluster.PublishDemoCity(programDir.path(), "city");
    if (!failure.isEmpty()) return;
    const int standby = cluster.StandbyPort();
    qputenv("XDG_CONFIG_HOME", configDir.path().toUtf8());
    QDir().mkpath(configDir.path() + "/qiwu");
    QFile list(qiwu::AllowedServersPath());
    list.open(QIODevice::WriteOnly);
    list.write(QString("127.0.0.1:%1\n127.0.0.1:%2\n").arg(cluster.Port()).arg(standby).toUtf8());
    list.close();
    standbyFile = programDir.path() + "/data/standby.pg";
    QFile pg(standbyFile);
    pg.open(QIODevice::WriteOnly);
    pg.write(QString("host=127.0.0.1 port=%1 dbname=city user=qiwu_desk").arg(standby).toUtf8());
    pg.close();
    CityDatabase files;
    Outcome error;
    files.Open(qiwu::DatabasePath(programDir.path(), kCity), error);
    if (const auto rows = files.Query("select distinct 站名 from 公交信息 order by 站名", error))
      for (const auto& row : rows->Rows()) stops << row.at(0).toString();
  }
};

Published& City() {
  static Published* city = new Published();
  return *city;
}

int DeskConnections(PGconn* admin) {
  PGresult* r = PQexec(admin, "select count(*) from pg_stat_activity where usename = 'qiwu_desk'");
  const int n = PQresultStatus(r) == PGRES_TUPLES_OK ? atoi(PQgetvalue(r, 0, 0)) : -1;
  PQclear(r);
  return n;
}

double Percentile(std::vector<double> values, double p) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[std::min(values.size() - 1, std::size_t(p * double(values.size())))];
}

// arg 0: the primary, 1: the hot standby, 2: the files.
void BM_DeskLoad(benchmark::State& state) {
  if (!City().failure.isEmpty()) {
    state.SkipWithError(City().failure.toStdString().c_str());
    return;
  }
  const QString root = City().programDir.path();
  const QString db = state.range(0) == 0   ? qiwu::ServerCityPath(root, kCity)
                     : state.range(0) == 1 ? City().standbyFile
                                           : qiwu::DatabasePath(root, kCity);
  const int port =
      state.range(0) == 1 ? ServerCluster::Shared().StandbyPort() : ServerCluster::Shared().Port();
  PGconn* admin = PQconnectdb(QString("host=127.0.0.1 port=%1 user=postgres dbname=city").arg(port).toUtf8());
  const QStringList& stops = City().stops;
  std::vector<double> latencies;
  int mostConnections = 0;
  for (auto _ : state) {
    std::mutex mutex;
    std::atomic<int> running{kDesks};
    std::vector<std::thread> desks;
    const auto start = std::chrono::steady_clock::now();
    for (int d = 0; d < kDesks; ++d) {
      desks.emplace_back([&, d] {
        for (int i = 0; i < kSearchesPerDesk; ++i) {
          const int k = d * kSearchesPerDesk + i;
          const QStringList args = i % 2 == 0 ? QStringList{"bus", stops[(k * 7919) % stops.size()],
                                                            stops[(k * 104729 + 13) % stops.size()]}
                                              : QStringList{"keyword", stops[k % stops.size()].left(1)};
          QProcess process;
          const auto began = std::chrono::steady_clock::now();
          process.start(QIWU_CLI, QStringList{"--root", root, "--db", db} + args);
          process.waitForFinished(60000);
          const double ms =
              std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - began).count();
          const std::lock_guard<std::mutex> lock(mutex);
          latencies.push_back(process.exitCode() == 0 ? ms : 1e9);
        }
        --running;
      });
    }
    while (running > 0) {
      if (state.range(0) != 2) mostConnections = std::max(mostConnections, DeskConnections(admin));
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    for (std::thread& desk : desks) desk.join();
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  PQfinish(admin);
  state.counters["searches_per_s"] =
      benchmark::Counter(double(latencies.size()), benchmark::Counter::kIsRate);
  state.counters["p99_ms"] = Percentile(latencies, 0.99);
  state.counters["median_ms"] = Percentile(latencies, 0.5);
  state.counters["server_connections_max"] = mostConnections;
  state.counters["connections_per_desk"] = double(mostConnections) / kDesks;
}
BENCHMARK(BM_DeskLoad)->Arg(0)->Arg(1)->Arg(2)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// One desk's connections while it loads the main workspace (GDAL's included): qiwu-cli layers.
void BM_DeskConnections(benchmark::State& state) {
  if (!City().failure.isEmpty()) {
    state.SkipWithError(City().failure.toStdString().c_str());
    return;
  }
  PGconn* admin = PQconnectdb(QString("host=127.0.0.1 port=%1 user=postgres dbname=city")
                                  .arg(ServerCluster::Shared().Port())
                                  .toUtf8());
  int most = 0;
  for (auto _ : state) {
    QProcess process;
    process.start(QIWU_CLI, {"--root", City().programDir.path(), "layers"});
    while (!process.waitForFinished(5)) most = std::max(most, DeskConnections(admin));
  }
  PQfinish(admin);
  state.counters["connections_of_one_desk"] = most;
}
BENCHMARK(BM_DeskConnections)->Unit(benchmark::kMillisecond)->Iterations(3);

// A desk's start-up: the city database opened and both workspaces loaded. arg 0: server, 1: files.
void BM_StartUp(benchmark::State& state) {
  if (!City().failure.isEmpty()) {
    state.SkipWithError(City().failure.toStdString().c_str());
    return;
  }
  const QString root = City().programDir.path();
  const bool server = state.range(0) == 0;
  for (auto _ : state) {
    CityDatabase database;
    Outcome error;
    if (!database.Open(server ? qiwu::ServerCityPath(root, kCity) : qiwu::DatabasePath(root, kCity), error))
      state.SkipWithError(error.description.toStdString().c_str());
    for (const bool overview : {false, true}) {
      const QString gst =
          overview ? qiwu::OverviewWorkspacePath(root, kCity) : qiwu::MainWorkspacePath(root, kCity);
      Workspace workspace;
      const Outcome loaded =
          LoadWorkspace(server ? gst.chopped(4) + ".pg.gst" : gst, workspace, database.ServerConnection());
      if (!loaded.ok()) state.SkipWithError(loaded.description.toStdString().c_str());
      benchmark::DoNotOptimize(workspace.layers.size());
    }
  }
}
BENCHMARK(BM_StartUp)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
