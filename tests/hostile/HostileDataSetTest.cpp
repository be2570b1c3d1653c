// Hostile data sets: copies of the demo city, each poisoned in one way a city copied from
// elsewhere could be, run through qiwu-cli or the real window in a child process under strace.
// Whatever the data set or the user's own configuration holds, the program ends by itself within
// 10 s and 4 GiB of address space (with a message where it refuses), creates or changes no file in
// the data set or anywhere it points to, opens no file outside the data set except the system's
// read-only ones, and contacts no server.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

#include "tests/app/ProgramDir.h"
#include "tests/hostile/DataSetEdits.h"
#include "tests/hostile/Watchers.h"
#include "tests/reliability/DataSetFiles.h"
#include "tests/support/Fingerprint.h"

namespace hostile {
namespace {

enum class Outcome {
  Any,      // works, or refuses with a message
  Works,    // the window: every step ran without a box; qiwu-cli: exit code 0
  Refused,  // the window: a box (and the end, or every step); qiwu-cli: a non-zero exit code and stderr
};

// One hostile program directory: its builder edits prog and scratch and says how to run it.
struct Scene {
  QString prog;     // the program directory: the data set's copy
  QString scratch;  // a folder outside it, for files the data set points to
  QString home;     // the child's HOME and XDG folders: the user's configuration
  int port = 0;     // a loopback server that must receive nothing
  QString url() const { return QStringLiteral("http://127.0.0.1:%1").arg(port); }

