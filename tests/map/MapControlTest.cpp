// MapControl: layer order, workspace replacement, the view and its events, selection events.
#include <gtest/gtest.h>

#include <QSignalSpy>

#include "app/MapSetup.h"
#include "tests/map/MapFixture.h"

namespace {

// A workspace with the eight layers the main map names, plus the whole-map layer.
class CityMapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QList<testcity::Layer> layers;
    for (const char* name : kLayers)
      layers.push_back({QString::fromUtf8(name), {{"甲", PointWkt(500000, 3400000)}}});
    layers.front().features = {{"栖坞市", SquareWkt(500000, 3400000, 5000)}};
    ws.WriteGpkg("city.gpkg", layers);
    QStringList names;
    for (const char* name : kLayers) names << QString::fromUtf8(name);
    gst = ws.WriteGstForLayers("city.gst", "city.gpkg", names);
  }

  static constexpr const char* kLayers[] = {"行政区域",   "路线",     "公交路线", "公交站台", "餐饮娱乐",
                                            "大中专院校", "旅游景点", "金融银行", "医院诊所"};
  TempWorkspace ws;
  QString gst;
  SizedMap sized;
  MapControl& map = sized.map;
};

}  // namespace

TEST_F(CityMapTest, LoadSetsTheInitialViewAndOrdersLayersTopFirst) {
  QSignalSpy viewChanged(&map, &MapControl::ViewChanged);
  ASSERT_TRUE(map.LoadWorkspace(gst).ok());
  EXPECT_EQ(viewChanged.count(), 1);
  ASSERT_TRUE(map.LoadWorkspace(gst).ok());  // the same view again is still reported
  EXPECT_EQ(viewChanged.count(), 2);
  EXPECT_DOUBLE_EQ(map.ViewWidth(), 4000);
  EXPECT_DOUBLE_EQ(map.CenterX(), 500000);
  EXPECT_DOUBLE_EQ(map.CenterY(), 3400000);
  EXPECT_NEAR(map.Bounds().Height(), 3000, 1e-6);  // 800 x 600 pixels
  ASSERT_EQ(map.LayerCount(), 9);
  EXPECT_EQ(map.LayerAt(1)->Name(), "医院诊所");  // the last table is on top
  EXPECT_EQ(map.LayerAt(9)->Name(), "行政区域");
  EXPECT_EQ(map.LayerAt(0), nullptr);
  EXPECT_EQ(map.LayerAt(10), nullptr);
}

TEST_F(CityMapTest, TemporaryLayersGoOnTopAndALoadReplacesThem) {
  ASSERT_TRUE(map.LoadWorkspace(gst).ok());
  Layer* first = map.CreateTemporaryLayer("rectlayer");
  Layer* second = map.CreateTemporaryLayer("tempPoint");
  EXPECT_EQ(map.LayerAt(1), second);
  EXPECT_EQ(map.LayerAt(2), first);
  EXPECT_EQ(map.LayerAt(3)->Name(), "医院诊所");
  EXPECT_EQ(map.LayersBottomToTop().back(), second);

  ASSERT_TRUE(map.LoadWorkspace(gst).ok());
  EXPECT_EQ(map.LayerCount(), 9);
  EXPECT_EQ(map.FindLayer("tempPoint"), nullptr);
  EXPECT_EQ(map.FindLayer("rectlayer"), nullptr);
}

TEST_F(CityMapTest, AFailedLoadKeepsTheMapAsItWas) {
  ASSERT_TRUE(map.LoadWorkspace(gst).ok());
  map.CreateTemporaryLayer("tempPoint");
  const Outcome r = map.LoadWorkspace(ws.Path("missing.gst"));
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(map.LayerCount(), 10);
}

TEST_F(CityMapTest, MainSetupAppliesTheDisplayLimitsInItsTable) {
  ASSERT_TRUE(map.LoadWorkspace(gst).ok());
  Layer* tempPoint = nullptr;
  ASSERT_TRUE(SetupMainMap(map, false, tempPoint).ok());
  ASSERT_NE(tempPoint, nullptr);
  EXPECT_EQ(map.LayerAt(1), tempPoint);
  EXPECT_EQ(tempPoint->Name(), "tempPoint");

  struct Case {
    double width;
    QStringList drawn;
  };
  const Case cases[] = {
      {2500, {"餐饮娱乐", "旅游景点", "路线", "公交路线"}},
      {3000, {"餐饮娱乐", "旅游景点", "路线", "公交路线"}},
      {3000.01, {"旅游景点", "公交路线"}},
      {1999, {"餐饮娱乐", "大中专院校", "旅游景点", "金融银行", "医院诊所", "路线", "公交路线", "公交站台"}},
      {10000.5, {}},
  };
  for (const Case& c : cases) {
    map.SetViewWidth(c.width);
    for (const char* name : kLayers) {
      if (QString::fromUtf8(name) == "行政区域") continue;
      EXPECT_EQ(map.FindLayer(name)->IsDrawnAt(map.ViewWidth()), c.drawn.contains(name))
          << c.width << " " << name;
    }
  }
}

TEST_F(CityMapTest, CitySwitchLeavesTheBusLayersToTheWorkspace) {
  ASSERT_TRUE(map.LoadWorkspace(gst).ok());
  Layer* tempPoint = nullptr;
  ASSERT_TRUE(SetupMainMap(map, true, tempPoint).ok());
  EXPECT_DOUBLE_EQ(map.FindLayer("路线")->MaxVisibleWidth(), 3000);
  EXPECT_EQ(map.FindLayer("公交路线")->MaxVisibleWidth(), std::numeric_limits<double>::infinity());
  EXPECT_EQ(map.FindLayer("公交站台")->MaxVisibleWidth(), std::numeric_limits<double>::infinity());
}

