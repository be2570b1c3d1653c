// The map feature functions: locate, marker, nearest, framing and the overview's view frame.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <functional>

#include "mapwidgets/modMapFunction.h"
#include "tests/map/MapFixture.h"

namespace {

class MapFunctionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ws.WriteGpkg("f.gpkg", {{"行政区域", {{"全市", SquareWkt(500000, 3400000, 5000)}}},
                            {"公交路线", {{"1路", LineWkt({{499000, 3399000}, {501000, 3399500}})}}},
                            {"医院诊所",
                             {{"东医院", PointWkt(500300, 3400000)},
                              {"北医院", PointWkt(500000, 3400300)},
                              {"西医院", PointWkt(499700, 3400000)},
                              {"远医院", PointWkt(502000, 3402000)}}},
                            {"空图层", {}}});
    ASSERT_TRUE(map.LoadWorkspace(ws.WriteGstForLayers("f.gst", "f.gpkg",
                                                       {"行政区域", "公交路线", "医院诊所", "空图层"}))
                    .ok());
  }

  int SelectedCount() const {
    int n = 0;
    for (int i = 1; i <= map.LayerCount(); ++i) n += map.LayerAt(i)->Selection().Count();
    return n;
  }

  TempWorkspace ws;
  SizedMap sized;
  MapControl& map = sized.map;
};

}  // namespace

TEST_F(MapFunctionTest, LocateFeatureCentresAPointAndFramesALine) {
  map.FindLayer("公交路线")->Selection().Replace(map.FindLayer("公交路线")->FeatureForId(1));
  QSignalSpy modified(&map, &MapControl::SelectionModified);
  ASSERT_TRUE(LocateFeature(map, "医院诊所", "name", "北医院"));
  EXPECT_DOUBLE_EQ(map.ViewWidth(), 1000);
  EXPECT_DOUBLE_EQ(map.CenterX(), 500000);
  EXPECT_DOUBLE_EQ(map.CenterY(), 3400300);
  EXPECT_EQ(SelectedCount(), 1);
  EXPECT_EQ(map.FindLayer("医院诊所")->Selection().Item(1).DisplayName(), "北医院");
  EXPECT_GE(modified.count(), 1);

  ASSERT_TRUE(LocateFeature(map, "公交路线", "name", "1路"));
  EXPECT_DOUBLE_EQ(map.ViewWidth(), 2000);  // 2000 x 500 m fits by its width
  EXPECT_DOUBLE_EQ(map.CenterX(), 500000);
  EXPECT_DOUBLE_EQ(map.CenterY(), 3399250);
  EXPECT_EQ(SelectedCount(), 1);
  EXPECT_EQ(map.FindLayer("公交路线")->Selection().Count(), 1);
}

TEST_F(MapFunctionTest, LocateFeatureMissChangesNothing) {
  map.FindLayer("医院诊所")->Selection().Replace(map.FindLayer("医院诊所")->FeatureForId(4));
  const MapView before = map.View();
  struct Case {
    QString layer, field, value;
  };
  for (const Case& c : {Case{"医院诊所", "name", "北医"}, Case{"医院诊所", "address", "北医院"},
                        Case{"没有的图层", "name", "北医院"}}) {
    EXPECT_FALSE(LocateFeature(map, c.layer, c.field, c.value)) << c.value.toStdString();
    EXPECT_EQ(map.View(), before);
    EXPECT_EQ(SelectedCount(), 1);
  }
}

TEST_F(MapFunctionTest, PlaceMarkerKeepsOneMarkerAtTheLatestPoint) {
  Layer* tempPoint = map.CreateTemporaryLayer("tempPoint");
  PlaceMarker(map, *tempPoint, 500100, 3400100);
  PlaceMarker(map, *tempPoint, 500200, 3400200);
  const FeatureSet markers = tempPoint->ListFeatures();
  ASSERT_EQ(markers.Count(), 1);
  EXPECT_EQ(markers.Item(1).Type(), kFeaturePoint);
  EXPECT_DOUBLE_EQ(markers.Item(1).CenterX(), 500200);
  EXPECT_DOUBLE_EQ(markers.Item(1).CenterY(), 3400200);
  ASSERT_NE(markers.Item(1).Style(), nullptr);
  EXPECT_EQ(markers.Item(1).Style()->SymbolBitmapName, "GOLF1-32.BMP");
  EXPECT_EQ(markers.Item(1).Style()->SymbolBitmapSize, 12);
}

