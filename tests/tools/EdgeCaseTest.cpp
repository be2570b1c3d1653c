// The demo city's size at scale 1 and the odd cases it carries on purpose for the program's tests.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "tests/tools/CityFiles.h"

namespace citytest {
namespace {

const char* const kPoiTables[] = {"餐饮娱乐", "大中专院校", "旅游景点", "金融银行", "医院诊所"};

// Whether `name` is `prefix`, one or more digits, `suffix` ("12路", "游8路", "高新2号线").
bool NumberBetween(const std::string& name, const std::string& prefix, const std::string& suffix) {
  if (!name.starts_with(prefix) || !name.ends_with(suffix) || name.size() <= prefix.size() + suffix.size())
    return false;
  const std::string digits = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
  return digits.find_first_not_of("0123456789") == std::string::npos;
}

int Count(const std::string& sql) { return std::stoi(DemoCity().files.Query(sql).at(0).at(0)); }

TEST(CitySize, ScaleOneIsBigEnough) {
  const struct {
    const char* what;
    const char* sql;
    int least;
  } sizes[] = {
      {"bus lines", "select count(distinct 线路名) from 公交信息", 120},
      {"stops", "select count(distinct 站名) from 公交信息", 700},
      {"places",
       "select (select count(*) from 餐饮娱乐) + (select count(*) from 大中专院校) + (select count(*) from "
       "旅游景点)"
       " + (select count(*) from 金融银行) + (select count(*) from 医院诊所)",
       2000},
      {"named roads",
       "select (select count(*) from 主干道) + (select count(*) from 次干道) + (select count(*) from 支路)",
       300},
  };
  for (const auto& size : sizes) EXPECT_GE(Count(size.sql), size.least) << size.what;
}

TEST(CityEdgeCases, LineNamesAreMostlyNumberedWithSomeLongerOnes) {
  const std::vector<Row> lines = DemoCity().files.Query("select distinct 线路名 from 公交信息");
  int plain = 0, longer = 0;
  for (const Row& line : lines) {
    plain += NumberBetween(line[0], "", "路");
    longer += NumberBetween(line[0], "游", "路") || NumberBetween(line[0], "高新", "号线");
  }
  EXPECT_GT(plain, int(lines.size() * 8 / 10));
  EXPECT_GT(longer, 0);
  EXPECT_EQ(Count("select count(*) from 公交信息 where 线路名 = '游8路'") > 0, true);
  EXPECT_EQ(Count("select count(*) from 公交信息 where 线路名 = '高新2号线'") > 0, true);
}

TEST(CityEdgeCases, BusTableHoldsALoopAndALongNightLine) {
  const struct {
    const char* what;
    const char* sql;
  } cases[] = {
      {"a line passing one stop twice",
       "select 线路名 from 公交信息 group by 线路名, 站名 having count(*) > 1"},
      {"a line of more than 100 stops", "select 线路名 from 公交信息 group by 线路名 having count(*) > 100"},
  };
  for (const auto& c : cases) EXPECT_FALSE(DemoCity().files.Query(c.sql).empty()) << c.what;
}

bool MixedCaseLatin(const std::string& name) {
  const auto has = [&](char from, char to) {
    return std::any_of(name.begin(), name.end(), [&](char c) { return c >= from && c <= to; });
  };
  return has('a', 'z') && has('A', 'Z');
}

TEST(CityEdgeCases, NamesWithMixedCaseLatinApostrophesAndDuplicates) {
  int mixedStops = 0;
  for (const Row& stop : DemoCity().files.Query("select name from 公交站台"))
    mixedStops += MixedCaseLatin(stop[0]);
  EXPECT_GT(mixedStops, 0);

  int mixedPlaces = 0, apostrophes = 0, typesWithTwins = 0;
  for (const char* table : kPoiTables) {
    for (const Row& row : DemoCity().files.Query(std::string("select name from ") + table)) {
      mixedPlaces += MixedCaseLatin(row[0]);
      apostrophes += row[0].find('\'') != std::string::npos;
    }
    typesWithTwins +=
        !DemoCity()
             .files.Query(std::string("select name from ") + table + " group by name having count(*) > 1")
             .empty();
  }
  EXPECT_GT(mixedPlaces, 0);
  EXPECT_GE(apostrophes, 2);
  EXPECT_GT(typesWithTwins, 0);
}

TEST(CityEdgeCases, TwoPlacesLieExactlyAsFarFromTheTiePointAndNothingNearer) {
  const citygen::Vec2 tie = DemoCity().city.tiePoint;
  const double x = tie.x + citygen::kOriginX, y = tie.y + citygen::kOriginY;
  for (const char* layer : {"餐饮娱乐", "金融银行"}) {
    std::vector<double> distances;
    for (const Feature& feature : DemoCity().files.Layer(layer)) {
      const OGRPoint* point = feature.shape->toPoint();
      distances.push_back(std::hypot(point->getX() - x, point->getY() - y));
    }
    const double nearest = *std::min_element(distances.begin(), distances.end());
    EXPECT_EQ(std::count(distances.begin(), distances.end(), nearest), 2) << layer;
  }
}

// For each stop the lines through it; a pair of stops is within one change when a line through
// the first meets (shares a stop with) a line through the second, or is the same line.
TEST(CityConnectivity, MostStopPairsConnectDirectlyOrWithOneChange) {
  std::map<std::string, int> lineIndex, stopIndex;
  std::vector<std::pair<int, int>> rows;
  for (const Row& row : DemoCity().files.Query("select 线路名, 站名 from 公交信息")) {
    const int line = lineIndex.emplace(row[0], int(lineIndex.size())).first->second;
    const int stop = stopIndex.emplace(row[1], int(stopIndex.size())).first->second;
    rows.push_back({line, stop});
  }
  const std::size_t lines = lineIndex.size(), stops = stopIndex.size();
  std::vector<std::vector<char>> serves(stops, std::vector<char>(lines, 0));
  for (const auto& [line, stop] : rows) serves[stop][line] = 1;
  std::vector<std::vector<char>> meets(lines, std::vector<char>(lines, 0));
  for (const auto& through : serves)
    for (std::size_t a = 0; a < lines; ++a)
      for (std::size_t b = 0; a < lines && through[a] && b < lines; ++b) meets[a][b] |= through[b];

  // reach[s][l]: line l can be boarded from stop s with at most one change.
  std::vector<std::vector<char>> reach(stops, std::vector<char>(lines, 0));
  for (std::size_t s = 0; s < stops; ++s)
    for (std::size_t a = 0; a < lines; ++a)
      if (serves[s][a])
        for (std::size_t b = 0; b < lines; ++b) reach[s][b] |= meets[a][b];
  std::size_t near = 0, pairs = 0;
  for (std::size_t s = 0; s < stops; ++s) {
    for (std::size_t t = s + 1; t < stops; ++t, ++pairs) {
      bool ok = false;
      for (std::size_t l = 0; l < lines && !ok; ++l) ok = reach[s][l] && serves[t][l];
      near += ok;
    }
  }
  const double share = double(near) / double(pairs);
  EXPECT_GT(share, 0.8);
  EXPECT_LT(near, pairs) << "some pairs should need more than one change";
}

}  // namespace
}  // namespace citytest
