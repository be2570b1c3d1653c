#include "bench/data/CityGenerator.h"

#include <QRandomGenerator>
#include <QStringList>
#include <vector>

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
  QStringList suffixes;
};
const std::vector<KeywordTable> kTables = {
    {"大中专院校", {"大学", "学院", "职业技术学院", "中专"}},
    {"餐饮娱乐", {"酒家", "面馆", "茶楼", "火锅店", "KTV", "咖啡馆"}},
    {"旅游景点", {"公园", "古寺", "塔", "湿地", "博物馆"}},
    {"医院诊所", {"医院", "诊所", "卫生院", "中医馆"}},
    {"金融银行", {"银行", "储蓄所", "信用社", "ATM"}},
    {"主干道", {"大道", "路"}},
    {"次干道", {"路", "街"}},
    {"支路", {"巷", "弄", "里"}},
};

}  // namespace

int WriteCity(const QString& path, int names, int busRows) {
  QRandomGenerator random(7);
  const auto pick = [&](const QStringList& list) { return list[int(random.bounded(list.size()))]; };
  testcity::Table bus{
      QStringLiteral("公交信息"), {"线路名 TEXT", "站名 TEXT", "顺序 INTEGER", "ID INTEGER"}, {}};
  for (int row = 0; row < busRows; ++row) {
    const int line = row / 25 + 1;
    bus.rows.append({QStringLiteral("%1路").arg(line), pick(kPlaces) + pick(kMiddles) + QStringLiteral("站"),
                     row % 25 + 1, line});
  }
  testcity::Table types{QStringLiteral("地物类型"), {"typeName TEXT", "type TEXT"}, {}};
  QList<testcity::Table> tables{bus};
  for (const KeywordTable& table : kTables) {
    const QString name = QString::fromUtf8(table.name);
    testcity::Table keywords{name, {"name TEXT", "address TEXT"}, {}};
    for (int i = 0; i < names / 8; ++i) {
      keywords.rows.append({pick(kPlaces) + pick(kMiddles) + QString::number(i % 97) + pick(table.suffixes),
                            pick(kPlaces) + QStringLiteral("路%1号").arg(i % 300)});
    }
    tables.append(keywords);
    types.rows.append(
        {name, name.endsWith(u'路') || name.endsWith(u'道') ? QStringLiteral("线") : QStringLiteral("点")});
  }
  tables.append(types);
  testcity::WriteDatabase(path, tables);
  return busRows + int(kTables.size()) * (names / 8 + 1);
}