TEST_F(MapFunctionTest, NearestFeatureNameSelectsTheNearestAndKeepsTheFirstOfATie) {
  map.FindLayer("公交路线")->Selection().Replace(map.FindLayer("公交路线")->FeatureForId(1));
  // East, north and west hospitals all lie 300 m from the centre: the first in the layer wins.
  const NearestResult tie = NearestFeatureName(map, "医院诊所", 500000, 3400000);
  ASSERT_TRUE(tie.ok);
  EXPECT_EQ(tie.name, "东医院");
  EXPECT_DOUBLE_EQ(tie.distance, 300);
  EXPECT_EQ(tie.feature.Id(), 1);
  EXPECT_EQ(SelectedCount(), 1);
  EXPECT_EQ(map.FindLayer("医院诊所")->Selection().Item(1).DisplayName(), "东医院");

  const NearestResult west = NearestFeatureName(map, "医院诊所", 499000, 3400100);
  ASSERT_TRUE(west.ok);
  EXPECT_EQ(west.name, "西医院");
  EXPECT_NEAR(west.distance, std::hypot(700, 100), 1e-9);
}

TEST_F(MapFunctionTest, NearestFeatureNameRefusesCleanly) {
  const NearestResult empty = NearestFeatureName(map, "空图层", 500000, 3400000);
  EXPECT_FALSE(empty.ok);
  EXPECT_TRUE(empty.reason.contains("空图层"));
  EXPECT_FALSE(empty.feature.IsValid());
  const NearestResult missing = NearestFeatureName(map, "没有的图层", 500000, 3400000);
  EXPECT_FALSE(missing.ok);
  EXPECT_TRUE(missing.reason.contains("没有的图层"));
}

TEST_F(MapFunctionTest, FrameFeatureAndPointGivesTheFeatureSideAWholeSpan) {
  struct Case {
    const char* where;
    MapPoint f, c;
    MapRect view;
  };
  const Case cases[] = {
      // The feature 300 left and 400 below the point.
      {"left below", {1000, 2000}, {1300, 2400}, {700, 1600, 1330, 2440}},
      {"left above", {1000, 2400}, {1300, 2000}, {700, 1960, 1330, 2800}},
      {"right above", {1300, 2400}, {1000, 2000}, {970, 1960, 1600, 2800}},
      {"right below", {1300, 2000}, {1000, 2400}, {970, 1600, 1600, 2440}},
      // Shared axis: the other axis's extent centred on the shared value (630 m here)...
      {"same y", {1000, 2000}, {1300, 2000}, {700, 1685, 1330, 2315}},
      {"same x", {1000, 2000}, {1000, 2400}, {580, 1600, 1420, 2440}},
      // ... and at least 100 m when the two points coincide.
      {"same point", {1000, 2000}, {1000, 2000}, {950, 1950, 1050, 2050}},
  };
  for (const Case& c : cases) {
    MapRect span, view;
    FrameFeatureAndPoint(map, span, view, c.f.x, c.f.y, c.c.x, c.c.y);
    EXPECT_NEAR(view.minX, c.view.minX, 1e-9) << c.where;
    EXPECT_NEAR(view.minY, c.view.minY, 1e-9) << c.where;
    EXPECT_NEAR(view.maxX, c.view.maxX, 1e-9) << c.where;
    EXPECT_NEAR(view.maxY, c.view.maxY, 1e-9) << c.where;
    EXPECT_DOUBLE_EQ(span.Width(), std::abs(c.f.x - c.c.x)) << c.where;
    EXPECT_DOUBLE_EQ(span.Height(), std::abs(c.f.y - c.c.y)) << c.where;
    // The map shows at least the chosen rectangle, centred on it.
    EXPECT_NEAR(map.CenterX(), view.CenterX(), 1e-6) << c.where;
    EXPECT_NEAR(map.CenterY(), view.CenterY(), 1e-6) << c.where;
    EXPECT_GE(map.Bounds().Width() + 1e-6, view.Width()) << c.where;
    EXPECT_GE(map.Bounds().Height() + 1e-6, view.Height()) << c.where;
  }
}

