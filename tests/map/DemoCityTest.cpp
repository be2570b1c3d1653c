// End to end on the demo city beside the program: set-up of both maps and searches that agree
// with a plain scan of the layer.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <random>

#include "app/MapSetup.h"
#include "map/Geometry.h"
#include "mapwidgets/modMapFunction.h"
#include "tests/map/MapFixture.h"

namespace {

QString DemoWorkspace(const QString& suffix = QString()) {
  return QCoreApplication::applicationDirPath() + QStringLiteral("/map/栖坞市/栖坞市%1.gst").arg(suffix);
}

class DemoCityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const Outcome loaded = map.LoadWorkspace(DemoWorkspace());
    ASSERT_TRUE(loaded.ok()) << loaded.description.toStdString();
    const Outcome setup = SetupMainMap(map, false, tempPoint);
    ASSERT_TRUE(setup.ok()) << setup.description.toStdString();
  }

  SizedMap sized;
  MapControl& map = sized.map;
  Layer* tempPoint = nullptr;
};

// The nearest feature by a scan in layer order with a strict comparison.
int ScanNearest(const Layer& layer, MapPoint p) {
  int best = 0;
  double minimum = 0;
  for (int id = 1; id <= layer.Store().IdLimit(); ++id) {
    if (!layer.Store().Exists(id)) continue;
    const double d = Distance(p, layer.Store().CenterOf(id));
    if (!best || minimum > d) best = id, minimum = d;
  }
  return best;
}

}  // namespace

TEST_F(DemoCityTest, BothMapsSetUpWithTheirTemporaryLayersOnTop) {
  EXPECT_EQ(map.LayerAt(1), tempPoint);
  EXPECT_NE(map.FindLayer("行政区域"), nullptr);
  EXPECT_GT(map.FindLayer("行政区域")->Bounds().Width(), 1000);
  Layer* lyrRect = nullptr;
  SizedMap overview;
  ASSERT_TRUE(SetupOverviewMap(overview.map, DemoWorkspace("2"), lyrRect).ok());
  EXPECT_EQ(overview.map.LayerAt(1), lyrRect);
  DrawViewFrame(map, overview.map, *lyrRect);
  EXPECT_EQ(lyrRect->Store().Count(), 1);
}

TEST_F(DemoCityTest, SearchesAgreeWithAScanOfEveryPointLayer) {
  std::mt19937 random(3);
  const MapRect city = map.FindLayer("行政区域")->Bounds();
  std::uniform_real_distribution<double> x(city.minX, city.maxX), y(city.minY, city.maxY);
  for (const char* name : {"餐饮娱乐", "大中专院校", "旅游景点", "金融银行", "医院诊所", "公交站台"}) {
    Layer* layer = map.FindLayer(name);
    ASSERT_NE(layer, nullptr) << name;
    ASSERT_GT(layer->Store().Count(), 0) << name;
    for (int i = 0; i < 50; ++i) {
      const MapPoint p{x(random), y(random)};
      EXPECT_EQ(layer->NearestFeature(p).Id(), ScanNearest(*layer, p)) << name;
      int inside = 0;
      for (int id = 1; id <= layer->Store().IdLimit(); ++id)
        inside += Distance(p, layer->Store().CenterOf(id)) <= 800;
      EXPECT_EQ(layer->FeaturesWithinDistance(p, 800, kUnitMetres, kSearchWhollyWithin).Count(), inside)
          << name;
    }
  }
}

TEST_F(DemoCityTest, LocatesABusStopAndALineByName) {
  Layer* stops = map.FindLayer("公交站台");
  Layer* lines = map.FindLayer("公交路线");
  ASSERT_GT(stops->Store().Count(), 0);
  ASSERT_GT(lines->Store().Count(), 0);
  const QString stop = stops->FeatureForId(1).DisplayName();
  ASSERT_FALSE(stop.isEmpty());
  ASSERT_TRUE(LocateFeature(map, "公交站台", "name", stop));
  EXPECT_DOUBLE_EQ(map.ViewWidth(), 1000);
  EXPECT_EQ(stops->Selection().Count(), 1);
  EXPECT_TRUE(stops->IsDrawnAt(map.ViewWidth()));

  const Feature line = lines->FeatureForId(1);
  ASSERT_TRUE(LocateFeature(map, "公交路线", "name", line.DisplayName()));
  EXPECT_NEAR(map.CenterX(), line.Bounds().CenterX(), 1e-6);
  EXPECT_GE(map.Bounds().Width() + 1e-6, line.Bounds().Width());
  EXPECT_EQ(stops->Selection().Count(), 0);
  EXPECT_EQ(lines->Selection().Count(), 1);
}
