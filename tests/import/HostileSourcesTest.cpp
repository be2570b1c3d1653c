// Crafted sources read by the importer's own functions: strings with NUL bytes, nodes outside the
// world, zip entries that unzip far beyond their size, paths through links and with braces, and
// cities a replacement must not touch.
#include <gdal_priv.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "import/CityImport.h"
#include "import/CityPlacement.h"
#include "import/ImportFailure.h"
#include "import/InputError.h"
#include "import/gtfs/GtfsReader.h"
#include "import/gtfs/ZipDirectory.h"
#include "import/osm/OsmReader.h"
#include "map/GdalLockDown.h"
#include "tests/import/GtfsFeedFixture.h"
#include "tests/import/OsmFileFixture.h"

namespace {

using qiwu::import::ImportCity;
using qiwu::import::ImportFailure;
using qiwu::import::ImportRequest;
using qiwu::import::InputError;
using qiwu::import::ZipEntry;

void Write(const QString& path, const QByteArray& text) {
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
  file.write(text);
}

QByteArray Read(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

QStringList Hidden(const QString& folder) {
  return QDir(folder).entryList({QStringLiteral(".*")},
                                QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

class HostileSources : public testing::Test {
 protected:
  void SetUp() override { GDALAllRegister(); }
  std::string Path(const std::string& name) const {
    return dir_.filePath(QString::fromStdString(name)).toStdString();
  }
  // The message ReadOsm throws for the file, or "" when it reads it.
  std::string OsmRefusal(const std::string& path) {
    const std::string scratch = Path("scratch" + std::to_string(++reads_));
    QDir().mkpath(QString::fromStdString(scratch));
    try {
      qiwu::import::osm::ReadOsm(path, scratch, qiwu::import::osm::DefaultNameKeys(), {});
      return "";
    } catch (const InputError& error) {
      return error.what();
    }
  }
  std::string GtfsRefusal(const std::string& path) {
    try {
      qiwu::import::ReadGtfsFeeds({path}, {});
      return "";
    } catch (const InputError& error) {
      return error.what();
    }
  }
  ImportRequest Request(const std::string& city, const std::string& programDir) {
    ImportRequest request;
    request.city = city;
    request.programDir = programDir;
    request.osm = osmfixture::WriteSmallCity(Path(city + ".osm.pbf"));
    return request;
  }
  QTemporaryDir dir_;
  int reads_ = 0;
};

// Each string of a tag holds one NUL, in a key or a value, of a node or a relation: the walk over
// the tags would step past the object's end.
TEST_F(HostileSources, NulInsideAnOsmStringRefusesTheFile) {
  struct Case {
    const char* what;
    bool inNode;
    bool inKey;
  };
  for (const Case& c : {Case{"a stop's name", true, false}, Case{"a stop's key", true, true},
                        Case{"a route's ref", false, false}, Case{"a route's key", false, true}}) {
    const osmfixture::TagList tags = {{c.inKey ? "refMARK" : "ref", c.inKey ? "5" : "5MARK"}};
    const std::string path =
        Path(std::string(c.inNode ? "node" : "relation") + (c.inKey ? "k" : "v") + ".osm.pbf");
    osmfixture::TagList stopTags{{"highway", "bus_stop"}, {"name", "乙"}};
    if (c.inNode) stopTags.insert(stopTags.end(), tags.begin(), tags.end());
    osmfixture::WriteOsm(
        path, {{1, 114.30, 30.55, {{"highway", "bus_stop"}, {"name", "甲"}}}, {2, 114.31, 30.56, stopTags}},
        {{10, {1, 2}, c.inNode ? osmfixture::TagList{{"ref", "5"}} : tags}});
    ASSERT_EQ(osmfixture::ReplaceBytes(path, "MARK", std::string("M\0RK", 4)), 1) << c.what;
    const std::string refusal = OsmRefusal(path);
    EXPECT_NE(refusal.find("NUL"), std::string::npos) << c.what << ": " << refusal;
    EXPECT_NE(refusal.find(path), std::string::npos) << c.what << ": " << refusal;
  }
}

TEST_F(HostileSources, NodeOutsideTheWorldIsNamedWithGdalsComplaint) {
  for (const char* format : {".osm.pbf", ".osm"})
    for (const double lat : {95.0, -91.0}) {
      const std::string path = Path("pole" + std::to_string(int(lat)) + format);
      osmfixture::WriteOsm(path, {{1, 114.30, 30.55, {{"amenity", "restaurant"}, {"name", "甲"}}},
                                  {7, 114.31, lat, {{"amenity", "restaurant"}, {"name", "乙"}}}});
      const std::string refusal = OsmRefusal(path);
      EXPECT_NE(refusal.find("node 7"), std::string::npos) << refusal;
      EXPECT_EQ(refusal.find("temporary folder"), std::string::npos) << refusal;
      EXPECT_NE(refusal.find("GDAL"), std::string::npos) << refusal;
    }
  EXPECT_EQ(OsmRefusal(osmfixture::WriteSmallCity(Path("small.osm.pbf"))), "");
}

// An entry of 20 MB of line ends zipped to some 20 KB: refused before it is read.
TEST_F(HostileSources, ZipEntryThatUnzipsFarBeyondItsSizeIsRefused) {
  const std::string blank = "trip_id,stop_id,stop_sequence\nt1,A,1\nt1,B,2\n" + std::string(20'000'000, '\n');
  const std::string bomb =
      gtfsfixture::WriteZip(Path("bomb.zip"), gtfsfixture::Feed({{"stop_times.txt", blank.c_str()}}));
  const std::string refusal = GtfsRefusal(bomb);
  EXPECT_NE(refusal.find("stop_times.txt"), std::string::npos) << refusal;
  EXPECT_NE(refusal.find("500 times"), std::string::npos) << refusal;
  EXPECT_EQ(GtfsRefusal(gtfsfixture::WriteZip(Path("plain.zip"), gtfsfixture::Feed())), "");
}

// GDAL locked down as qiwu-import runs it, so that the confinement judges the paths; in a child
// process of its own, since a process locks GDAL down once.
TEST_F(HostileSources, LinkedSourcesAreReadWhereTheyLie) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  ASSERT_TRUE(QDir().mkpath(dir_.filePath("real")) && QDir().mkpath(dir_.filePath("links")));
  const std::string zip = gtfsfixture::WriteZip(Path("real/feed.zip"), gtfsfixture::Feed());
  ASSERT_TRUE(QFile::link(QString::fromStdString(zip), dir_.filePath("links/feed.zip")));
  ImportRequest request = Request("链", Path("program"));
  ASSERT_TRUE(QFile::link(QString::fromStdString(request.osm), dir_.filePath("links/city.osm.pbf")));
  request.osm = Path("links/city.osm.pbf");
  request.gtfs = {Path("links/feed.zip")};
  request.allowApart = true;  // the two fixtures lie far apart; only the links matter here
  const auto import = [&request] {
    LockDownGdal({QStringLiteral("OSM"), QStringLiteral("GPKG")}, {QStringLiteral("/vsizip/")});
    try {
      ImportCity(request, {});
      std::exit(QFile::exists(QString::fromStdString(request.programDir + "/map/链/链.gst")) ? 0 : 2);
    } catch (const std::exception& failure) {
      std::fprintf(stderr, "%s\n", failure.what());
      std::exit(3);
    }
  };
  EXPECT_EXIT(import(), ::testing::ExitedWithCode(0), "");
}

// An entry that unzips to more than its directory declares is cut off where the declaration ends.
TEST_F(HostileSources, ZipEntryLargerThanDeclaredIsRefused) {
  const std::string calls = "trip_id,stop_id,stop_sequence\nt1,A,1\nt1,B,2\n" + std::string(3000, '\n');
  const std::string zip =
      gtfsfixture::WriteZip(Path("liar.zip"), gtfsfixture::Feed({{"stop_times.txt", calls.c_str()}}));
  std::string bytes;
  {
    std::ifstream in(zip, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), {});
  }
  // The uncompressed size in the entry's local header (at 22) and directory entry (at 24): 100.
  int patched = 0;
  for (std::size_t at = bytes.find("stop_times.txt"); at != std::string::npos;
       at = bytes.find("stop_times.txt", at + 1)) {
    const std::size_t header = at >= 46 && bytes.compare(at - 46, 4, "PK\1\2") == 0   ? at - 46 + 24
                               : at >= 30 && bytes.compare(at - 30, 4, "PK\3\4") == 0 ? at - 30 + 22
                                                                                      : 0;
    if (!header) continue;
    bytes.replace(header, 4, std::string("\x64\0\0\0", 4));
    ++patched;
  }
  ASSERT_EQ(patched, 2);
  std::ofstream(zip, std::ios::binary | std::ios::trunc) << bytes;
  const std::string refusal = GtfsRefusal(zip);
  EXPECT_NE(refusal.find("stop_times.txt"), std::string::npos) << refusal;
  EXPECT_NE(refusal.find("declares"), std::string::npos) << refusal;
}

TEST_F(HostileSources, BraceInAZipPathIsRefusedWithItsReason) {
  const std::string zip = gtfsfixture::WriteZip(Path("a}b.zip"), gtfsfixture::Feed());
  const std::string refusal = GtfsRefusal(zip);
  EXPECT_NE(refusal.find("'}'"), std::string::npos) << refusal;
  EXPECT_NE(refusal.find(zip), std::string::npos) << refusal;
}

TEST_F(HostileSources, PublishedCityIsNotReplaced) {
  ImportRequest request = Request("发布", Path("program"));
  ImportCity(request, {});
  QFile pg(dir_.filePath("program/data/发布.pg"));
  ASSERT_TRUE(pg.open(QIODevice::WriteOnly));
  pg.close();
  request.replace = true;
  try {
    ImportCity(request, {});
    ADD_FAILURE() << "replaced a published city";
  } catch (const ImportFailure& failure) {
    EXPECT_EQ(failure.exitCode(), 3);
    EXPECT_NE(std::string(failure.what()).find("data/发布.pg"), std::string::npos) << failure.what();
  }
  QFile::remove(pg.fileName());
  EXPECT_NO_THROW(ImportCity(request, {})) << "without it, the city is replaced";
}

TEST(ZipEntries, RefusedOver500TimesTheirZippedSizeOrOver16GiB) {
  const std::uint64_t gib = std::uint64_t(1) << 30;
  const struct {
    ZipEntry entry;
    bool refused;
  } cases[] = {{{100, 50000}, false},    {{100, 50001}, true},
               {{0, 500}, false},        {{0, 501}, true},
               {{gib, 16 * gib}, false}, {{gib, 16 * gib + 1}, true},
               {{0, 0}, false},          {{UINT64_MAX, UINT64_MAX}, true}};
  for (const auto& c : cases)
    EXPECT_EQ(qiwu::import::RefuseZipEntry(c.entry).empty(), !c.refused)
        << c.entry.compressed << " → " << c.entry.uncompressed;
}

TEST_F(HostileSources, ZipDirectorySizesAreThoseOfTheEntries) {
  const std::string text(300000, 'x'), other = "route_id\nR\n";
  const std::string zip =
      gtfsfixture::WriteZip(Path("sizes.zip"), {{"a.txt", text.c_str()}, {"b.txt", other.c_str()}});
  const auto entries = qiwu::import::ReadZipDirectory(zip);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries.at("a.txt").uncompressed, text.size());
  EXPECT_EQ(entries.at("b.txt").uncompressed, other.size());
  EXPECT_LT(entries.at("a.txt").compressed, 2000u) << "300,000 x zip small";
  EXPECT_GT(entries.at("a.txt").compressed, 0u);
  Write(dir_.filePath("plain.txt"), "no zip");
  EXPECT_THROW(qiwu::import::ReadZipDirectory(Path("plain.txt")), InputError);
}

TEST_F(HostileSources, NameAnotherDataFolderHoldsIsRefused) {
  ImportRequest shared = Request("共享", Path("share"));
  ImportCity(shared, {});
  ImportRequest own = Request("共享", Path("own"));
  own.otherDataFolders = {Path("share")};
  try {
    ImportCity(own, {});
    ADD_FAILURE() << "imported a name the shared folder holds";
  } catch (const ImportFailure& failure) {
    EXPECT_EQ(failure.exitCode(), 3);
    EXPECT_NE(std::string(failure.what()).find(Path("share")), std::string::npos) << failure.what();
  }
  own.city = "自己";
  EXPECT_NO_THROW(ImportCity(own, {}));
}

// What a kill at each step of a replacement leaves, and what the next import makes of it.
TEST_F(HostileSources, LeftoversOfKilledImportsAreFinishedPutBackOrRemoved) {
  const QString prog = dir_.filePath("prog"), temp = dir_.filePath("temp");
  // Killed between the map's exchange and the database's rename.
  Write(prog + "/map/甲/甲.gst", "new map");
  Write(prog + "/map/甲/.database-pending", ".甲.tmp-Aa1111");
  Write(prog + "/data/.甲.tmp-Aa1111/甲.mdb", "new db");
  Write(prog + "/data/甲.mdb", "old db");
  Write(prog + "/map/.甲.tmp-Bb2222/甲.gst", "old map");
  // Killed by an older importer with both parts of the old city aside.
  Write(prog + "/map/.乙.old-Cc3333/map/乙.gst", "old map");
  Write(prog + "/map/.乙.old-Cc3333/db", "old db");
  // Killed after the replacement, before its trash was removed; and while writing.
  Write(prog + "/map/丙/丙.gst", "new map");
  Write(prog + "/data/丙.mdb", "new db");
  Write(prog + "/map/.丙.old-Dd4444/map/丙.gst", "old map");
  Write(prog + "/map/.丁.tmp-Ee5555/丁.gpkg", "half");
  // A note whose text names a folder elsewhere is no instruction.
  Write(prog + "/map/戊/.database-pending", "../../elsewhere");
  Write(prog + "/data/戊.mdb", "db");
  Write(dir_.filePath("elsewhere/戊.mdb"), "bait");
  // Nor does a note that is a FIFO block the import.
  Write(prog + "/map/己/己.gst", "map");
  ASSERT_EQ(::mkfifo((prog + "/map/己/.database-pending").toUtf8().constData(), 0600), 0);
  // Private folders: one of a killed import, one of a running import.
  Write(temp + "/qiwu-import-Ff6666/osm/x", "x");
  Write(temp + "/qiwu-import-Gg7777/osm/x", "x");
  const qiwu::import::FolderLock running((temp + "/qiwu-import-Gg7777").toStdString(),
                                         qiwu::import::FolderLock::Want::Exclusive);

  qiwu::import::CleanUpLeftovers(prog.toStdString(), temp.toStdString());
  EXPECT_EQ(Read(prog + "/data/甲.mdb"), "new db");
  EXPECT_EQ(Read(prog + "/map/甲/甲.gst"), "new map");
  EXPECT_EQ(Read(prog + "/map/乙/乙.gst"), "old map");
  EXPECT_EQ(Read(prog + "/data/乙.mdb"), "old db");
  EXPECT_EQ(Read(prog + "/map/丙/丙.gst"), "new map");
  EXPECT_EQ(Read(prog + "/data/戊.mdb"), "db");
  EXPECT_TRUE(QFile::exists(dir_.filePath("elsewhere/戊.mdb")));
  for (const QString& folder :
       {prog + "/map", prog + "/data", prog + "/map/甲", prog + "/map/戊", prog + "/map/己"})
    EXPECT_EQ(Hidden(folder), QStringList()) << folder.toStdString();
  EXPECT_EQ(QDir(temp).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList{"qiwu-import-Gg7777"});
}

// With an exchange of the map folders, and (file systems without one) with the old one moved aside;
// a database that cannot be moved (gone) leaves the old city as it was.
TEST_F(HostileSources, ReplacementPutsTheNewCityInPlaceWhole) {
  const QString prog = dir_.filePath("prog");
  int run = 0;
  for (const bool exchange : {true, false})
    for (const bool hadCity : {true, false})
      for (const bool dbMoves : {true, false}) {
        const QString city = QString::number(++run), newMap = prog + "/map/." + city + ".tmp-Aa0001";
        const QString newDb = prog + "/data/." + city + ".tmp-Bb0002/" + city + ".mdb";
        if (hadCity) {
          Write(prog + "/map/" + city + "/a.gst", "old map");
          Write(prog + "/data/" + city + ".mdb", "old db");
        }
        Write(newMap + "/a.gst", "new map");
        Write(newDb, "new db");
        if (!dbMoves) QFile::remove(newDb);
        const auto put = [&] {
          qiwu::import::PutInPlace(newMap.toStdString(), newDb.toStdString(),
                                   (prog + "/map/" + city).toStdString(),
                                   (prog + "/data/" + city + ".mdb").toStdString(), exchange);
        };
        const std::string what = "run " + std::to_string(run);
        if (dbMoves) {
          EXPECT_NO_THROW(put()) << what;
        } else {
          EXPECT_THROW(put(), ImportFailure) << what;
        }
        const QByteArray mapNow = Read(prog + "/map/" + city + "/a.gst");
        EXPECT_EQ(mapNow, dbMoves ? "new map" : hadCity ? "old map" : "(missing)") << what;
        if (dbMoves) {
          EXPECT_EQ(Read(prog + "/data/" + city + ".mdb"), "new db") << what;
        }
        EXPECT_EQ(Hidden(prog + "/map/" + city), QStringList()) << what;
        const QStringList leftovers = Hidden(prog + "/map").filter(QStringLiteral(".old-"));
        EXPECT_EQ(leftovers, QStringList()) << what;
        // What stays at newMap: the old map after an exchange, the new one when it failed.
        const bool kept = dbMoves ? hadCity && exchange : true;
        EXPECT_EQ(QFileInfo::exists(newMap + "/a.gst"), kept) << what;
        QDir(newMap).removeRecursively();
      }
}

}  // namespace
