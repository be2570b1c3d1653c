// Workspaces from untrusted data sets: files outside the workspace's folder, special files, network
// paths, GeoPackages in WAL mode and endless views are refused or read without writing anything.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <atomic>
#include <functional>
#include <thread>

#include "map/Workspace.h"
#include "tests/hostile/DataSetEdits.h"
#include "tests/map/MapFixture.h"
#include "tests/support/Fingerprint.h"

namespace {

using namespace hostile;

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
  QString Url(const char* file) const {
    return QStringLiteral("http://127.0.0.1:%1/%2").arg(port_).arg(file);
  }
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

QString Vrt(const QString& source) {
  return QStringLiteral(
             "<OGRVRTDataSource><OGRVRTLayer name=\"x\"><SrcDataSource>%1</SrcDataSource>"
             "</OGRVRTLayer></OGRVRTDataSource>")
      .arg(source);
}

// A layer "places" of one point; without a spatial index, so plain SQLite can add rows.
void WritePlaces(const char* driver, const QString& path) {
  WritePointLayer(driver, path, "places", 4547, {{"北门", {500000, 3400000}}}, {"SPATIAL_INDEX=NO"});
}

// A workspace in city/ below the temporary folder; outside.gpkg lies beside city/.
struct HostileCity {
  HostileCity() {
    QDir(ws.Path(".")).mkdir(QStringLiteral("city"));
    WritePlaces("GPKG", ws.Path("outside.gpkg"));
    WritePlaces("GPKG", City("d.gpkg"));
  }
  QString City(const QString& file) const { return ws.Path("city/" + file); }
  Outcome Load(const QStringList& lines) const {
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
      {"absolute path", [&](const HostileCity& c) { return layer(c.ws.Path("outside.gpkg")); },
       "outside.gpkg"},
      {"parent folder", [&](const HostileCity&) { return layer("../outside.gpkg"); }, "../outside.gpkg"},
      {"link out of the folder",
       [&](const HostileCity& c) {
         QFile::link(c.ws.Path("outside.gpkg"), c.City("link.gpkg"));
         return layer("link.gpkg");
       },
       "link.gpkg"},
      {"FIFO layer",
       [&](const HostileCity& c) {
         MakeFifo(c.City("pipe.gpkg"));
         return layer("pipe.gpkg");
       },
       "pipe.gpkg"},
      {"device layer",
       [&](const HostileCity& c) {
         QFile::link(QStringLiteral("/dev/zero"), c.City("zero.geojson"));
         return layer("zero.geojson");
       },
       "zero.geojson"},
      {"vsicurl layer", [&](const HostileCity& c) { return layer("/vsicurl/" + c.server.Url("x.geojson")); },
       "vsicurl"},
      {"URL layer", [&](const HostileCity& c) { return layer(c.server.Url("x.geojson")); }, "x.geojson"},
      {"VRT source on the network",
       [&](const HostileCity& c) {
         WriteFile(c.City("remote.vrt"), Vrt("/vsicurl/" + c.server.Url("x.csv")).toUtf8());
         return layer("remote.vrt");
       },
       "/vsicurl/http://127.0.0.1"},
      {"VRT source outside the folder",
       [&](const HostileCity& c) {
         WriteFile(c.City("escape.vrt"), Vrt(c.ws.Path("outside.gpkg")).toUtf8());
         return layer("escape.vrt");
       },
       "outside.gpkg"},
      {"VRT source of a driver the program does not need",
       [&](const HostileCity& c) {
         WriteFile(c.City("pg.vrt"),
                   Vrt(QStringLiteral("PG:host=127.0.0.1 port=%1").arg(c.server.Port())).toUtf8());
         return layer("pg.vrt");
       },
       "PG:host"},
      {"GeoPackage -wal that is a FIFO",
       [&](const HostileCity& c) {
         MakeFifo(c.City("d.gpkg-wal"));
         return layer("d.gpkg");
       },
       "d.gpkg-wal"},
      {"Shapefile side file that is a FIFO",
       [&](const HostileCity& c) {
         WritePlaces("ESRI Shapefile", c.City("s.shp"));
         MakeFifo(c.City("s.prj"));
         return layer("s.shp");
       },
       "s.prj"},
      {"Shapefile side file linked to a device",
       [&](const HostileCity& c) {
         WritePlaces("ESRI Shapefile", c.City("s.shp"));
         QFile::remove(c.City("s.dbf"));
         QFile::link(QStringLiteral("/dev/zero"), c.City("s.dbf"));
         return layer("s.shp");
       },
       "s.dbf"},
      {"coordinate that is not finite",
       [&](const HostileCity& c) {
         WriteFile(c.City("inf.geojson"),
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
         MakeFifo(c.City("crs.prj"));
         return QStringList{QStringLiteral(R"("\GEOSET\PROJECTION" = "%1")").arg(c.City("crs.prj")),
                            FileLine("d.gpkg")};
       },
       "crs.prj"},
  };
  for (const Case& c : cases) {
    HostileCity city;
    const Outcome r = city.Load(c.prepare(city));
    EXPECT_FALSE(r.ok()) << c.what;
    EXPECT_TRUE(r.description.contains(c.mention)) << c.what << ": " << r.description.toStdString();
    EXPECT_EQ(city.server.Connections(), 0) << c.what;
  }
}

TEST(HostileWorkspaceTest, RefusesAWorkspaceFileThatIsSpecialOrTooLarge) {
  HostileCity city;
  MakeFifo(city.City("fifo.gst"));
  QFile::link(QStringLiteral("/dev/zero"), city.City("zero.gst"));
  WriteFile(city.City("large.gst"), "!GEOSET\n" + QByteArray(kMaxWorkspaceBytes, '!'));
  for (const char* file : {"fifo.gst", "zero.gst", "large.gst"}) {
    Workspace workspace;
    const Outcome r = LoadWorkspace(city.City(file), workspace);
    EXPECT_EQ(r.number, kMapErrorReadFailed) << file;
    EXPECT_TRUE(r.description.contains(file)) << r.description.toStdString();
  }
}

TEST(HostileWorkspaceTest, ReadsEveryRowOfAGeoPackageAndChangesNothingBesideIt) {
  for (const bool wal : {false, true}) {
    HostileCity city;
    if (wal) {
      LeaveRowsInWal(city.City("d.gpkg"), "INSERT INTO places(geom, name) SELECT geom, '南门' FROM places");
      ASSERT_TRUE(QFileInfo::exists(city.City("d.gpkg-wal")));
    }
    const QString gst = city.ws.WriteGst(QStringLiteral("city/city.gst"), {kProjection, FileLine("d.gpkg")});
    const QMap<QString, QByteArray> before = Fingerprint(city.City("."));
    Workspace workspace;
    const Outcome r = LoadWorkspace(gst, workspace);
    ASSERT_TRUE(r.ok()) << r.description.toStdString();
    EXPECT_EQ(workspace.layers[0]->Store().Count(), wal ? 2 : 1);
    EXPECT_EQ(Fingerprint(city.City(".")), before) << (wal ? "with -wal" : "without -wal");
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
    ExecSql(city.City("d.gpkg"), QString::fromUtf8(sql));
    const Outcome r =
        city.Load({kProjection, FileLine("d.gpkg"), QStringLiteral(R"("\TABLE\1\LAYER" = "endless")")});
    EXPECT_FALSE(r.ok()) << view;
    EXPECT_TRUE(r.description.contains("d.gpkg") && r.description.contains("endless"))
        << r.description.toStdString();
  }
}