// The marker and the frame are replaced at every search and view change: a day of use must not
// leave a trail of removed features that every later search walks through.
TEST_F(MapFunctionTest, MarkerAndFrameLayersStayBoundedAfterLongUse) {
  SizedMap overview;
  Layer* tempPoint = map.CreateTemporaryLayer("tempPoint");
  Layer* rect = overview.map.CreateTemporaryLayer("rectlayer");
  struct Case {
    Layer* layer;
    std::function<void(int)> use;
    int live;
  };
  const Case cases[] = {
      {tempPoint, [&](int i) { PlaceMarker(map, *tempPoint, 500000 + i % 100, 3400000); }, 1},
      {rect, [&](int) { DrawViewFrame(map, overview.map, *rect); }, 3},
  };
  for (const Case& c : cases) {
    for (int i = 0; i < 5000; ++i) c.use(i);
    EXPECT_EQ(c.layer->Store().Count(), c.live) << c.layer->Name().toStdString();
    EXPECT_LE(c.layer->Store().IdLimit(), c.live) << c.layer->Name().toStdString();
  }
  EXPECT_DOUBLE_EQ(tempPoint->ListFeatures().Item(1).CenterX(), 500000 + 4999 % 100);
}

TEST_F(MapFunctionTest, DrawViewFrameDrawsARectangleFirstThenACrossHair) {
  SizedMap overview;
  ASSERT_TRUE(overview.map.LoadWorkspace(ws.Path("f.gst")).ok());
  overview.map.SetBounds({490000, 3390000, 510000, 3410000});
  Layer* rect = overview.map.CreateTemporaryLayer("rectlayer");
  map.SetBounds({499000, 3399000, 501000, 3400500});
  const MapRect view = map.Bounds();

  DrawViewFrame(map, overview.map, *rect);
  FeatureSet frame = rect->ListFeatures();
  ASSERT_EQ(frame.Count(), 1);
  EXPECT_EQ(frame.Item(1).Type(), kFeatureRegion);
  EXPECT_NEAR(frame.Bounds().minX, view.minX, 1e-6);
  EXPECT_NEAR(frame.Bounds().maxY, view.maxY, 1e-6);
  EXPECT_EQ(frame.Item(1).Style()->RegionPattern, 0);
  EXPECT_EQ(frame.Item(1).Style()->RegionBorderColor, 255u);

  map.SetCenterX(499500);
  const MapRect moved = map.Bounds();
  const MapRect all = overview.map.Bounds();
  DrawViewFrame(map, overview.map, *rect);
  DrawViewFrame(map, overview.map, *rect);  // redrawn, not added to
  frame = rect->ListFeatures();
  ASSERT_EQ(frame.Count(), 3);
  for (const Feature& f : frame) {
    EXPECT_EQ(f.Type(), kFeatureLine);
    EXPECT_EQ(f.Style()->LineColor, 255u);
  }
  const auto outline = frame.Item(1).Part(0);
  ASSERT_EQ(outline.size(), 5u);
  EXPECT_EQ(outline.front(), (MapPoint{moved.minX, moved.minY}));
  EXPECT_EQ(outline[2], (MapPoint{moved.maxX, moved.maxY}));
  EXPECT_EQ(outline.back(), outline.front());
  const auto vertical = frame.Item(2).Part(0);
  EXPECT_NEAR(vertical[0].x, 499500, 1e-6);
  EXPECT_DOUBLE_EQ(vertical[0].y, all.maxY);
  EXPECT_DOUBLE_EQ(vertical[1].y, all.minY);
  const auto horizontal = frame.Item(3).Part(0);
  EXPECT_NEAR(horizontal[0].y, moved.CenterY(), 1e-6);
  EXPECT_DOUBLE_EQ(horizontal[0].x, all.minX);
  EXPECT_DOUBLE_EQ(horizontal[1].x, all.maxX);
}
