// A server that falls silent after the session began (a frozen host, a dropped link) costs a desk
// seconds, not the day: every statement has a deadline on the desk's side, at start-up too. And what
// one workspace load takes from a server is bounded as a whole, in time and in memory.
#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <ogr_spatialref.h>

#include <QDir>

#include "data/CityPlace.h"
#include "map/LayerReader.h"
#include "map/LoadBudget.h"
#include "map/ServerLayers.h"
#include "map/WorkspaceFile.h"
#include "tests/server/DeskPgFile.h"
#include "tests/server/FreezingProxy.h"

namespace {

QString PgThrough(int port) { return QString("host=127.0.0.1 port=%1 dbname=city user=qiwu_desk").arg(port); }

TEST_F(DeskPgFile, AStatementToASilentServerFailsAfterItsDeadline) {
  const int server = ServerCluster::Shared().Port();
  for (const int freezeAt : {1, 2}) {  // the open's own statement, then the program's first
    SCOPED_TRACE(freezeAt);
    FreezingProxy proxy(server, freezeAt);
    City().AllowServers({QString("127.0.0.1:%1").arg(server), QString("127.0.0.1:%1").arg(proxy.Port())});
    const CliRun run = Cli(PgThrough(proxy.Port()), {"sql", "select count(*) from 公交信息"});
    EXPECT_TRUE(proxy.Frozen());
    EXPECT_NE(run.exitCode, -2) << run.err.toStdString();
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(QString::fromUtf8(run.err).contains(QStringLiteral("没有回答"))) << run.err.toStdString();
  }
}

TEST_F(DeskPgFile, TheWindowEndsItsStartUpWhenTheServerFallsSilent) {
  const int server = ServerCluster::Shared().Port();
  for (const int freezeAt : {1, 2}) {
    SCOPED_TRACE(freezeAt);
    FreezingProxy proxy(server, freezeAt);
    City().AllowServers({QString("127.0.0.1:%1").arg(server), QString("127.0.0.1:%1").arg(proxy.Port())});
    hostile::WriteFile(Path(), PgThrough(proxy.Port()).toUtf8());
    const CliRun run = RunBounded(QIWU_WINDOW, {City().programDir.path()}, kWatchdogMs, kAddressSpace,
                                  {"QT_QPA_PLATFORM=offscreen"});
    const QString out = QString::fromUtf8(run.out);
    EXPECT_TRUE(proxy.Frozen());
    EXPECT_NE(run.exitCode, -2) << run.err.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("没有回答"))) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("\nEND "))) << out.toStdString();
  }
}

// Server layers made for one case in the published city's layer schema, dropped after it.
class ServerLayerBudget : public OnThePublishedCity {
 protected:
  static bool Admin(const QString& sql) {
    PGconn* conn = PQconnectdb(ServerCluster::Shared().AdminConnection("city").toUtf8().constData());
    PGresult* result = PQexec(conn, sql.toUtf8().constData());
    const bool ok = PQresultStatus(result) == PGRES_COMMAND_OK;
    if (!ok) ADD_FAILURE() << PQerrorMessage(conn);
    PQclear(result);
    PQfinish(conn);
    return ok;
  }
  void TearDown() override {
    if (!IsSkipped())
      Admin(
          "drop view if exists qiwu_map.slow; drop function if exists qiwu_map.slowly; "
          "drop table if exists qiwu_map.big");
  }
  // Reads server layer pg:table of the published city as a workspace load does.
  static Outcome Read(const QString& table) {
    OGRSpatialReference crs;
    crs.importFromEPSG(4547);
    crs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    std::unique_ptr<Layer> layer;
    const ServerLayerSession session(City().server.ServerConnection());
    const Outcome read =
        ReadVectorLayer(City().programDir.path() + "/map", "pg:" + table, {}, {}, crs, layer);
    return read;
  }
};

TEST_F(ServerLayerBudget, ALayerOfLongNamesStopsAtTheMemoryBound) {
  // 10,000 points, each with 60,000 characters of name: 1.2 GB as read, past the 1 GiB bound.
  ASSERT_TRUE(
      Admin("create table qiwu_map.big as select i as qiwu_fid, "
            "st_setsrid(st_point(500000 + i, 3400000), 4547)::geometry(Point, 4547) as geom, "
            "repeat('x', 60000) as name from generate_series(1, 10000) i; grant select on qiwu_map.big to "
            "qiwu_desk"));
  const Outcome read = Read("big");
  EXPECT_FALSE(read.ok());
  EXPECT_TRUE(read.description.contains("pg:big")) << read.description.toStdString();
  EXPECT_TRUE(read.description.contains(QString::number(LoadBudget::kBytes >> 20)))
      << read.description.toStdString();
}

TEST_F(ServerLayerBudget, AViewThatAnswersEachFetchSlowlyStopsAtTheTimeBound) {
  // Each fetch of 500 rows takes 4 s, under the 5 s bound of one statement; 5,000 rows take 40 s.
  ASSERT_TRUE(Admin(
      "create or replace function qiwu_map.slowly(g geometry) returns geometry language plpgsql immutable "
      "as $$ begin perform pg_sleep(0.008); return g; end $$; "
      "create view qiwu_map.slow as select i as qiwu_fid, "
      "qiwu_map.slowly(st_setsrid(st_point(500000 + i, 3400000), 4547))::geometry(Point, 4547) as geom, "
      "'p' || i as name from generate_series(1, 5000) i; grant select on qiwu_map.slow to qiwu_desk; "
      "grant execute on function qiwu_map.slowly to qiwu_desk"));
  const Outcome read = Read("slow");
  EXPECT_FALSE(read.ok());
  EXPECT_TRUE(read.description.contains("pg:slow")) << read.description.toStdString();
  EXPECT_TRUE(read.description.contains(QString::number(LoadBudget::kSeconds)))
      << read.description.toStdString();
}

}  // namespace
