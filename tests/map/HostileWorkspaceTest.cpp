// Workspaces from untrusted data sets: files outside the workspace's folder, special files, network
// paths, GeoPackages in WAL mode and endless views are refused or read without writing anything.
#include <arpa/inet.h>
#include <gdal_priv.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <ogrsf_frmts.h>
#include <poll.h>
#include <sqlite3.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <atomic>
#include <functional>
#include <thread>

#include "map/Workspace.h"
#include "tests/map/MapFixture.h"

namespace {

// Counts TCP connections to a port on 127.0.0.1, answering each with 404.
class LoopbackServer {
 public:
  LoopbackServer() {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    EXPECT_EQ(::bind(fd_, reinterpret_cast<sockaddr*>(&address), length), 0);
    EXPECT_EQ(::listen(fd_, 16), 0);
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] {
      pollfd waiting{fd_, POLLIN, 0};
      while (!stop_) {
        if (::poll(&waiting, 1, 50) <= 0) continue;
        const int client = ::accept(fd_, nullptr, nullptr);
        if (client < 0) continue;
        ++connections_;
        static const char kAnswer[] = "HTTP/1.0 404 Not Found\r\nContent-Length: 0\r\n\r\n";
        [[maybe_unused]] const ssize_t sent = ::write(client, kAnswer, sizeof kAnswer - 1);
        ::close(client);
      }
    });
  }
  ~LoopbackServer() {
    stop_ = true;
    thread_.join();
    ::close(fd_);
  }
  int Port() const { return port_; }
  QString Url(const char* file) const { return QStringLiteral("http://127.0.0.1:%1/%2").arg(port_).arg(file); }
  int Connections() const { return connections_; }

 private:
  int fd_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<int> connections_{0};
  std::thread thread_;
};

const QString kProjection = QStringLiteral(R"("\GEOSET\PROJECTION" = "EPSG:4547")");

QString FileLine(const QString& file) { return QStringLiteral(R"("\TABLE\1\FILE" = "%1")").arg(file); }

void WriteText(const QString& path, const QByteArray& text) {
  QFile out(path);
  ASSERT_TRUE(out.open(QIODevice::WriteOnly)) << path.toStdString();
  out.write(text);
}

QString Vrt(const QString& source) {
  return QStringLiteral("<OGRVRTDataSource><OGRVRTLayer name=\"x\"><SrcDataSource>%1</SrcDataSource>"
                        "</OGRVRTLayer></OGRVRTDataSource>")
      .arg(source);
}

// Every entry of a folder with its size and modification time, FIFOs and links included.
QStringList Listing(const QString& folder) {
  QStringList entries;
  for (const QFileInfo& info : QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                                          QDir::NoDotAndDotDot, QDir::Name))
    entries << QStringLiteral("%1 %2 %3").arg(info.fileName()).arg(info.size()).arg(
                   info.lastModified().toMSecsSinceEpoch());
  return entries;
}

// A layer "places" of points; in a GeoPackage without a spatial index, so plain SQLite can add rows.
void WritePoints(const char* driverName, const QString& path, int points) {
  GDALDriver* driver = GetGDALDriverManager()->GetDriverByName(driverName);
  ASSERT_NE(driver, nullptr);
  std::unique_ptr<GDALDataset> ds(driver->Create(path.toUtf8().constData(), 0, 0, 0, GDT_Unknown, nullptr));
  ASSERT_NE(ds, nullptr);
  OGRSpatialReference srs;
  srs.importFromEPSG(4547);
  const char* options[] = {"SPATIAL_INDEX=NO", nullptr};
  OGRLayer* layer = ds->CreateLayer("places", &srs, wkbPoint, const_cast<char**>(options));
  ASSERT_NE(layer, nullptr);
  OGRFieldDefn field("name", OFTString);
  layer->CreateField(&field);
  for (int i = 0; i < points; ++i) {
    OGRFeature feature(layer->GetLayerDefn());
    feature.SetField("name", "北门");
    OGRPoint point(500000 + i, 3400000);
    feature.SetGeometry(&point);
    ASSERT_EQ(layer->CreateFeature(&feature), OGRERR_NONE);
  }
}

// Runs statements on a GeoPackage with plain SQLite; keepWal leaves the -wal file unmerged.
void RunSql(const QString& path, const char* sql, bool keepWal = false) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
  if (keepWal) sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
  char* error = nullptr;
  EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
  sqlite3_free(error);
  sqlite3_close(db);
}

