#include "bench/data/CityGenerator.h"

#include <QRandomGenerator>
#include <QStringList>
#include <vector>

#include "data/CityVocabulary.h"
#include "tests/support/TestCity.h"

namespace {

const QStringList kPlaces{"东湖", "西山",  "南屏", "北辰", "中和", "长乐", "永安", "太平",
                          "清河", "柳岸",  "桃源", "青石", "凤鸣", "龙泉", "栖霞", "白沙",
                          "金水", "望江",  "新华", "人民", "解放", "朝阳", "文昌", "兴隆",
                          "福寿", "Sunny", "Lake", "云台", "紫竹", "梅园", "松涛", "樱花"};
const QStringList kMiddles{"",     "",     "第一", "第二", "老街", "新村",
                           "花园", "工业", "滨江", "学府", "广场", "城东"};

struct KeywordTable {
  const char* name;
  const char* kind;
  QStringList suffixes;
};
const std::vector<KeywordTable> kTables = {
    {city::layer::kColleges, city::kPointKind, {"大学", "学院", "职业技术学院", "中专"}},
    {city::layer::kDining, city::kPointKind, {"酒家", "面馆", "茶楼", "火锅店", "KTV", "咖啡馆"}},
    {city::layer::kSights, city::kPointKind, {"公园", "古寺", "塔", "湿地", "博物馆"}},
    {city::layer::kClinics, city::kPointKind, {"医院", "诊所", "卫生院", "中医馆"}},
    {city::layer::kBanks, city::kPointKind, {"银行", "储蓄所", "信用社", "ATM"}},
    {city::layer::kMainRoads, city::kLineKind, {"大道", "路"}},
    {city::layer::kSecondaryRoads, city::kLineKind, {"路", "街"}},
    {city::layer::kBranchRoads, city::kLineKind, {"巷", "弄", "里"}},
};

// "name TYPE" for a table's column list.
QString Column(const char* name, const char* type) {
  return QString::fromUtf8(name) + u' ' + QLatin1String(type);
}

}  // namespace

int WriteCity(const QString& path, int names, int busRows) {
  QRandomGenerator random(7);
  const auto pick = [&](const QStringList& list) { return list[int(random.bounded(list.size()))]; };
  testcity::Table bus{QString::fromUtf8(city::kBusTable),
                      {Column(city::kLineField, "TEXT"), Column(city::kStopField, "TEXT"),
                       Column(city::kOrderField, "INTEGER"), Column("ID", "INTEGER")},
                      {}};
  for (int row = 0; row < busRows; ++row) {
    const int line = row / 25 + 1;
    bus.rows.append({QStringLiteral("%1路").arg(line), pick(kPlaces) + pick(kMiddles) + QStringLiteral("站"),
                     row % 25 + 1, line});
  }
  testcity::Table types{QString::fromUtf8(city::kTypeTable),
                        {Column(city::kTypeNameField, "TEXT"), Column(city::kTypeKindField, "TEXT")},
                        {}};
  QList<testcity::Table> tables{bus};
  for (const KeywordTable& table : kTables) {
    const QString name = QString::fromUtf8(table.name);
    testcity::Table keywords{
        name, {Column(city::kNameField, "TEXT"), Column(city::kAddressField, "TEXT")}, {}};
    for (int i = 0; i < names / 8; ++i) {
      keywords.rows.append({pick(kPlaces) + pick(kMiddles) + QString::number(i % 97) + pick(table.suffixes),
                            pick(kPlaces) + QStringLiteral("路%1号").arg(i % 300)});
    }
    tables.append(keywords);
    types.rows.append({name, QString::fromUtf8(table.kind)});
  }
  tables.append(types);
  testcity::WriteDatabase(path, tables);
  return busRows + int(kTables.size()) * (names / 8 + 1);
}
