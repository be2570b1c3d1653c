// One seed, one city: the generator's output depends on nothing but its options.
#include <gtest/gtest.h>

#include <set>

#include "tests/tools/CityFiles.h"
#include "tools/citygen/Generator.h"

namespace citytest {
namespace {

std::vector<std::string> Tables(const DataSet& files) {
  std::vector<std::string> names;
  for (const Row& row : files.Query("select name from sqlite_master where type = 'table' order by name"))
    names.push_back(row[0]);
  return names;
}

// A layer's features as comparable text: the name and the exact coordinates (WKB, in hex).
std::vector<std::string> Content(const DataSet& files, const std::string& layer) {
  std::vector<std::string> out;
  for (const Feature& feature : files.Layer(layer)) {
    std::vector<unsigned char> wkb(feature.shape->WkbSize());
    feature.shape->exportToWkb(wkbNDR, wkb.data());
    std::string hex;
    for (unsigned char byte : wkb) hex += "0123456789ABCDEF"[byte >> 4], hex += "0123456789ABCDEF"[byte & 15];
    out.push_back(feature.name + " " + hex);
  }
  return out;
}

TEST(CityDeterminism, TheSameSeedGivesTheSameTablesAndFeatures) {
  const DataSet& first = DemoCity().files;
  const auto again = GenerateInto("again", citygen::Options().seed, 1);
  const DataSet& second = again->files;

  ASSERT_EQ(Tables(first), Tables(second));
  for (const std::string& table : Tables(first)) {
    EXPECT_EQ(first.Query("select * from " + table + " order by rowid"),
              second.Query("select * from " + table + " order by rowid"))
        << table;
  }
  ASSERT_EQ(first.LayerNames(), second.LayerNames());
  for (const std::string& layer : first.LayerNames())
    EXPECT_EQ(Content(first, layer), Content(second, layer)) << layer;
}

TEST(CityDeterminism, AnotherSeedGivesAnotherCity) {
  const auto other = GenerateInto("other", citygen::Options().seed + 1, 1);
  const char* sql = "select 线路名, 站名 from 公交信息 order by rowid";
  EXPECT_NE(DemoCity().files.Query(sql), other->files.Query(sql));
  EXPECT_NE(Content(DemoCity().files, "主干道"), Content(other->files, "主干道"));
}

TEST(CityScale, ALargerScaleMultipliesRoadsStopsLinesAndPlaces) {
  const auto larger = GenerateInto("scale2", citygen::Options().seed, 2);
  const struct {
    const char* what;
    const char* sql;
  } counts[] = {
      {"lines", "select count(distinct 线路名) from 公交信息"},
      {"stops", "select count(distinct 站名) from 公交信息"},
      {"dining", "select count(*) from 餐饮娱乐"},
      {"banks", "select count(*) from 金融银行"},
      {"roads",
       "select (select count(*) from 主干道) + (select count(*) from 次干道) + (select count(*) from 支路)"},
  };
  for (const auto& count : counts) {
    const double one = std::stod(DemoCity().files.Query(count.sql).at(0).at(0));
    const double two = std::stod(larger->files.Query(count.sql).at(0).at(0));
    EXPECT_GE(two, 1.6 * one) << count.what;
    EXPECT_LE(two, 2.6 * one) << count.what;
  }
}

}  // namespace
}  // namespace citytest
