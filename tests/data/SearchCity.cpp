#include "tests/data/SearchCity.h"

#include "tests/support/TestCity.h"

namespace {

testcity::Table Names(const QString& table, const QVariantList& names) {
  testcity::Table t{table, {"name TEXT"}, {}};
  for (const QVariant& name : names) t.rows.append({name});
  return t;
}

// Three other names the box finds, and rows that add none: a repeat, a feature's own name, a
// name its table lacks, types that name no point type's or road's table, nulls.
testcity::Table OtherNames() {
  testcity::Table t{"地物别名", {"typeName TEXT", "name TEXT", "otherName TEXT"}, {}};
  const QVariant null;
  for (const QVariantList& row : QList<QVariantList>{
           {"中小学校", "Volksschule St. Michael", "Scuola elementare"},
           {"中小学校", "Volksschule St. Michael", "Scuola elementare"},
           {"主干道", "长寿路", "Old Harbour Road"},
           {"金融银行", "工商银行", "ICBC"},
           {"餐饮娱乐", "百味菜馆", "百味菜馆"},
           {"餐饮娱乐", "别城饭店", "Ghost Kitchen"},
           {"缺失表", "长寿路", "Ghost Hall"},
           {"公交站台", "长寿路", "Ghost Stop"},
           {"x union select 站名 from 公交信息", "长寿路", "Ghost Union"},
           {"餐饮娱乐", null, "Ghost Null"},
           {"餐饮娱乐", "百味菜馆", null},
       })
    t.rows.append(row);
  return t;
}

testcity::City Contents() {
  testcity::City city;
  city.name = QStringLiteral("搜索市");
  testcity::Table bus{"公交信息", {"id INTEGER", "线路名 TEXT", "站名 TEXT", "顺序 INTEGER"}, {}};
  int id = 0;
  for (const auto& [line, stops] : {std::pair{"1路", QStringList{"长寿路", "重庆路口"}},
                                    std::pair{"11路", QStringList{"长寿路", "百味街"}}})
    for (int i = 0; i < stops.size(); ++i) bus.rows.append({++id, QString::fromUtf8(line), stops[i], i + 1});
  testcity::Table types{"地物类型", {"typeName TEXT", "type TEXT"}, {}};
  for (const char* type : {"餐饮娱乐", "金融银行", "x union select 站名 from 公交信息", "缺失表", "中小学校"})
    types.rows.append({QString::fromUtf8(type), QStringLiteral("点")});
  types.rows.append({QStringLiteral("主干道"), QStringLiteral("线")});
  city.tables = {bus,
                 types,
                 Names("餐饮娱乐", {"百味菜馆", "百味茶社", "重庆饭店", "KFC肯德基", "绿岛咖啡", QVariant(),
                                    "", QString(101, QChar(u'长'))}),
                 Names("金融银行", {"银行", "工商银行", "银行大厦", "银行"}),
                 Names("主干道", {"长寿路", "人民路"}),
                 Names("中小学校", {"Volksschule St. Michael"}),
                 OtherNames()};
  const MapPoint r = SearchCity::kRestaurant;
  city.layers = {{"主干道", {{"长寿路", testcity::LineWkt({{499000, 3400000}, {501000, 3400000}})}}},
                 {"公交站台", {{"长寿路", testcity::PointWkt(500000, 3400000)}}},
                 {"餐饮娱乐", {{"百味菜馆", testcity::PointWkt(r.x, r.y)}}},
                 {"中小学校", {{"Volksschule St. Michael", testcity::PointWkt(500600, 3400200)}}}};
  return city;
}

}  // namespace

const SearchCity& SearchCity::Get() {
  static const SearchCity city;
  return city;
}

SearchCity::SearchCity() { testcity::Write(Contents(), Root()); }

QString SearchCity::Name() const { return QStringLiteral("搜索市"); }
QString SearchCity::DatabasePath() const { return testcity::DatabasePath(Root(), Name()); }
QString SearchCity::WorkspacePath() const { return testcity::WorkspacePath(Root(), Name()); }