TEST_F(CityMapTest, SetupFailsNamingAMissingLayer) {
  ws.WriteGpkg("small.gpkg", {{"行政区域", {{"栖坞市", SquareWkt(500000, 3400000, 5000)}}}});
  ASSERT_TRUE(map.LoadWorkspace(ws.WriteGstForLayers("small.gst", "small.gpkg", {"行政区域"})).ok());
  Layer* tempPoint = nullptr;
  const Outcome r = SetupMainMap(map, false, tempPoint);
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.number, kMapErrorLayerMissing);
  EXPECT_TRUE(r.description.contains("餐饮娱乐")) << r.description.toStdString();
  EXPECT_EQ(tempPoint, nullptr);

  Layer* lyrRect = nullptr;
  SizedMap overview;
  EXPECT_FALSE(SetupOverviewMap(overview.map, ws.Path("none.gst"), lyrRect).ok());
  ASSERT_TRUE(SetupOverviewMap(overview.map, gst, lyrRect).ok());
  EXPECT_EQ(overview.map.LayerAt(1), lyrRect);
  EXPECT_EQ(lyrRect->Name(), "rectlayer");
}

TEST_F(CityMapTest, EveryViewChangeIsReportedOnce) {
  ASSERT_TRUE(map.LoadWorkspace(gst).ok());
  QSignalSpy viewChanged(&map, &MapControl::ViewChanged);
  map.SetViewWidth(2000);
  map.SetCenterX(501000);
  map.SetCenterY(3401000);
  map.SetBounds({499000, 3399000, 503000, 3400000});  // 4000 x 1000: the width decides
  map.SetCenterX(501000);                             // already there: no change
  EXPECT_EQ(viewChanged.count(), 4);
  EXPECT_DOUBLE_EQ(map.ViewWidth(), 4000);
  EXPECT_DOUBLE_EQ(map.CenterY(), 3399500);

  map.SetBounds({500000, 3400000, 500100, 3401000});  // 100 x 1000: the height decides
  EXPECT_NEAR(map.ViewWidth(), 1000 * 800.0 / 600.0, 1e-6);
  EXPECT_NEAR(map.Bounds().minY, 3400000, 1e-6);
}

TEST_F(CityMapTest, ScreenAndMapCoordinatesAgree) {
  ASSERT_TRUE(map.LoadWorkspace(gst).ok());
  const MapPoint topLeft = map.ScreenToMap(0, 0);
  EXPECT_DOUBLE_EQ(topLeft.x, 498000);
  EXPECT_DOUBLE_EQ(topLeft.y, 3401500);
  const MapPoint p = map.ScreenToMap(200, 450);
  EXPECT_DOUBLE_EQ(p.x, 499000);
  EXPECT_DOUBLE_EQ(p.y, 3399250);
  const QPointF back = map.MapToScreen(p);
  EXPECT_NEAR(back.x(), 200, 1e-6);
  EXPECT_NEAR(back.y(), 450, 1e-6);
  EXPECT_DOUBLE_EQ(map.MeasureDistance(0, 0, 300, 400), 500);
}

TEST_F(CityMapTest, SelectionChangesByTheProgramRaiseSelectionModified) {
  ASSERT_TRUE(map.LoadWorkspace(gst).ok());
  QSignalSpy modified(&map, &MapControl::SelectionModified);
  Layer* dining = map.FindLayer("餐饮娱乐");
  Layer* banks = map.FindLayer("金融银行");
  dining->Selection().Replace(dining->FeatureForId(1));
  banks->Selection().SelectWithinRadius(500000, 3400000, 10, kSelectionNew);
  EXPECT_EQ(modified.count(), 2);
  map.UnselectAll();  // two layers cleared, one report
  EXPECT_EQ(modified.count(), 3);
  EXPECT_EQ(dining->Selection().Count() + banks->Selection().Count(), 0);
  map.UnselectAll();  // nothing was selected
  EXPECT_EQ(modified.count(), 3);
  banks->Selection().SelectAtPoint(500001, 3400000, kSelectionNew);  // within a few pixels
  EXPECT_EQ(banks->Selection().Count(), 1);
  EXPECT_EQ(modified.count(), 4);
  ASSERT_TRUE(map.LoadWorkspace(gst).ok());  // the selected layer goes away
  EXPECT_EQ(modified.count(), 5);
}

// View changes while frames are drawn: FrameReady only ever comes with the frame of the view then.
TEST_F(CityMapTest, FrameReadyComesWithTheFrameOfTheLatestView) {
  ASSERT_TRUE(map.LoadWorkspace(gst).ok());
  std::vector<bool> current;
  QObject::connect(&map, &MapControl::FrameReady, [&] { current.push_back(map.FrameView() == map.View()); });
  ASSERT_TRUE(map.WaitForFrame());
  map.SetViewWidth(8000);
  map.WaitForFrame(0);  // starts the frame of the new view
  map.SetCenterX(501000);
  ASSERT_TRUE(map.WaitForFrame());
  EXPECT_EQ(map.FrameView(), map.View());
  EXPECT_EQ(map.Frame().deviceIndependentSize().toSize(), map.size());
  EXPECT_GE(current.size(), 2u);
  EXPECT_EQ(std::count(current.begin(), current.end(), false), 0);
}
