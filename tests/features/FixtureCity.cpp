#include "tests/features/FixtureCity.h"

#include <algorithm>
#include <random>

#include "tests/support/TestCity.h"

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

testcity::Table NameTable(const char* name, const std::vector<NamedPoint>& points) {
  testcity::Table table{name, {"name TEXT"}, {}};
  for (const NamedPoint& p : points) table.rows.append({p.name});
  return table;
}

testcity::Layer PointLayer(const char* name, const std::vector<NamedPoint>& points) {
  testcity::Layer layer{name, {}};
  for (const NamedPoint& p : points) layer.features.append({p.name, testcity::PointWkt(p.at.x, p.at.y)});
  return layer;
}

testcity::Table RestaurantTable() {
  testcity::Table table{
      "餐饮娱乐", {"name TEXT", "linkman TEXT", "tel TEXT", "address TEXT", "web TEXT"}, {}};
  for (const NamedPoint& p : Restaurants()) {
    const auto card = std::find_if(std::begin(kCards), std::end(kCards),
                                   [&](const Card& c) { return QString::fromUtf8(c.name) == p.name; });
    if (card == std::end(kCards)) {
      table.rows.append({p.name, QVariant(), QVariant(), QVariant(), QVariant()});
    } else {
      table.rows.append({p.name, QString::fromUtf8(card->linkman), QString::fromUtf8(card->tel),
                         QString::fromUtf8(card->address), QString::fromUtf8(card->web)});
    }
  }
  return table;
}

testcity::City Contents() {
  testcity::City city;
  city.name = kCityName;
  testcity::Table types{"地物类型", {"typeName TEXT", "type TEXT"}, {}};
  for (const char* name : {"餐饮娱乐", "金融银行", "大中专院校", "医院诊所", "旅游景点", "加油站"})
    types.rows.append({QString::fromUtf8(name), QStringLiteral("点")});
  types.rows.append({QStringLiteral("主干道"), QStringLiteral("线")});
  city.tables = {types, RestaurantTable(), NameTable("金融银行", Banks()),
                 NameTable("大中专院校", Colleges()), NameTable("加油站", Stations()),
                 // 栖霞古寺 is in the database, on no map layer.
                 NameTable("旅游景点", {{QStringLiteral("栖霞古寺"), {}}}), NameTable("医院诊所", {}),
                 NameTable("主干道", {{QStringLiteral("解放路"), {}}}), NameTable("次干道", {}),
                 NameTable("支路", {})};
  // Bottom to top: the map's position 1 (after the marker layer) is the last one.
  city.layers = {
      {"行政区域", {{QStringLiteral("栖坞市区"), testcity::SquareWkt(kCx, kCy, 10000)}}},
      {"主干道",
       {{QStringLiteral("解放路"), testcity::LineWkt({{kCx - 6000, kCy + 1000}, {kCx + 6000, kCy + 1000}})}}},
      {"医院诊所", {}},  // a layer without features
      PointLayer("加油站", Stations()),
      PointLayer("金融银行", Banks()),
      PointLayer("大中专院校", Colleges()),
      PointLayer("餐饮娱乐", Restaurants())};
  city.view.center = QStringLiteral("%1,%2").arg(qint64(kCx)).arg(qint64(kCy));
  return city;
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

City::City() { testcity::Write(Contents(), Root()); }

QString City::Root() const { return dir_.path(); }
QString City::WorkspacePath() const { return testcity::WorkspacePath(Root(), kCityName); }
QString City::DatabasePath() const { return testcity::DatabasePath(Root(), kCityName); }

}  // namespace fixture