  QStringList cli;  // qiwu-cli's arguments after --root; empty: the window
  Outcome outcome = Outcome::Any;
  QString mustPrint, mustNotPrint;  // on standard output
  QStringList alsoAllowed;          // files the command line itself names
  bool readOnlyMedia = false;
};

struct Case {
  const char* name;
  std::function<void(Scene&)> build;
};

QString Img(const QString& file) { return "<img src=\"" + file + "\">"; }
QString Quoted(const QString& text) { return "'" + QString(text).replace("'", "''") + "'"; }
const QString kProjectionLine = QStringLiteral("\"\\GEOSET\\PROJECTION\" = \"EPSG:4547\"");
// The demo city's centre, in map metres.
const QString kCentre = QStringLiteral("500000,3400000");
const QString kWrappedMetres = QStringLiteral("-9223372036854775808");

// The user's list of servers a desk may reach, and a server city naming the scene's loopback
// server (the only one it could reach).
QString ServersList(const Scene& s) { return s.home + "/qiwu/servers"; }
void ServeCityFrom(Scene& s) {
  WriteFile(s.prog + "/data/" + apptest::kCity + ".pg",
            QStringLiteral("host=127.0.0.1 port=%1 dbname=city user=qiwu_desk").arg(s.port).toUtf8());
  QDir().mkpath(s.home + "/qiwu");
  s.cli = QStringList{"sql", "select 1"};
  s.outcome = Outcome::Refused;
}
// The search box's recent choices; the window's program is named hostile_window.
QString RecentSearchesFile(const Scene& s) { return s.home + "/hostile_window/recent-searches.ini"; }

const Case kCases[] = {
    {"UntouchedDemoCityWorks", [](Scene& s) { s.outcome = Outcome::Works; }},

    // A column's declared type closes the copy's statement and attaches a file outside.
    {"ColumnTypeThatAttachesAFile",
     [](Scene& s) {
       const QString type = "x); COMMIT; ATTACH '" + s.scratch +
                            "/evil.db' AS p; CREATE TABLE p.x(y); BEGIN; CREATE TABLE main.zz (q";
       ExecSql(DatabaseFile(s.prog),
               "alter table 大中专院校 rename to old; create table 大中专院校 (name \"" + type +
                   "\"); insert into 大中专院校 select * from old; drop table old;");
       s.cli = QStringList{"sql", "select count(*) from 大中专院校"};
     }},

    // Texts of the data set are shown as plain text: no picture is loaded from a file or FIFO.
    {"RestaurantAddressIsAnImageOfAFileOutside",
     [](Scene& s) {
       WriteFile(s.scratch + "/secret", "secret");
       ExecSql(DatabaseFile(s.prog), "update 餐饮娱乐 set address = " + Quoted(Img(s.scratch + "/secret")));
       s.outcome = Outcome::Works;
     }},
    {"RestaurantAddressIsAnImageOfAFifo",
     [](Scene& s) {
       MakeFifo(s.scratch + "/fifo");
       ExecSql(DatabaseFile(s.prog), "update 餐饮娱乐 set address = " + Quoted(Img(s.scratch + "/fifo")));
       s.outcome = Outcome::Works;
     }},
    // Every type is renamed, so start-up lists this one first. As a table name it fails, and
    // SQLite's message names it on the failure box's first line.
    {"TypeNameIsAnImageInAFailureBox",
     [](Scene& s) {
       WriteFile(s.scratch + "/secret", "secret");
       ExecSql(DatabaseFile(s.prog),
               "update 地物类型 set typeName = " + Quoted("\"<img src='" + s.scratch + "/secret'>\""));
     }},
    // The map's failure box names the layer file.
    {"LayerFileNameIsAnImageInAFailureBox",
     [](Scene& s) {
       WriteFile(s.scratch + "/secret", "secret");
       AddWorkspaceLayer(s.prog, "<img src='" + s.scratch + "/secret'>", QStringLiteral("图"));
       s.outcome = Outcome::Refused;
     }},

    // A type name is a table name, never a statement: an endless recursive query.
    {"TypeNameIsAnEndlessQuery",
     [](Scene& s) {
       const QString endless = QStringLiteral(
           "餐饮娱乐 union select 1, 1 from (with recursive c(i) as (select 1 union all select i+1 from c) "
           "select i from c)");
       ExecSql(DatabaseFile(s.prog), "update 地物类型 set typeName = " + Quoted(endless));
     }},

    // Files that block or never end.
    {"WorkspaceIsAFifo",
     [](Scene& s) {
       MakeFifo(WorkspaceFile(s.prog));
       s.cli = QStringList{"layers"};
       s.outcome = Outcome::Refused;
     }},
    {"LayerFileIsAFifo",
     [](Scene& s) {
       MakeFifo(LayerFile(s.prog));
       s.cli = QStringList{"layers"};
       s.outcome = Outcome::Refused;
     }},
    {"DatabaseIsAFifo",
     [](Scene& s) {
       MakeFifo(DatabaseFile(s.prog));
       s.outcome = Outcome::Refused;
     }},
    {"WorkspaceLinksToDevZero",
     [](Scene& s) {
       QFile::remove(WorkspaceFile(s.prog));
       QFile::link(QStringLiteral("/dev/zero"), WorkspaceFile(s.prog));
       s.cli = QStringList{"layers"};
       s.outcome = Outcome::Refused;
     }},
    {"ProjectionNamesAFifo",
     [](Scene& s) {
       MakeFifo(CityFolder(s.prog) + "/city.prj");
       ReplaceInWorkspace(s.prog, kProjectionLine,
                          "\"\\GEOSET\\PROJECTION\" = \"" + CityFolder(s.prog) + "/city.prj\"");
       s.cli = QStringList{"layers"};
       s.outcome = Outcome::Refused;
     }},
    {"GeoPackageLayerIsAnEndlessView",
     [](Scene& s) {
       ExecSql(LayerFile(s.prog),
               "create view 无尽 as with recursive c(i) as (select 1 union all select i+1 from c) "
               "select i as fid, null as geom, 'x' as name from c; "
               "insert into gpkg_contents (table_name, data_type, identifier, srs_id) "
               "values ('无尽', 'features', '无尽', 4547); "
               "insert into gpkg_geometry_columns values ('无尽', 'geom', 'POINT', 4547, 0, 0);");
       AddWorkspaceLayer(s.prog, apptest::kCity + ".gpkg", QStringLiteral("无尽"));
       s.cli = QStringList{"layers"};
       s.outcome = Outcome::Refused;
     }},

    // The workspace points outside the data set and onto the network.
    {"LayerFileIsAnAbsolutePathOutside",
     [](Scene& s) {
       QFile::copy(LayerFile(s.prog), s.scratch + "/outside.gpkg");
       AddWorkspaceLayer(s.prog, s.scratch + "/outside.gpkg", QStringLiteral("金融银行"));
       s.cli = QStringList{"layers"};
       s.outcome = Outcome::Refused;
     }},
    {"LayerFileClimbsOutWithDotDot",
     [](Scene& s) {
       QFile::copy(LayerFile(s.prog), s.scratch + "/outside.gpkg");
       AddWorkspaceLayer(s.prog, QDir(CityFolder(s.prog)).relativeFilePath(s.scratch + "/outside.gpkg"),
                         QStringLiteral("金融银行"));
       s.cli = QStringList{"layers"};
       s.outcome = Outcome::Refused;
     }},
    {"VrtLayerReadsAUrl",
     [](Scene& s) {
       WriteFile(CityFolder(s.prog) + "/remote.vrt",
                 ("<OGRVRTDataSource><OGRVRTLayer name=\"远程\"><SrcDataSource>/vsicurl/" + s.url() +
                  "/x.csv</SrcDataSource></OGRVRTLayer></OGRVRTDataSource>")
                     .toUtf8());
       AddWorkspaceLayer(s.prog, QStringLiteral("remote.vrt"), QStringLiteral("远程"));
       s.cli = QStringList{"layers"};
       s.outcome = Outcome::Refused;
     }},
    {"ProjectionIsAUrl",
     [](Scene& s) {
       ReplaceInWorkspace(s.prog, kProjectionLine, "\"\\GEOSET\\PROJECTION\" = \"" + s.url() + "/x.prj\"");
       s.cli = QStringList{"layers"};
       s.outcome = Outcome::Refused;
     }},

    // Rows only in a -wal file, on read-only media: read, and nothing created beside them.
    {"DatabaseInWalModeOnReadOnlyMedia",
     [](Scene& s) {
       LeaveRowsInWal(DatabaseFile(s.prog),
                      QStringLiteral("insert into 餐饮娱乐 (name) values ('只在日志里的饭店')"));
       s.cli = QStringList{"sql", "select name from 餐饮娱乐 where name like '只在日志%'"};
       s.outcome = Outcome::Works;
       s.mustPrint = QStringLiteral("只在日志里的饭店");
       s.readOnlyMedia = true;
     }},
    {"GeoPackageInWalModeOnReadOnlyMedia",
     [](Scene& s) {
       LeaveRowsInWal(LayerFile(s.prog), "insert into 金融银行 (geom, name) values (" +
                                             GeoPackagePoint(500001, 3400001, 4547) +
                                             ", '只在日志里的银行')");
       s.cli = QStringList{"nearest", "金融银行", "500001", "3400001"};
       s.outcome = Outcome::Works;
       s.mustPrint = QStringLiteral("只在日志里的银行");
       s.readOnlyMedia = true;
     }},

    // Numbers that are not numbers.
    {"WorkspaceCentreIsNan",
     [](Scene& s) {
       ReplaceInWorkspace(s.prog, QStringLiteral("\"\\GEOSET\\CENTER\" = \"500000,3400000\""),
                          QStringLiteral("\"\\GEOSET\\CENTER\" = \"nan,nan\""));
       s.outcome = Outcome::Refused;
     }},
    {"NearestToNan",
     [](Scene& s) {
       s.cli = QStringList{"nearest", "金融银行", "nan", "nan"};
       s.outcome = Outcome::Refused;
     }},

    // A web link that would have the mail program attach a local file.
    {"WebLinkMailtoAttachesAFile",
     [](Scene& s) {
       ExecSql(DatabaseFile(s.prog),
               QStringLiteral("update 餐饮娱乐 set web = 'mailto:someone@example.com?attach=/etc/passwd'"));
       s.outcome = Outcome::Works;
       s.mustPrint = QStringLiteral("WEB mailto:someone@example.com");
       s.mustNotPrint = QStringLiteral("OPEN mailto:someone@example.com?");
     }},

    // qiwu-cli sql runs one read-only statement; a batch file is read with a bound.
    {"SqlAttach",
     [](Scene& s) {
       s.cli = QStringList{"sql", "attach '" + s.scratch + "/a.db' as p"};
       s.outcome = Outcome::Refused;
     }},
    {"SqlVacuumInto",
     [](Scene& s) {
       s.cli = QStringList{"sql", "vacuum into '" + s.scratch + "/x.db'"};
       s.outcome = Outcome::Refused;
     }},
    {"SqlQueryOnlyOff",
     [](Scene& s) {
       s.cli = QStringList{"sql", "pragma query_only=0"};
       s.outcome = Outcome::Refused;
     }},
    {"SqlTwoStatements",
     [](Scene& s) {
       s.cli = QStringList{"sql", "select 1; select 2"};
       s.outcome = Outcome::Refused;
     }},
    // Points far off the map: refused, and no distance printed as digits that wrapped.
    {"TripFromAFarPoint",
     [](Scene& s) {
       s.cli = QStringList{"trip", "1e300,0", kCentre};
       s.outcome = Outcome::Refused;
       s.mustNotPrint = kWrappedMetres;
     }},
    {"TripFromTheLargestNumbers",
     [](Scene& s) {
       s.cli = QStringList{"trip", "1.7e308,-1.7e308", kCentre};
       s.outcome = Outcome::Refused;
     }},
    // A bank at 1e300 m stretches the map's extent so far that the point is near it.
    {"TripAcrossAnAbsurdMap",
     [](Scene& s) {
       ExecSql(LayerFile(s.prog), "insert into 金融银行 (geom, name) values (" +
                                      GeoPackagePoint(1e300, 3400000, 4547) + ", '远方银行')");
       s.cli = QStringList{"trip", "1e300,3400000", kCentre};
       s.outcome = Outcome::Works;
       s.mustPrint = QStringLiteral("全程步行");
       s.mustNotPrint = kWrappedMetres;
     }},

    // The user's own files: read only as small regular files.
    {"ServersListIsAFifo",
     [](Scene& s) {
       ServeCityFrom(s);
       MakeFifo(ServersList(s));
     }},
    {"ServersListLinksToDevZero",
     [](Scene& s) {
       ServeCityFrom(s);
       QFile::link(QStringLiteral("/dev/zero"), ServersList(s));
     }},
    {"RecentSearchesAreAFifo",
     [](Scene& s) {
       QDir().mkpath(QFileInfo(RecentSearchesFile(s)).path());
       MakeFifo(RecentSearchesFile(s));
       s.outcome = Outcome::Works;
     }},

    {"BusBatchFromDevZero",
     [](Scene& s) {
       s.cli = QStringList{"bus", "--batch", "/dev/zero"};
       s.alsoAllowed << QStringLiteral("/dev/zero");
       s.outcome = Outcome::Refused;
     }},
};

bool Met(Outcome outcome, const Scene& scene, const WatchedRun& run) {
  if (!scene.cli.isEmpty()) {
    const bool refused = run.exitCode != 0 && !run.err.trimmed().isEmpty();
    return outcome == Outcome::Works     ? run.exitCode == 0
           : outcome == Outcome::Refused ? refused
                                         : run.exitCode == 0 || refused;
  }
  const QStringList lines = run.out.split('\n');
  const bool boxes = !lines.filter(QRegularExpression("^MESSAGE ")).isEmpty();
  const bool done = lines.contains(QStringLiteral("DONE"));
  const bool ended = !lines.filter(QRegularExpression("^END ")).isEmpty();
  switch (outcome) {
    case Outcome::Works:
      return done && !boxes;
    case Outcome::Refused:
      return boxes && (done || ended);
    case Outcome::Any:
      break;
  }
  return done || (ended && boxes);
}

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

class HostileDataSet : public testing::TestWithParam<Case> {};

TEST_P(HostileDataSet, EndsInTimeChangesNothingAndStaysInside) {
  ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("strace")).isEmpty())
      << "strace watches the program (scripts/install-deps.sh installs it)";
  const auto copy = apptest::CopyOfDemo();
  QTemporaryDir outside;
  LoopbackListener server;
  ASSERT_GT(server.Port(), 0);
  Scene scene;
  scene.prog = copy->path();
  scene.scratch = outside.path() + "/scratch";
  scene.port = server.Port();
  const QString home = scene.home = outside.path() + "/home";
  ASSERT_TRUE(QDir().mkpath(scene.scratch) && QDir().mkpath(home));
  GetParam().build(scene);
  if (HasFailure()) return;

