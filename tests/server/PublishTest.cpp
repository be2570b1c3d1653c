// A data set copied from anywhere, published and read back: its layer files are opened as a desk
// opens them, a publication replaces the earlier one whole or not at all, a URI names a server as
// key=value text does, and what a .pg file says can neither reach an unlisted server nor lower the
// user's TLS. The whole-program cases run qiwu-import and qiwu-cli under a watchdog.
#include <gtest/gtest.h>
#include <libpq-fe.h>

#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "data/CityPaths.h"
#include "data/CityPlace.h"
#include "data/ServerCity.h"
#include "import/publish/CityPublisher.h"
#include "tests/app/ProgramDir.h"
#include "tests/hostile/DataSetEdits.h"
#include "tests/server/DeskPgFile.h"
#include "tests/server/PublishedCity.h"
#include "tests/server/ServerCluster.h"
#include "tests/server/TcpListener.h"
#include "tests/support/CliRun.h"
#include "tests/support/TestCity.h"

namespace {

const QString kCity = QStringLiteral("栖坞市");

// The first cell of sql's answer on database dbname as the superuser, or -1.
int CountOnServer(const QString& dbname, const QString& sql) {
  PGconn* conn = PQconnectdb(ServerCluster::Shared().AdminConnection(dbname).toUtf8().constData());
  PGresult* result = PQexec(conn, sql.toUtf8().constData());
  const int count =
      PQresultStatus(result) == PGRES_TUPLES_OK ? QByteArray(PQgetvalue(result, 0, 0)).toInt() : -1;
  PQclear(result);
  PQfinish(conn);
  return count;
}

int TablesNamed(const QString& dbname, const QString& table) {
  return CountOnServer(
      dbname,
      QStringLiteral("select count(*) from information_schema.tables where table_name = '%1'").arg(table));
}

// The rows of table as the desk reads them from root's published city, or -1.
int DeskRows(const QString& root, const QString& table) {
  CityDatabase desk;
  Outcome error;
  if (!desk.Open(qiwu::ResolveCity(root, kCity).database, error)) {
    ADD_FAILURE() << error.description.toStdString();
    return -1;
  }
  const auto rows = desk.Query("select * from " + table, error);
  if (!rows) ADD_FAILURE() << error.description.toStdString();
  return rows ? int(rows->Rows().size()) : -1;
}

CliRun Import(const QStringList& args) { return RunBounded(QIWU_IMPORT, args, kWatchdogMs, kAddressSpace); }

using Publish = OnThePublishedCity;

TEST_F(Publish, LayerFilesAreOpenedUnderTheDataSetsRules) {
  using Edit = std::function<void(const QString& root, const QString& scratch)>;
  const auto secretLayer = [](const QString& path) {
    testcity::WriteLayers(path, {testcity::Layer{"secret", {{"机密", testcity::PointWkt(500000, 3400000)}}}});
  };
  struct Case {
    const char* name;
    Edit edit;
    const char* named;  // in the refusal
  };
  const Case cases[] = {
      {"an outside GeoPackage by its absolute path",
       [&](const QString& root, const QString& scratch) {
         secretLayer(scratch + "/secret.gpkg");
         hostile::AddWorkspaceLayer(root, scratch + "/secret.gpkg", "secret");
       },
       "secret.gpkg"},
      {"a GeoPackage beside the data set's folders",
       [&](const QString& root, const QString&) {
         secretLayer(root + "/secret.gpkg");
         hostile::AddWorkspaceLayer(root, "../../secret.gpkg", "secret");
       },
       "secret.gpkg"},
      {"a link leading out of the city's folder",
       [&](const QString& root, const QString& scratch) {
         secretLayer(scratch + "/secret.gpkg");
         QFile::link(scratch + "/secret.gpkg", hostile::CityFolder(root) + "/linked.gpkg");
         hostile::AddWorkspaceLayer(root, "linked.gpkg", "secret");
       },
       "linked.gpkg"},
      {"a FIFO for a layer file",
       [&](const QString& root, const QString&) {
         hostile::MakeFifo(hostile::CityFolder(root) + "/fifo.gpkg");
         hostile::AddWorkspaceLayer(root, "fifo.gpkg", "secret");
       },
       "fifo.gpkg"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto copy = apptest::CopyOfDemo();
    QTemporaryDir scratch;
    c.edit(copy->path(), scratch.path());
    ASSERT_TRUE(ServerCluster::Shared().CreateDatabase("refused"));
    const CliRun run = Import({"--publish", ServerCluster::Shared().AdminConnection("refused"), "--city",
                               kCity, "--out", copy->path()});
    EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
    EXPECT_TRUE(QString::fromUtf8(run.err).contains(QString::fromUtf8(c.named))) << run.err.toStdString();
    EXPECT_EQ(TablesNamed("refused", "secret"), 0) << "the outside layer reached the server";
    EXPECT_FALSE(QFile::exists(qiwu::ServerCityPath(copy->path(), kCity)));
  }
}

TEST_F(Publish, PublishingAgainReplacesTheEarlierPublicationWholeOrNotAtAll) {
  const auto copy = apptest::CopyOfDemo();
  const QString root = copy->path();
  ASSERT_TRUE(ServerCluster::Shared().CreateDatabase("again"));
  const QString connection = ServerCluster::Shared().AdminConnection("again");
  hostile::ExecSql(hostile::DatabaseFile(root),
                   "create table 旧表 (name text); insert into 旧表 values ('x')");
  QString message;
  ASSERT_TRUE(publish::PublishCity(connection, kCity, root, message)) << message.toStdString();
  ASSERT_EQ(TablesNamed("again", "旧表"), 1);
  const int busRows = DeskRows(root, "公交信息");
  ASSERT_GT(busRows, 0);

  // The second time as a user would publish, by the whole program.
  hostile::ExecSql(hostile::DatabaseFile(root), "drop table 旧表");
  const CliRun again = Import({"--publish", connection, "--city", kCity, "--out", root});
  EXPECT_EQ(again.exitCode, 0) << again.err.toStdString();
  EXPECT_EQ(TablesNamed("again", "旧表"), 0) << "a table of the earlier publication stayed";
  EXPECT_EQ(DeskRows(root, "公交信息"), busRows);

  // A publication that fails half way leaves the one before it as it was.
  hostile::MakeFifo(hostile::CityFolder(root) + "/fifo.gpkg");
  hostile::AddWorkspaceLayer(root, "fifo.gpkg", "secret");
  hostile::ExecSql(hostile::DatabaseFile(root), "delete from 公交信息");
  EXPECT_FALSE(publish::PublishCity(connection, kCity, root, message));
  EXPECT_EQ(DeskRows(root, "公交信息"), busRows);
  EXPECT_EQ(CountOnServer("again", "select count(*) from pg_namespace where nspname like 'qiwu_map%'"), 1);
}

TEST_F(Publish, AUriNamesTheServerAsKeywordsDo) {
  const int port = ServerCluster::Shared().Port();
  struct Case {
    QString connection;
    int exitCode;
    const char* said;  // on standard error when refused
  };
  const Case cases[] = {
      {QString("postgresql://postgres@127.0.0.1:%1/uri").arg(port), 0, ""},
      {QString("postgresql://postgres@127.0.0.1:%1/uri?application_name=publisher").arg(port), 0, ""},
      {QString("host=127.0.0.1 port=%1 user=postgres dbname=uri application_name='a b'").arg(port), 1,
       "application_name"},
      {QString("postgresql://postgres@127.0.0.1:%1/uri?connect_timeout=%3D").arg(port), 1, "connect_timeout"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.connection.toStdString());
    const auto copy = apptest::CopyOfDemo();
    ASSERT_TRUE(ServerCluster::Shared().CreateDatabase("uri"));
    const CliRun run = Import({"--publish", c.connection, "--city", kCity, "--out", copy->path()});
    EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
    EXPECT_TRUE(QString::fromUtf8(run.err).contains(QString::fromUtf8(c.said))) << run.err.toStdString();
    if (c.exitCode != 0) continue;
    EXPECT_GT(DeskRows(copy->path(), "公交信息"), 0);
    const CliRun layers =
        RunBounded(QIWU_CLI, {"--root", copy->path(), "--city", kCity, "layers"}, kWatchdogMs, kAddressSpace);
    EXPECT_EQ(layers.exitCode, 0) << layers.err.toStdString();
  }
}

TEST_F(DeskPgFile, ATextThatGdalReadsOtherwiseReachesNoUnlistedServer) {
  const int port = ServerCluster::Shared().Port();
  TcpListener unlisted(QStringLiteral("127.0.0.2"), port);
  ASSERT_TRUE(unlisted.Listening());
  const CliRun run = Cli(QString("host=127.0.0.1 hostaddr=127.0.0.2 port=%1 dbname=city user=qiwu_desk "
                                 "application_name=xtables='z'\thostaddr=127.0.0.1")
                             .arg(port),
                         {"layers"});
  EXPECT_EQ(unlisted.Connections(), 0) << "the desk connected to a server the user never listed";
  EXPECT_NE(run.exitCode, 0);
  EXPECT_TRUE(QString::fromUtf8(run.err).contains("application_name")) << run.err.toStdString();
}

TEST_F(DeskPgFile, APgFileCannotLowerTheUsersTls) {
  const QString pg = QString("host=127.0.0.1 port=%1 dbname=city user=qiwu_desk sslmode=disable")
                         .arg(ServerCluster::Shared().Port());
  const CliRun plain = Cli(pg, {"layers"});
  EXPECT_EQ(plain.exitCode, 0) << plain.err.toStdString();
  // The tests' cluster speaks no TLS: a desk that requires it must not be talked out of it.
  const CliRun required = Cli(pg, {"layers"}, {"PGSSLMODE=require"});
  EXPECT_NE(required.exitCode, 0);
  EXPECT_TRUE(required.err.contains("SSL")) << required.err.toStdString();
}

}  // namespace
