// What an imported city adds beside the demo city's layers and tables: further kinds of place,
// drawn ways, buildings, each line's mode and colour, other names. Each is written only where the
// city has some, so the demo city stays as it is; the demo city's layers keep their order.
#include <gdal_priv.h>
#include <gtest/gtest.h>
#include <ogrsf_frmts.h>

#include <QTemporaryDir>
#include <algorithm>

#include "dataset/Writers.h"
#include "tests/tools/CityFiles.h"

namespace citytest {
namespace {

using citygen::PoiType;

// The demo city with what an import adds.
citygen::City Enriched() {
  citygen::City city = DemoCity().city;
  city.name = "富城";
  city.pois[std::size_t(PoiType::School)] = {
      {"Volksschule", {10, 20}, "", "0471 1", "Kirchplatz 1", "https://s.example"}};
  city.pois[std::size_t(PoiType::Worship)] = {{"Pfarrkirche", {30, 40}, "", "", "", ""}};
  city.footways = {{"Kirchweg", "footway", {{0, 0}, {50, 0}}}};
  city.railways = {{"", "tram", {{0, 10}, {80, 10}}}, {"Brennerbahn", "rail", {{0, 30}, {90, 30}}}};
  city.rivers = {{"Etsch", "river", {{0, 60}, {100, 70}}}};
  city.buildings = {{"", {{{{{0, 0}, {10, 0}, {10, 10}, {0, 0}}}}}}};
  for (std::size_t k = 0; k < city.lines.size(); ++k) city.lines[k].mode = k % 2 ? "tram" : "bus";
  city.lines.front().colour = "C0392B";
  city.otherNames = {{"中小学校", "Volksschule", "Scuola elementare"}};
  return city;
}

class ImportedContent : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    GDALAllRegister();
    folder_ = new QTemporaryDir;
    city_ = new citygen::City(Enriched());
    const std::string root = folder_->path().toStdString();
    files_ = new DataSet{root, city_->name};
    std::filesystem::create_directories(files_->Gpkg().parent_path());
    std::filesystem::create_directories(files_->Database().parent_path());
    ASSERT_EQ(citygen::WriteLayers(*city_, files_->Gpkg().string()), "");
    ASSERT_EQ(citygen::WriteWorkspaces(*city_, files_->Gpkg().parent_path().string(), city_->name + ".gpkg"),
              "");
    ASSERT_EQ(citygen::WriteDatabase(*city_, files_->Database().string()), "");
  }
  static void TearDownTestSuite() {
    delete files_;
    delete city_;
    delete folder_;
  }
  static QTemporaryDir* folder_;
  static citygen::City* city_;
  static DataSet* files_;
};
QTemporaryDir* ImportedContent::folder_;
citygen::City* ImportedContent::city_;
DataSet* ImportedContent::files_;

std::vector<std::string> Column(const std::vector<Row>& rows) {
  std::vector<std::string> values;
  for (const Row& row : rows) values.push_back(row.at(0));
  return values;
}

TEST_F(ImportedContent, KindsWithPlacesAreTypesAfterTheFiveAndTheOthersAreAbsent) {
  const auto types = Column(files_->Query("select typeName from 地物类型"));
  const auto demoTypes = Column(DemoCity().files.Query("select typeName from 地物类型"));
  std::vector<std::string> expected(demoTypes.begin(), demoTypes.begin() + 5);
  expected.insert(expected.end(), {"中小学校", "宗教场所"});
  expected.insert(expected.end(), demoTypes.begin() + 5, demoTypes.end());
  EXPECT_EQ(types, expected);
  const auto school = files_->Query("select name, linkman, tel, address, web from 中小学校");
  ASSERT_EQ(school.size(), 1u);
  EXPECT_EQ(school[0], (Row{"Volksschule", "", "0471 1", "Kirchplatz 1", "https://s.example"}));
  const auto tables = Column(files_->Query("select name from sqlite_master where type = 'table'"));
  EXPECT_EQ(std::count(tables.begin(), tables.end(), "药店"), 0) << "no table for a kind without places";
  const auto layers = files_->LayerNames();
  EXPECT_EQ(std::count(layers.begin(), layers.end(), "药店"), 0) << "nor a layer";
}

TEST_F(ImportedContent, EachLineHasItsModeAndColourInTheTableAndOnTheLayer) {
  const auto rows = files_->Query("select 线路名, mode, color from 线路属性");
  ASSERT_EQ(rows.size(), city_->lines.size());
  for (std::size_t k = 0; k < rows.size(); ++k)
    EXPECT_EQ(rows[k], (Row{city_->lines[k].name, city_->lines[k].mode, city_->lines[k].colour}));

  std::unique_ptr<GDALDataset> gpkg(
      GDALDataset::Open(files_->Gpkg().c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
  ASSERT_TRUE(gpkg);
  OGRLayer* lines = gpkg->GetLayerByName("公交路线");
  ASSERT_NE(lines, nullptr);
  std::size_t k = 0;
  for (const auto& feature : *lines) {
    EXPECT_STREQ(feature->GetFieldAsString("mode"), city_->lines.at(k).mode.c_str());
    EXPECT_STREQ(feature->GetFieldAsString("color"), city_->lines.at(k).colour.c_str());
    ++k;
  }
  EXPECT_EQ(k, city_->lines.size());
  EXPECT_TRUE(DemoCity().files.Query("select name from sqlite_master where name = '线路属性'").empty())
      << "the demo city records no modes";
}

TEST_F(ImportedContent, WorkspaceKeepsTheDemoLayersInOrderAndStylesEveryAddedLayer) {
  const auto layers = Layers(ReadWorkspace(files_->MainWorkspace(), nullptr));
  const auto demo = Layers(ReadWorkspace(DemoCity().files.MainWorkspace(), nullptr));
  int last = -1;
  for (const WorkspaceLayer& layer : demo) {
    const int at = Position(layers, layer.name);
    EXPECT_GT(at, last) << layer.name << " keeps its place among the demo city's layers";
    last = at;
  }
  const auto gpkgLayers = files_->LayerNames();
  for (const char* added : {"中小学校", "宗教场所", "步行道", "铁路", "河流", "建筑"}) {
    const int at = Position(layers, added);
    ASSERT_GE(at, 0) << added;
    EXPECT_TRUE(layers[at].keys.count("STYLE\\PEN\\COLOR") || layers[at].keys.count("STYLE\\SYMBOL\\COLOR"))
        << added;
    EXPECT_NE(std::find(gpkgLayers.begin(), gpkgLayers.end(), added), gpkgLayers.end()) << added;
  }
  EXPECT_LT(Position(layers, "中小学校"), Position(layers, "餐饮娱乐"))
      << "the five kinds stay above, so the keyword pick finds them first";
  const WorkspaceLayer& lines = layers.at(Position(layers, "公交路线"));
  EXPECT_EQ(lines.keys.at("STYLE\\BY"), "mode");
  for (const char* mode : {"bus", "tram", "subway", "rail", "ferry"})
    EXPECT_TRUE(lines.keys.count(std::string("STYLE\\CASE\\") + mode + "\\LEGEND")) << mode;
  EXPECT_EQ(lines.keys.at("STYLE\\CASE\\ferry\\PEN\\PATTERN"), "dash");
}

TEST_F(ImportedContent, OtherNamesNameTheirFeature) {
  EXPECT_EQ(files_->Query("select typeName, name, otherName from 地物别名"),
            (std::vector<Row>{{"中小学校", "Volksschule", "Scuola elementare"}}));
}

}  // namespace
}  // namespace citytest