  RunPlan plan;
  plan.program = scene.cli.isEmpty() ? QStringLiteral(QIWU_HOSTILE_WINDOW) : QStringLiteral(QIWU_CLI);
  plan.arguments =
      scene.cli.isEmpty() ? QStringList{scene.prog} : QStringList{"--root", scene.prog} + scene.cli;
  plan.home = home;
  plan.allowed = QStringList{scene.prog} + scene.alsoAllowed;
  plan.watched = {scene.prog, scene.scratch};
  plan.addressSpaceBytes = qint64(4) << 30;
  const auto media = [](const char* how) {
    RecordProperty("media", how);
    std::printf("read-only media: %s\n", how);
  };
  if (scene.readOnlyMedia) {
    if (CanMountReadOnly()) {
      plan.readOnlyMount = scene.prog;
      media("a read-only bind mount in a private mount namespace (root)");
    } else if (::geteuid() != 0) {
      reliab::SetWritable(scene.prog, false);
      media("files and folders without write permission (an unprivileged user)");
    } else {
      GTEST_SKIP() << "root without mount namespaces: read-only media cannot be made here";
    }
  }
  const auto progBefore = Fingerprint(scene.prog), scratchBefore = Fingerprint(scene.scratch);
  const WatchedRun run = RunWatched(plan);
  const auto progAfter = Fingerprint(scene.prog), scratchAfter = Fingerprint(scene.scratch);
  if (scene.readOnlyMedia) reliab::SetWritable(scene.prog, true);

