// The two workspaces name layers that exist, in a sensible order, with styles and legend classes.
#include <gdal_priv.h>
#include <gtest/gtest.h>
#include <ogrsf_frmts.h>

#include <fstream>
#include <set>

#include "tests/tools/CityFiles.h"

namespace citytest {
namespace {

TEST(CityWorkspaces, EveryLayerOfBothWorkspacesOpensThroughGdalAndHasFeatures) {
  GDALAllRegister();
  for (const auto& path : {DemoCity().files.MainWorkspace(), DemoCity().files.Overview()}) {
    std::ifstream in(path);
    std::string first;
    std::getline(in, first);
    EXPECT_EQ(first, "!GEOSET") << path;
    std::vector<std::string> malformed;
    const auto keys = ReadWorkspace(path, &malformed);
    EXPECT_TRUE(malformed.empty()) << path << " line " << (malformed.empty() ? "" : malformed.front());
    EXPECT_EQ(keys.at("\\GEOSET\\PROJECTION"), "EPSG:4547");
    const auto layers = Layers(keys);
    ASSERT_FALSE(layers.empty()) << path;
    for (const WorkspaceLayer& layer : layers) {
      const auto source = path.parent_path() / layer.keys.at("FILE");
      std::unique_ptr<GDALDataset> data(GDALDataset::Open(source.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
      ASSERT_TRUE(data) << source;
      OGRLayer* found = data->GetLayerByName(layer.keys.at("LAYER").c_str());
      ASSERT_NE(found, nullptr) << layer.name;
      EXPECT_GT(found->GetFeatureCount(), 0) << layer.name;
      EXPECT_GE(found->GetLayerDefn()->GetFieldIndex("name"), 0) << layer.name;
    }
  }
}

TEST(CityWorkspaces, MainWorkspaceDrawsTheNamedLayersBottomToTop) {
  const auto layers = Layers(ReadWorkspace(DemoCity().files.MainWorkspace(), nullptr));
  const char* required[] = {"行政区域",   "绿地",     "水系",     "城墙",     "区界",     "支路",
                            "次干道",     "主干道",   "路线",     "公交路线", "公交站台", "餐饮娱乐",
                            "大中专院校", "旅游景点", "金融银行", "医院诊所"};
  for (const char* name : required) EXPECT_GE(Position(layers, name), 0) << name;
  // Areas under water under roads under bus lines under the stops and places.
  const char* order[][2] = {{"行政区域", "绿地"},     {"绿地", "水系"},        {"水系", "城墙"},
                            {"支路", "次干道"},       {"次干道", "主干道"},    {"主干道", "公交路线"},
                            {"公交路线", "公交站台"}, {"公交站台", "餐饮娱乐"}};
  for (const auto& [below, above] : order)
    EXPECT_LT(Position(layers, below), Position(layers, above)) << below << " " << above;
}

TEST(CityWorkspaces, BusLayersBringLimitsOfTheirOwn) {
  const auto layers = Layers(ReadWorkspace(DemoCity().files.MainWorkspace(), nullptr));
  const struct {
    const char* layer;
    double programLimit;
  } bus[] = {{"公交路线", 10000}, {"公交站台", 2000}};
  for (const auto& [name, programLimit] : bus) {
    const auto& keys = layers.at(Position(layers, name)).keys;
    ASSERT_TRUE(keys.count("ZOOM\\MAX")) << name;
    EXPECT_NE(std::stod(keys.at("ZOOM\\MAX")), programLimit) << name;
  }
}

TEST(CityWorkspaces, LegendClassesAndStylesCoverEveryLayer) {
  const auto layers = Layers(ReadWorkspace(DemoCity().files.MainWorkspace(), nullptr));
  std::set<std::string> legend;
  for (const WorkspaceLayer& layer : layers) {
    if (layer.keys.count("LEGEND")) legend.insert(layer.keys.at("LEGEND"));
    int styleKeys = 0;
    for (const auto& [key, value] : layer.keys) {
      styleKeys += key.starts_with("STYLE\\");
      if (key.ends_with("COLOR") || key.ends_with("OUTLINE") || key.ends_with("HALO")) {
        const bool colour = (value.size() == 7 || value.size() == 9) && value[0] == '#' &&
                            value.find_first_not_of("0123456789ABCDEF", 1) == std::string::npos;
        EXPECT_TRUE(colour) << layer.name << " " << key << " = " << value;
      }
    }
    EXPECT_GT(styleKeys, 0) << layer.name;
  }
  const std::set<std::string> ten = {"公交站台", "金融银行", "旅游景点", "大中专院校", "餐饮娱乐",
                                     "医疗卫生", "区界",     "城墙",     "水系",       "绿地"};
  EXPECT_EQ(legend, ten);
  EXPECT_EQ(layers.at(Position(layers, "医院诊所")).keys.at("LEGEND"), "医疗卫生");
}

TEST(CityWorkspaces, OverviewIsALightSubset) {
  const auto layers = Layers(ReadWorkspace(DemoCity().files.Overview(), nullptr));
  std::set<std::string> names;
  for (const auto& layer : layers) names.insert(layer.name);
  EXPECT_EQ(names, (std::set<std::string>{"行政区域", "水系", "城墙", "主干道"}));
}

}  // namespace
}  // namespace citytest
