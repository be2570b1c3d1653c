// Hostile sources for qiwu-import: crafted extracts, feeds, names and leftovers of killed imports,
// each run through qiwu-import as a child process under strace, with a time limit and a bound on
// its address space. Whatever it is given, the importer ends by itself with the exit code and the
// message the case expects, and leaves no temporary folder behind: neither beside the cities nor
// in its temporary folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <functional>
#include <string>

#include "tests/hostile/Watchers.h"
#include "tests/import/GtfsFeedFixture.h"
#include "tests/import/OsmFileFixture.h"

namespace hostile {
namespace {

constexpr qint64 kAddressSpace = qint64(1536) << 20;

struct ImportScene {
  QString work;  // a folder for the sources
  QString out;   // the program directory written to (--out)
  QString home;  // the child's HOME and TMPDIR
  QString program = QStringLiteral(QIWU_IMPORT);
  QStringList arguments;  // all of them; Import() fills in the usual ones
  int exitCode = 0;
  QString mustSay;                                // on standard error
  std::function<void(const ImportScene&)> check;  // after the run
  void Import(const QString& city, const QStringList& more) {
    arguments = QStringList{"--city", city, "--out", out} + more;
  }
  QString Path(const QString& name) const { return work + "/" + name; }
  std::string Std(const QString& name) const { return Path(name).toStdString(); }
};

struct Case {
  const char* name;
  std::function<void(ImportScene&)> build;
};

// A city imported beforehand, with the real importer.
void ImportBefore(const ImportScene& s, const QString& city, const QString& out) {
  osmfixture::WriteSmallCity(s.Std("before.osm.pbf"));
  QProcess process;
  process.start(QStringLiteral(QIWU_IMPORT),
                {"--city", city, "--out", out, "--osm", s.Path("before.osm.pbf")});
  ASSERT_TRUE(process.waitForFinished(60000));
  ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
}

QStringList Entries(const QString& folder) {
  return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

std::string Repeat(const std::string& text, std::size_t times) {
  std::string all;
  all.reserve(text.size() * times);
  for (std::size_t i = 0; i < times; ++i) all += text;
  return all;
}

// Texts of feeds that must outlive the build step (the fixture keeps pointers).
std::string gStopTimes, gShapes, gStops;

const Case kCases[] = {
    // A NUL inside a string of the extract: the route's ref and a stop's name.
    {"NulInsideAPbfString",
     [](ImportScene& s) {
       osmfixture::WriteOsm(s.Std("nul.osm.pbf"),
                            {{1, 114.30, 30.55, {{"highway", "bus_stop"}, {"name", "甲NULMARK"}}},
                             {2, 114.31, 30.56, {{"highway", "bus_stop"}, {"name", "乙站"}}}},
                            {{10, {1, 2}, {{"ref", "5REFMARK"}}}});
       ASSERT_EQ(osmfixture::ReplaceBytes(s.Std("nul.osm.pbf"), "NULMARK", std::string("NUL\0ARK", 7)), 1);
       ASSERT_EQ(osmfixture::ReplaceBytes(s.Std("nul.osm.pbf"), "REFMARK", std::string("REF\0ARK", 7)), 1);
       s.Import("零", {"--osm", s.Path("nul.osm.pbf")});
       s.exitCode = 1;
       s.mustSay = QStringLiteral("NUL");
     }},

    // A header and a row of commas: 1,000 fields at most.
    {"HeaderOfCommas",
     [](ImportScene& s) {
       gStops = "stop_id,stop_name,stop_lat,stop_lon" + Repeat(",", 40'000'000) + "\nA,甲,30.0,114.0\n";
       // A folder: zipped, the entry is refused for its size before its first record.
       gtfsfixture::WriteFolder(s.Std("commas"), gtfsfixture::Feed({{"stops.txt", gStops.c_str()}}));
       s.Import("逗", {"--gtfs", s.Path("commas")});
       s.exitCode = 1;
       s.mustSay = QStringLiteral("stops.txt:1: a record of more than 1000 fields");
     }},
    {"RowOfCommas",
     [](ImportScene& s) {
       gStops = "stop_id,stop_name,stop_lat,stop_lon\nA,甲,30.0,114.0" + Repeat(",", 1001) + "\n";
       gtfsfixture::WriteZip(s.Std("commas.zip"), gtfsfixture::Feed({{"stops.txt", gStops.c_str()}}));
       s.Import("逗", {"--gtfs", s.Path("commas.zip")});
       s.exitCode = 1;
       s.mustSay = QStringLiteral("stops.txt:2: ");
     }},

    // One trip's calls, one shape's points and an entry's unzipped size are bounded.
    {"TripOf20001Calls",
     [](ImportScene& s) {
       gStopTimes = "trip_id,stop_id,stop_sequence\n";
       for (int i = 1; i <= 20001; ++i) gStopTimes += (i % 2 ? "t1,A," : "t1,B,") + std::to_string(i) + "\n";
       gtfsfixture::WriteZip(s.Std("calls.zip"), gtfsfixture::Feed({{"stop_times.txt", gStopTimes.c_str()}}));
       s.Import("长", {"--gtfs", s.Path("calls.zip")});
       s.exitCode = 1;
       s.mustSay = QStringLiteral("20000 calls");
     }},
    {"ShapeOf200001Points",
     [](ImportScene& s) {
       gShapes = "shape_id,shape_pt_sequence,shape_pt_lat,shape_pt_lon\n";
       for (int i = 1; i <= 200001; ++i) gShapes += "s," + std::to_string(i) + ",30.0,114.0\n";
       gtfsfixture::WriteZip(
           s.Std("shape.zip"),
           gtfsfixture::Feed({{"trips.txt", "route_id,trip_id,direction_id,shape_id\nR,t1,0,s\n"},
                              {"shapes.txt", gShapes.c_str()}}));
       s.Import("形", {"--gtfs", s.Path("shape.zip")});
       s.exitCode = 1;
       s.mustSay = QStringLiteral("200000 points");
     }},
    {"EntryThatUnzipsThousandfold",
     [](ImportScene& s) {
       gStopTimes = "trip_id,stop_id,stop_sequence\nt1,A,1\nt1,B,2\n" + Repeat("\n", 20'000'000);
       gtfsfixture::WriteZip(s.Std("bomb.zip"), gtfsfixture::Feed({{"stop_times.txt", gStopTimes.c_str()}}));
       s.Import("炸", {"--gtfs", s.Path("bomb.zip")});
       s.exitCode = 1;
       s.mustSay = QStringLiteral("500 times");
     }},

    // A killed import's leftovers: the old city in the trash of a replacement, a half-written
    // new one and the private temporary folder. The next import puts the old city back and removes
    // the rest.
    {"LeftoversOfAKilledReplacement",
     [](ImportScene& s) {
       ImportBefore(s, QStringLiteral("旧"), s.out);
       const QString trash = s.out + "/map/.旧.old-AbC123";
       ASSERT_TRUE(QDir().mkpath(trash));
       ASSERT_TRUE(QDir().rename(s.out + "/map/旧", trash + "/map"));
       ASSERT_TRUE(QDir().rename(s.out + "/data/旧.mdb", trash + "/db"));
       ASSERT_TRUE(QDir().mkpath(s.out + "/map/.旧.tmp-XyZ789") &&
                   QDir().mkpath(s.out + "/data/.旧.tmp-XyZ789"));
       ASSERT_TRUE(QDir().mkpath(s.home + "/qiwu-import-Qw1234/osm"));
       osmfixture::WriteSmallCity(s.Std("new.osm.pbf"));
       s.Import("新", {"--osm", s.Path("new.osm.pbf")});
       s.check = [](const ImportScene& s) {
         EXPECT_EQ(Entries(s.out + "/map"), (QStringList{"新", "旧"}));
         EXPECT_EQ(Entries(s.out + "/data"),
                   (QStringList{"新.import.txt", "新.mdb", "旧.import.txt", "旧.mdb"}));
         EXPECT_TRUE(QFile::exists(s.out + "/map/旧/旧.gst"));
       };
     }},

    // A published city is not replaced behind its server's back.
    {"ReplacingAPublishedCity",
     [](ImportScene& s) {
       ImportBefore(s, QStringLiteral("发布"), s.out);
       QFile pg(s.out + "/data/发布.pg");
       ASSERT_TRUE(pg.open(QIODevice::WriteOnly));
       pg.write("host=127.0.0.1 dbname=city\n");
       pg.close();
       osmfixture::WriteSmallCity(s.Std("new.osm.pbf"));
       s.Import("发布", {"--osm", s.Path("new.osm.pbf"), "--replace"});
       s.exitCode = 3;
       s.mustSay = QStringLiteral("发布.pg");
     }},

    // Installed: the shared data folder holds the city already, so the user's copy could never open.
    {"NameTheSharedFolderHolds",
     [](ImportScene& s) {
       const QString prefix = s.work + "/usr";
       ASSERT_TRUE(QDir().mkpath(prefix + "/bin") && QDir().mkpath(prefix + "/share/qiwu"));
       s.program = prefix + "/bin/qiwu-import";
       ASSERT_TRUE(QFile::copy(QStringLiteral(QIWU_IMPORT), s.program));
       ImportBefore(s, QStringLiteral("共享"), prefix + "/share/qiwu");
       osmfixture::WriteSmallCity(s.Std("new.osm.pbf"));
       s.arguments = QStringList{"--city", "共享", "--osm", s.Path("new.osm.pbf")};
       s.exitCode = 3;
       s.mustSay = QStringLiteral("share/qiwu");
     }},

    // Sources reached through symbolic links are read where they lie.
    {"ExtractThroughASymlink",
     [](ImportScene& s) {
       ASSERT_TRUE(QDir().mkpath(s.Path("real")) && QDir().mkpath(s.Path("links")));
       osmfixture::WriteSmallCity(s.Std("real/city.osm.pbf"));
       ASSERT_TRUE(QFile::link(s.Path("real/city.osm.pbf"), s.Path("links/city.osm.pbf")));
       s.Import("链", {"--osm", s.Path("links/city.osm.pbf")});
     }},
    {"FeedThroughASymlink",
     [](ImportScene& s) {
       ASSERT_TRUE(QDir().mkpath(s.Path("real")) && QDir().mkpath(s.Path("links")));
       gtfsfixture::WriteZip(s.Std("real/feed.zip"), gtfsfixture::Feed());
       ASSERT_TRUE(QFile::link(s.Path("real/feed.zip"), s.Path("links/feed.zip")));
       s.Import("链", {"--gtfs", s.Path("links/feed.zip")});
     }},
    {"ZipWithABraceInItsPath",
     [](ImportScene& s) {
       gtfsfixture::WriteZip(s.Std("a}b.zip"), gtfsfixture::Feed());
       s.Import("括", {"--gtfs", s.Path("a}b.zip")});
       s.exitCode = 1;
       s.mustSay = QStringLiteral("'}'");
     }},

    // A node outside the world: GDAL's own complaint, and the node; from XML, GDAL's driver drops it
    // and only the counts differed ("features were lost").
    {"NodeAtLatitude95",
     [](ImportScene& s) {
       osmfixture::WriteOsm(s.Std("pole.osm.pbf"),
                            {{1, 114.30, 30.55, {{"amenity", "restaurant"}, {"name", "甲"}}},
                             {7, 114.31, 95.0, {{"amenity", "restaurant"}, {"name", "乙"}}}});
       s.Import("极", {"--osm", s.Path("pole.osm.pbf")});
       s.exitCode = 1;
       s.mustSay = QStringLiteral("node 7");
     }},
    {"NodeAtLatitude95InXml",
     [](ImportScene& s) {
       osmfixture::WriteOsm(s.Std("pole.osm"),
                            {{1, 114.30, 30.55, {{"amenity", "restaurant"}, {"name", "甲"}}},
                             {7, 114.31, 95.0, {{"amenity", "restaurant"}, {"name", "乙"}}}});
       s.Import("极", {"--osm", s.Path("pole.osm")});
       s.exitCode = 1;
       s.mustSay = QStringLiteral("node 7 lies outside the world");
     }},

    // A quote in a city name would end a string of its workspace files.
    {"QuoteInTheCityName",
     [](ImportScene& s) {
       osmfixture::WriteSmallCity(s.Std("city.osm.pbf"));
       s.Import("引\"号", {"--osm", s.Path("city.osm.pbf")});
       s.exitCode = 2;
       s.mustSay = QStringLiteral("\"");
     }},
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

class HostileImport : public testing::TestWithParam<Case> {};

TEST_P(HostileImport, EndsInTimeWithItsAnswerAndLeavesNoTemporaries) {
  ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("strace")).isEmpty())
      << "strace watches the program (scripts/install-deps.sh installs it)";
  QTemporaryDir root;
  ImportScene scene;
  scene.work = root.path() + "/work";
  scene.out = root.path() + "/program";
  scene.home = root.path() + "/home";
  ASSERT_TRUE(QDir().mkpath(scene.work) && QDir().mkpath(scene.out) && QDir().mkpath(scene.home));
  GetParam().build(scene);
  if (HasFailure()) return;

  RunPlan plan;
  plan.program = scene.program;
  plan.arguments = scene.arguments;
  plan.home = scene.home;
  plan.timeoutMs = 60000;
  plan.addressSpaceBytes = kAddressSpace;
  const WatchedRun run = RunWatched(plan);
  const std::string output =
      "\nstdout: " + run.out.left(2000).toStdString() + "\nstderr: " + run.err.left(2000).toStdString();
  ASSERT_TRUE(run.finished) << "still running after " << plan.timeoutMs << " ms" << output;
  ASSERT_FALSE(run.crashed) << output;
  EXPECT_EQ(run.exitCode, scene.exitCode) << output;
  if (!scene.mustSay.isEmpty()) {
    EXPECT_TRUE(run.err.contains(scene.mustSay)) << "no " << scene.mustSay.toStdString() << output;
  }
  EXPECT_FALSE(run.err.contains(QStringLiteral("temporary folder full"))) << output;
  EXPECT_EQ(Entries(scene.home).filter(QStringLiteral("qiwu-import-")), QStringList());
  for (const char* folder : {"/map", "/data"})
    EXPECT_EQ(Entries(scene.out + folder).filter(QRegularExpression(QStringLiteral("^\\."))), QStringList());
  if (scene.check) scene.check(scene);
}

INSTANTIATE_TEST_SUITE_P(Cases, HostileImport, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace hostile
