// The database and the map layers tell the same story: names agree, stops lie on their lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <set>

#include "tests/tools/CityFiles.h"

namespace citytest {
namespace {

// Each name of a feature table, and each bus line and stop of the bus table, is one feature of its
// layer.
TEST(CityAgreement, EveryRowOfAFeatureTableAndEveryLineAndStopIsAFeatureOfItsLayer) {
  std::vector<std::pair<std::string, std::string>> sources = {
      {"select distinct 线路名 from 公交信息", "公交路线"},
      {"select distinct 站名 from 公交信息", "公交站台"}};
  const std::vector<Row> types = DemoCity().files.Query("select typeName from 地物类型");
  ASSERT_EQ(types.size(), 11u);
  for (const Row& type : types) sources.push_back({"select name from " + type.at(0), type.at(0)});
  for (const auto& [sql, layer] : sources) {
    std::multiset<std::string> rowNames, featureNames;
    for (const Row& row : DemoCity().files.Query(sql)) rowNames.insert(row.at(0));
    for (const Feature& feature : DemoCity().files.Layer(layer)) featureNames.insert(feature.name);
    EXPECT_EQ(rowNames, featureNames) << layer;
  }
}

// Walks along the line's polyline and finds each stop at or after the place of the one before.
struct Walker {
  const OGRLineString& line;
  int segment = 0;
  double t = 0;

  bool Reach(double x, double y, double tolerance) {
    for (int s = segment; s + 1 < line.getNumPoints(); ++s) {
      const double ax = line.getX(s), ay = line.getY(s), bx = line.getX(s + 1), by = line.getY(s + 1);
      const double dx = bx - ax, dy = by - ay, length2 = dx * dx + dy * dy;
      double u = length2 == 0 ? 0 : ((x - ax) * dx + (y - ay) * dy) / length2;
      u = std::clamp(u, s == segment ? t : 0.0, 1.0);
      if (std::hypot(ax + u * dx - x, ay + u * dy - y) <= tolerance) {
        segment = s;
        t = u;
        return true;
      }
    }
    return false;
  }
};

TEST(CityAgreement, EveryStopLiesOnItsLineInRidingOrder) {
  std::map<std::string, std::pair<double, double>> stopAt;
  for (const Feature& stop : DemoCity().files.Layer("公交站台")) {
    const OGRPoint* point = stop.shape->toPoint();
    stopAt[stop.name] = {point->getX(), point->getY()};
  }
  std::map<std::string, std::unique_ptr<OGRGeometry>> routes;
  std::vector<Feature> lines = DemoCity().files.Layer("公交路线");
  for (Feature& line : lines) routes[line.name] = std::move(line.shape);

  std::map<std::string, std::vector<std::string>> stopsOf;
  for (const Row& row : DemoCity().files.Query("select 线路名, 站名 from 公交信息 order by ID, 顺序"))
    stopsOf[row[0]].push_back(row[1]);
  ASSERT_FALSE(stopsOf.empty());
  for (const auto& [line, stops] : stopsOf) {
    ASSERT_TRUE(routes.count(line)) << line;
    Walker walker{*routes[line]->toLineString()};
    for (std::size_t k = 0; k < stops.size(); ++k) {
      const auto [x, y] = stopAt.at(stops[k]);
      EXPECT_TRUE(walker.Reach(x, y, 0.5))
          << line << " stop " << k + 1 << " " << stops[k] << " is not on the line after stop " << k;
    }
  }
}

TEST(CityDatabase, BusRowsAreStoredLineByLineInRidingOrder) {
  const std::vector<Row> rows = DemoCity().files.Query("select 线路名, 顺序, ID from 公交信息");
  ASSERT_FALSE(rows.empty());
  std::set<std::string> finished;
  std::set<std::string> ids;
  std::string current;
  int expected = 1;
  for (const Row& row : rows) {
    if (row[0] != current) {
      ASSERT_TRUE(finished.insert(row[0]).second) << row[0] << " is stored in more than one block";
      EXPECT_TRUE(ids.insert(row[2]).second) << "the ID of " << row[0] << " is shared";
      current = row[0];
      expected = 1;
    }
    EXPECT_EQ(row[1], std::to_string(expected++)) << current;
  }
  // One ID per line: the pairs of line and ID are exactly as many as the lines.
  EXPECT_EQ(DemoCity().files.Query("select distinct 线路名, ID from 公交信息").size(), finished.size());
}

TEST(CityDatabase, TypeTableGivesEachTypeItsKind) {
  const std::set<Row> expected = {{"餐饮娱乐", "点"}, {"大中专院校", "点"}, {"旅游景点", "点"},
                                  {"金融银行", "点"}, {"医院诊所", "点"},   {"公交站台", "点"},
                                  {"主干道", "线"},   {"次干道", "线"},     {"支路", "线"},
                                  {"绿地", "面"},     {"水系", "面"}};
  const std::vector<Row> rows = DemoCity().files.Query("select typeName, type from 地物类型");
  EXPECT_EQ(std::set<Row>(rows.begin(), rows.end()), expected);
}

// The timetable tables (docs/timetable.md) hold positions and packed times besides.
TEST(CityDatabase, IsAPlainSqliteFileWithTextAndIntegerColumnsOnly) {
  std::ifstream in(DemoCity().files.Database(), std::ios::binary);
  std::string head(16, '\0');
  in.read(head.data(), 16);
  EXPECT_EQ(head, std::string("SQLite format 3\0", 16));
  EXPECT_TRUE(DemoCity().files.Query("select name from sqlite_master where type <> 'table'").empty());
  for (const Row& table : DemoCity().files.Query("select name from sqlite_master where type = 'table'")) {
    if (IsTimetableTable(table[0])) continue;
    for (const Row& column :
         DemoCity().files.Query("select type from pragma_table_info('" + table[0] + "')")) {
      EXPECT_TRUE(column[0] == "TEXT" || column[0] == "INTEGER") << table[0] << ": " << column[0];
    }
  }
}

TEST(CityDatabase, DiningContactsLookLikeRealOnes) {
  std::set<std::string> roads;
  for (const char* table : {"主干道", "次干道", "支路"}) {
    for (const Row& row : DemoCity().files.Query(std::string("select name from ") + table))
      roads.insert(row[0]);
  }
  const std::vector<Row> rows =
      DemoCity().files.Query("select name, linkman, tel, address, web from 餐饮娱乐");
  int emptyLinkman = 0, emptyTel = 0, emptyWeb = 0, bareWeb = 0, schemeWeb = 0;
  for (const Row& row : rows) {
    emptyLinkman += row[1].empty();
    emptyTel += row[2].empty();
    if (!row[2].empty()) {
      EXPECT_TRUE(row[2].size() == 11 && row[2].find_first_not_of("0123456789") == std::string::npos)
          << row[2];
    }
    if (!row[3].empty()) {
      // "栖坞市<road><number>号": the road is one of the city's own.
      const std::size_t from = row[3].find("市") + std::string("市").size();
      const std::size_t to = row[3].find_first_of("0123456789");
      EXPECT_TRUE(roads.count(row[3].substr(from, to - from))) << row[3];
    }
    if (row[4].empty())
      ++emptyWeb;
    else if (row[4].starts_with("http://") || row[4].starts_with("https://"))
      ++schemeWeb;
    else
      ++bareWeb;
  }
  EXPECT_GT(emptyLinkman, 0);
  EXPECT_GT(emptyTel, 0);
  EXPECT_GT(emptyWeb, 0);
  EXPECT_GT(schemeWeb, 0);
  EXPECT_GT(bareWeb, 0);
}

}  // namespace
}  // namespace citytest
