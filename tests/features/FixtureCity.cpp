#include "tests/features/FixtureCity.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>
#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <algorithm>
#include <random>
#include <stdexcept>

namespace fixture {

const Card kCards[2] = {
    {"湖畔酒家", "张湖", "0571-88881234", "湖滨路1号", "www.hupan.cn"},
    {"O'Neil 酒吧", "欧尼尔", "0571-88885678", "西河街27号", "https://oneil.example.cn/bar"},
};

namespace {

std::vector<NamedPoint> SeededStations() {
  std::mt19937 random(20261207);
  std::uniform_real_distribution<double> offset(-6000, 6000);
  std::vector<NamedPoint> stations;
  for (int i = 1; i <= 400; ++i) {
    const MapPoint at = At(offset(random), offset(random));
    stations.push_back({QStringLiteral("加油站%1").arg(i, 3, 10, QLatin1Char('0')), at});
  }
  // Two stations at one spot and one name used twice: ties and twins for the checks.
  stations.push_back({QStringLiteral("双子加油站"), stations[10].at});
  stations.push_back({QStringLiteral("加油站001"), At(5900, -5900)});
  return stations;
}

OGRLayer* NewLayer(GDALDataset& data, const char* name, OGRwkbGeometryType type) {
  OGRSpatialReference crs;
  crs.importFromEPSG(4547);
  OGRLayer* layer = data.CreateLayer(name, &crs, type, nullptr);
  OGRFieldDefn field("name", OFTString);
  layer->CreateField(&field);
  return layer;
}

void AddFeature(OGRLayer& layer, const QString& name, OGRGeometry& geometry) {
  OGRFeature feature(layer.GetLayerDefn());
  feature.SetField("name", name.toUtf8().constData());
  feature.SetGeometry(&geometry);
  if (layer.CreateFeature(&feature) != OGRERR_NONE) throw std::runtime_error("fixture: feature not written");
}

void AddPoints(GDALDataset& data, const char* name, const std::vector<NamedPoint>& points) {
  OGRLayer* layer = NewLayer(data, name, wkbPoint);
  for (const NamedPoint& p : points) {
    OGRPoint point(p.at.x, p.at.y);
    AddFeature(*layer, p.name, point);
  }
}

void WriteLayers(const QString& path) {
  GDALAllRegister();
  GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("GPKG");
  GDALDataset* data = driver->Create(path.toUtf8().constData(), 0, 0, 0, GDT_Unknown, nullptr);
  if (!data) throw std::runtime_error("fixture: GeoPackage not created");
  data->StartTransaction();

  OGRLayer* districts = NewLayer(*data, "行政区域", wkbPolygon);
  OGRLinearRing ring;
  for (const MapPoint& p : {At(-10000, -10000), At(10000, -10000), At(10000, 10000), At(-10000, 10000)})
    ring.addPoint(p.x, p.y);
  ring.closeRings();
  OGRPolygon area;
  area.addRing(&ring);
  AddFeature(*districts, QStringLiteral("栖坞市区"), area);

  OGRLayer* roads = NewLayer(*data, "主干道", wkbLineString);
  OGRLineString road;
  road.addPoint(kCx - 6000, kCy + 1000);
  road.addPoint(kCx + 6000, kCy + 1000);
  AddFeature(*roads, QStringLiteral("解放路"), road);

  NewLayer(*data, "医院诊所", wkbPoint);  // a layer without features
  AddPoints(*data, "加油站", Stations());
  AddPoints(*data, "金融银行", Banks());
  AddPoints(*data, "大中专院校", Colleges());
  AddPoints(*data, "餐饮娱乐", Restaurants());
  data->CommitTransaction();
  GDALClose(data);
}

void WriteWorkspace(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) throw std::runtime_error("fixture: no workspace");
  QTextStream out(&file);
  out << "!GEOSET\nbegin_metadata\n"
      << "\"\\GEOSET\\NAME\" = \"测试市\"\n"
      << "\"\\GEOSET\\PROJECTION\" = \"EPSG:4547\"\n"
      << "\"\\GEOSET\\CENTER\" = \"" << qint64(kCx) << "," << qint64(kCy) << "\"\n"
      << "\"\\GEOSET\\ZOOMLEVEL\" = \"12000\"\n";
  // Bottom to top: the map's position 1 (after the marker layer) is the last one.
  const char* layers[] = {"行政区域", "主干道", "医院诊所", "加油站", "金融银行", "大中专院校", "餐饮娱乐"};
  int n = 0;
  for (const char* layer : layers) {
    ++n;
    const QString prefix = QStringLiteral("\"\\TABLE\\%1\\").arg(n);
    out << prefix << "FILE\" = \"city.gpkg\"\n"
        << prefix << "LAYER\" = \"" << layer << "\"\n"
        << prefix << "NAME\" = \"" << layer << "\"\n";
  }
  out << "end_metadata\n";
}

void Exec(sqlite3* db, const QString& sql) {
  char* error = nullptr;
  if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
    const std::string message = error ? error : "?";
    sqlite3_free(error);
    throw std::runtime_error("fixture: " + message);
  }
}