// A workspace in city/ below the temporary folder; outside.gpkg lies beside city/.
struct HostileCity {
  HostileCity() {
    QDir(ws.Path(".")).mkdir(QStringLiteral("city"));
    WritePoints("GPKG", ws.Path("outside.gpkg"), 1);
    WritePoints("GPKG", City("d.gpkg"), 1);
  }
  QString City(const QString& file) const { return ws.Path("city/" + file); }
  MapResult Load(const QStringList& lines) const {
    Workspace workspace;
    return LoadWorkspace(ws.WriteGst(QStringLiteral("city/city.gst"), lines), workspace);
  }
  TempWorkspace ws;
  LoopbackServer server;
};

}  // namespace

TEST(HostileWorkspaceTest, RefusesLayerFilesOutsideTheFolderSpecialFilesAndTheNetwork) {
  struct Case {
    const char* what;
    std::function<QStringList(const HostileCity&)> prepare;  // the metadata lines
    QString mention;
  };
  const auto layer = [](const QString& file) { return QStringList{kProjection, FileLine(file)}; };
  const Case cases[] = {
      {"absolute path", [&](const HostileCity& c) { return layer(c.ws.Path("outside.gpkg")); }, "outside.gpkg"},
      {"parent folder", [&](const HostileCity&) { return layer("../outside.gpkg"); }, "../outside.gpkg"},
      {"link out of the folder",
       [&](const HostileCity& c) {
         QFile::link(c.ws.Path("outside.gpkg"), c.City("link.gpkg"));
         return layer("link.gpkg");
       },
       "link.gpkg"},
      {"FIFO layer",
       [&](const HostileCity& c) {
         ::mkfifo(QFile::encodeName(c.City("pipe.gpkg")).constData(), 0600);
         return layer("pipe.gpkg");
       },
       "pipe.gpkg"},
      {"device layer",
       [&](const HostileCity& c) {
         QFile::link(QStringLiteral("/dev/zero"), c.City("zero.geojson"));
         return layer("zero.geojson");
       },
       "zero.geojson"},
      {"vsicurl layer", [&](const HostileCity& c) { return layer("/vsicurl/" + c.server.Url("x.geojson")); }, "vsicurl"},
      {"URL layer", [&](const HostileCity& c) { return layer(c.server.Url("x.geojson")); }, "x.geojson"},
      {"VRT source on the network",
       [&](const HostileCity& c) {
         WriteText(c.City("remote.vrt"), Vrt("/vsicurl/" + c.server.Url("x.csv")).toUtf8());
         return layer("remote.vrt");
       },
       "/vsicurl/http://127.0.0.1"},
      {"VRT source outside the folder",
       [&](const HostileCity& c) {
         WriteText(c.City("escape.vrt"), Vrt(c.ws.Path("outside.gpkg")).toUtf8());
         return layer("escape.vrt");
       },
       "outside.gpkg"},
      {"VRT source of a driver the program does not need",
       [&](const HostileCity& c) {
         WriteText(c.City("pg.vrt"), Vrt(QStringLiteral("PG:host=127.0.0.1 port=%1").arg(c.server.Port())).toUtf8());
         return layer("pg.vrt");
       },
       "PG:host"},
      {"GeoPackage -wal that is a FIFO",
       [&](const HostileCity& c) {
         ::mkfifo(QFile::encodeName(c.City("d.gpkg-wal")).constData(), 0600);
         return layer("d.gpkg");
       },
       "d.gpkg-wal"},
      {"Shapefile side file that is a FIFO",
       [&](const HostileCity& c) {
         WritePoints("ESRI Shapefile", c.City("s.shp"), 1);
         QFile::remove(c.City("s.prj"));
         ::mkfifo(QFile::encodeName(c.City("s.prj")).constData(), 0600);
         return layer("s.shp");
       },
       "s.prj"},
      {"Shapefile side file linked to a device",
       [&](const HostileCity& c) {
         WritePoints("ESRI Shapefile", c.City("s.shp"), 1);
         QFile::remove(c.City("s.dbf"));
         QFile::link(QStringLiteral("/dev/zero"), c.City("s.dbf"));
         return layer("s.shp");
       },
       "s.dbf"},
      {"coordinate that is not finite",
       [&](const HostileCity& c) {
         WriteText(c.City("inf.geojson"),
                   R"({"type":"FeatureCollection","crs":{"type":"name","properties":{"name":"EPSG:4547"}},)"
                   R"("features":[{"type":"Feature","properties":{"name":"甲"},)"
                   R"("geometry":{"type":"LineString","coordinates":[[500000,3400000],[1e999,3400000]]}}]})");
         return layer("inf.geojson");
       },
       "inf.geojson"},
      {"projection as a URL",
       [&](const HostileCity& c) {
         return QStringList{QStringLiteral(R"("\GEOSET\PROJECTION" = "%1")").arg(c.server.Url("x.prj")),
                            FileLine("d.gpkg")};
       },
       "x.prj"},
      {"projection as a FIFO",
       [&](const HostileCity& c) {
         ::mkfifo(QFile::encodeName(c.City("crs.prj")).constData(), 0600);
         return QStringList{QStringLiteral(R"("\GEOSET\PROJECTION" = "%1")").arg(c.City("crs.prj")),
                            FileLine("d.gpkg")};
       },
       "crs.prj"},
  };
  for (const Case& c : cases) {
    HostileCity city;
    const MapResult r = city.Load(c.prepare(city));
    EXPECT_FALSE(r.ok) << c.what;
    EXPECT_TRUE(r.description.contains(c.mention)) << c.what << ": " << r.description.toStdString();
    EXPECT_EQ(city.server.Connections(), 0) << c.what;
  }
}

