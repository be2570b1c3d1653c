// The main map's scale bar: its round length and where it is drawn.
#include <gtest/gtest.h>

#include "map/Renderer.h"
#include "map/ScaleBar.h"
#include "mapwidgets/MapControl.h"
#include "tests/map/RenderFixture.h"

TEST(ScaleBar, TheLongestRoundLengthThatFits) {
  struct Case {
    double metresPerPixel, maxPixels, length;
    const char* label;
  } cases[] = {
      {1, 120, 100, "100 米"},    {0.3, 120, 20, "20 米"},         {0.01, 120, 1, "1 米"},
      {10, 120, 1000, "1 公里"},  {25, 120, 2000, "2 公里"},       {50, 120, 5000, "5 公里"},
      {4.17, 120, 500, "500 米"}, {1000, 100, 100000, "100 公里"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.metresPerPixel);
    const double length = ScaleBarLength(c.metresPerPixel, c.maxPixels);
    EXPECT_DOUBLE_EQ(length, c.length);
    EXPECT_LE(length / c.metresPerPixel, c.maxPixels);
    EXPECT_EQ(ScaleBarLabel(length), QString::fromUtf8(c.label));
  }
}

TEST(ScaleBar, DrawnBottomLeftOnlyWhenAsked) {
  const MapView view({500000, 3400000}, 4000, {400, 300});
  for (const bool on : {false, true}) {
    QImage image(view.Pixels(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    RenderOptions options;
    options.scaleBar = on;
    MapRenderer().Render(painter, std::vector<const Layer*>{}, view, options);
    painter.end();
    const auto dark = [](QColor c) { return c.lightness() < 100; };
    EXPECT_EQ(CountPixels(image, QRect(0, 240, 160, 60), dark) > 20, on);
    EXPECT_EQ(CountPixels(image, QRect(200, 0, 200, 240), dark), 0);
  }
}

// On the map it is painted over the frame, so that it keeps its corner while a pan drags the frame.
TEST(ScaleBar, KeepsItsCornerOnTheMapWhileAPanIsDragged) {
  MapControl map;
  map.resize(400, 300);
  map.SetView(MapView({500000, 3400000}, 4000, {400, 300}));
  const auto dark = [](QColor c) { return c.lightness() < 100; };
  for (const bool on : {false, true}) {
    map.SetScaleBar(on);
    ASSERT_TRUE(map.WaitForFrame());
    map.SetPanOffset({200, -150});
    EXPECT_EQ(CountPixels(map.grab().toImage(), QRect(0, 240, 160, 60), dark) > 20, on);
    EXPECT_EQ(CountPixels(map.Frame(), QRect(0, 0, 400, 300), dark), 0) << "not in the frame itself";
    map.SetPanOffset({});
  }
}
