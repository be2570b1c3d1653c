// What lies under the pointer (the point select and the hover tip), and longitude and latitude.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QToolTip>

#include "kit/PlainText.h"
#include "map/LonLat.h"
#include "mapwidgets/FeaturePick.h"
#include "mapwidgets/HoverTip.h"
#include "tests/map/MapFixture.h"

namespace {

// A park drawn over a restaurant: 800 x 600 px, 4000 m wide, 5 m a pixel.
class PickTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ws.WriteGpkg(
        "t.gpkg",
        {{"餐饮娱乐", {{"百味菜馆", PointWkt(500000, 3400000)}, {"<img src=x>", PointWkt(500500, 3400000)}}},
         {"绿地", {{"湖滨公园", SquareWkt(500000, 3400000, 300)}}}});
    ASSERT_TRUE(map.LoadWorkspace(ws.WriteGstForLayers("t.gst", "t.gpkg", {"餐饮娱乐", "绿地"})).ok());
  }
  QPointF At(double x, double y) const { return map.MapToScreen({x, y}); }
  void ClickSelect(QPointF at) {
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
      QMouseEvent event(type, at, map.mapToGlobal(at), Qt::LeftButton,
                        type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
      QApplication::sendEvent(&map, &event);
    }
  }

  TempWorkspace ws;
  SizedMap sized;
  MapControl& map = sized.map;
};

}  // namespace

// Within 5 px of a point the point wins over the park drawn above it; further off the park.
TEST_F(PickTest, APointWithinFivePixelsWinsOverThePolygonAboveIt) {
  struct Case {
    double offsetPixels;
    const char* layer;
    const char* text;
  } cases[] = {
      {0, "餐饮娱乐", "百味菜馆\n图层：餐饮娱乐"},
      {4.5, "餐饮娱乐", "百味菜馆\n图层：餐饮娱乐"},
      {8, "绿地", "湖滨公园\n图层：绿地"},
  };
  map.ActivateTool(kToolSelectPoint);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.offsetPixels);
    const QPointF at = At(500000 + 5 * c.offsetPixels, 3400000);
    EXPECT_EQ(HoverText(map, at), QString::fromUtf8(c.text));
    ClickSelect(at);
    Layer* chosen = map.FindLayer(QString::fromUtf8(c.layer));
    EXPECT_EQ(chosen->Selection().Count(), 1);
    Layer* other = map.FindLayer(QString::fromUtf8(c.layer) == QStringLiteral("绿地") ? "餐饮娱乐" : "绿地");
    EXPECT_EQ(other->Selection().Count(), 0);
  }
  EXPECT_EQ(HoverText(map, At(501500, 3400000)), QString());
}

// A name from the data set that looks like markup is shown as it is written.
TEST_F(PickTest, TheHoverTipShowsAMarkupNameAsPlainText) {
  HoverTip tip(map);
  const QPointF at = At(500500, 3400000);
  QMouseEvent move(QEvent::MouseMove, at, map.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(&map, &move);
  tip.ShowNow();
  const QString shown = QToolTip::text();
  EXPECT_EQ(shown, qiwu::PlainToolTipText(QStringLiteral("<img src=x>\n图层：餐饮娱乐")));
  EXPECT_FALSE(shown.contains(QStringLiteral("<img")));
}

TEST(LonLat, ConvertsFromTheMapsProjectionAndRefusesWhatIsNotOne) {
  const LonLatTransform utm50(QStringLiteral("EPSG:32650"));  // central meridian 117° E
  const std::optional<MapPoint> centre = utm50.ToLonLat({500000, 0});
  ASSERT_TRUE(centre);
  EXPECT_NEAR(centre->x, 117, 1e-9);
  EXPECT_NEAR(centre->y, 0, 1e-9);
  for (const char* projection : {"", "EPSG:4326", "not a crs"})
    EXPECT_FALSE(LonLatTransform(QString::fromUtf8(projection)).ToLonLat({500000, 0})) << projection;
}