TEST(HostileWorkspaceTest, RefusesAWorkspaceFileThatIsSpecialOrTooLarge) {
  HostileCity city;
  ::mkfifo(QFile::encodeName(city.City("fifo.gst")).constData(), 0600);
  QFile::link(QStringLiteral("/dev/zero"), city.City("zero.gst"));
  WriteText(city.City("large.gst"), "!GEOSET\n" + QByteArray(kMaxWorkspaceBytes, '!'));
  for (const char* file : {"fifo.gst", "zero.gst", "large.gst"}) {
    Workspace workspace;
    const MapResult r = LoadWorkspace(city.City(file), workspace);
    EXPECT_EQ(r.number, kMapErrorReadFailed) << file;
    EXPECT_TRUE(r.description.contains(file)) << r.description.toStdString();
  }
}

TEST(HostileWorkspaceTest, ReadsEveryRowOfAGeoPackageAndChangesNothingBesideIt) {
  for (const bool wal : {false, true}) {
    HostileCity city;
    if (wal) {
      RunSql(city.City("d.gpkg"), "PRAGMA journal_mode=WAL");
      RunSql(city.City("d.gpkg"), "INSERT INTO places(geom, name) SELECT geom, '南门' FROM places", true);
      ASSERT_TRUE(QFileInfo::exists(city.City("d.gpkg-wal")));
    }
    const QString gst = city.ws.WriteGst(QStringLiteral("city/city.gst"), {kProjection, FileLine("d.gpkg")});
    const QStringList before = Listing(city.City("."));
    Workspace workspace;
    const MapResult r = LoadWorkspace(gst, workspace);
    ASSERT_TRUE(r.ok) << r.description.toStdString();
    EXPECT_EQ(workspace.layers[0]->Store().Count(), wal ? 2 : 1);
    EXPECT_EQ(Listing(city.City(".")), before) << (wal ? "with -wal" : "without -wal");
  }
}

TEST(HostileWorkspaceTest, RefusesAGeoPackageViewThatNeverEnds) {
  const char* endless[] = {
      // never yields a row
      "WITH RECURSIVE c(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM c) SELECT n AS fid, NULL AS geom, "
      "'x' AS name FROM c WHERE n < 0",
      // yields rows without end
      "WITH RECURSIVE c(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM c) SELECT n AS fid, "
      "(SELECT geom FROM places) AS geom, 'x' AS name FROM c",
  };
  for (const char* view : endless) {
    HostileCity city;
    const QByteArray sql = QByteArray("CREATE VIEW endless AS ") + view +
                           "; INSERT INTO gpkg_contents(table_name, data_type, srs_id) VALUES ('endless', "
                           "'features', 4547); INSERT INTO gpkg_geometry_columns VALUES ('endless', 'geom', "
                           "'POINT', 4547, 0, 0);";
    RunSql(city.City("d.gpkg"), sql.constData());
    const MapResult r =
        city.Load({kProjection, FileLine("d.gpkg"), QStringLiteral(R"("\TABLE\1\LAYER" = "endless")")});
    EXPECT_FALSE(r.ok) << view;
    EXPECT_TRUE(r.description.contains("d.gpkg") && r.description.contains("endless"))
        << r.description.toStdString();
  }
}