QString Quoted(const QString& text) { return "'" + QString(text).replace("'", "''") + "'"; }

void WriteDatabase(const QString& path) {
  sqlite3* db = nullptr;
  sqlite3_open(path.toUtf8().constData(), &db);
  Exec(db, "begin");
  Exec(db, "create table 地物类型 (typeName text, type text)");
  for (const char* row : {"('餐饮娱乐','点')", "('金融银行','点')", "('大中专院校','点')",
                          "('医院诊所','点')", "('旅游景点','点')", "('加油站','点')", "('主干道','线')"})
    Exec(db, QStringLiteral("insert into 地物类型 values ") + row);
  Exec(db, "create table 餐饮娱乐 (name text, linkman text, tel text, address text, web text)");
  for (const NamedPoint& p : Restaurants()) {
    const auto card = std::find_if(std::begin(kCards), std::end(kCards),
                                   [&](const Card& c) { return QString::fromUtf8(c.name) == p.name; });
    if (card == std::end(kCards)) {
      Exec(db, QStringLiteral("insert into 餐饮娱乐 (name) values (%1)").arg(Quoted(p.name)));
      continue;
    }
    Exec(db, QStringLiteral("insert into 餐饮娱乐 values (%1, '%2', '%3', '%4', '%5')")
                 .arg(Quoted(p.name), QString::fromUtf8(card->linkman), QString::fromUtf8(card->tel),
                      QString::fromUtf8(card->address), QString::fromUtf8(card->web)));
  }
  const std::pair<const char*, std::vector<NamedPoint>> named[] = {
      {"金融银行", Banks()}, {"大中专院校", Colleges()}, {"加油站", Stations()}};
  for (const auto& [table, points] : named) {
    Exec(db, QStringLiteral("create table %1 (name text)").arg(table));
    for (const NamedPoint& p : points)
      Exec(db, QStringLiteral("insert into %1 values (%2)").arg(table, Quoted(p.name)));
  }
  for (const char* table : {"旅游景点", "医院诊所", "主干道", "次干道", "支路"})
    Exec(db, QStringLiteral("create table %1 (name text)").arg(table));
  Exec(db, "insert into 旅游景点 values ('栖霞古寺')");  // in the database, on no map layer
  Exec(db, "insert into 主干道 values ('解放路')");
  Exec(db, "commit");
  sqlite3_close(db);
}

}  // namespace

const std::vector<NamedPoint>& Restaurants() {
  static const std::vector<NamedPoint> points = {
      {QStringLiteral("连锁快餐"), At(3000, 3000)},  // the far twin, first in the layer
      {QStringLiteral("湖畔酒家"), At(120, 0)},      // 120 m from the centre
      {QStringLiteral("O'Neil 酒吧"), At(0, 260)},   // 260 m
      {QStringLiteral("老街面馆"), At(0, -480)},     // 480 m
      {QStringLiteral("远郊饭庄"), At(700, 0)},      // 700 m
      {QStringLiteral("连锁快餐"), At(3200, 3000)},  // the near twin
      {QStringLiteral("山顶茶社"), At(-5000, 0)},    // alone
  };
  return points;
}

const std::vector<NamedPoint>& Banks() {
  static const std::vector<NamedPoint> points = {
      {QStringLiteral("西侧银行"), At(-300, 8000)},
      {QStringLiteral("东侧银行"), At(300, 8000)},  // as near to (0, 8000) as the one before
      {QStringLiteral("同名楼"), At(2000, -2000)},
      {QStringLiteral("工商银行"), At(-150, -150)},
  };
  return points;
}

const std::vector<NamedPoint>& Colleges() {
  static const std::vector<NamedPoint> points = {
      {QStringLiteral("同名楼"), At(-2000, -2000)},
      {QStringLiteral("栖坞大学"), At(-1000, 1500)},
  };
  return points;
}

const std::vector<NamedPoint>& Stations() {
  static const std::vector<NamedPoint> points = SeededStations();
  return points;
}

const City& City::Get() {
  static const City city;
  return city;
}

City::City() {
  QDir(dir_.path()).mkpath("map/" + kCityName);
  QDir(dir_.path()).mkpath("data");
  WriteLayers(QFileInfo(WorkspacePath()).dir().filePath("city.gpkg"));
  WriteWorkspace(WorkspacePath());
  WriteDatabase(DatabasePath());
}

QString City::Root() const { return dir_.path(); }
QString City::WorkspacePath() const { return dir_.filePath("map/" + kCityName + "/" + kCityName + ".gst"); }
QString City::DatabasePath() const { return dir_.filePath("data/" + kCityName + ".mdb"); }

}  // namespace fixture