  const std::string output =
      "\nstdout: " + run.out.left(2000).toStdString() + "\nstderr: " + run.err.left(2000).toStdString();
  EXPECT_TRUE(run.finished) << "still running after " << plan.timeoutMs << " ms" << output;
  EXPECT_FALSE(run.crashed) << output;
  if (run.finished && !run.crashed) {
    EXPECT_TRUE(Met(scene.outcome, scene, run)) << "exit code " << run.exitCode << output;
    if (!scene.mustPrint.isEmpty()) {
      EXPECT_TRUE(run.out.contains(scene.mustPrint)) << output;
    }
  }
  if (!scene.mustNotPrint.isEmpty()) {
    EXPECT_FALSE(run.out.contains(scene.mustNotPrint)) << output;
  }
  EXPECT_GT(run.tracedCalls, 0) << "strace saw nothing";
  EXPECT_EQ(server.Connections(), 0);
  const auto none = [](const char* what, const QStringList& found) {
    EXPECT_TRUE(found.isEmpty()) << what << ":\n" << found.join('\n').toStdString();
  };
  none("Internet connections", run.connects);
  none("opened outside the data set", run.openedOutside);
  none("write attempts in the data set or beside it", run.writes);
  none("data set", Differences(progBefore, progAfter));
  none("folder outside", Differences(scratchBefore, scratchAfter));
}

INSTANTIATE_TEST_SUITE_P(Cases, HostileDataSet, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace hostile
