// Rendering checked by reading pixels: markers, display limits, casings, fills, the wall, the
// selection glow and the view query.
#include <gtest/gtest.h>

#include "tests/map/RenderFixture.h"

namespace {

const QSize kPixels(400, 300);
const MapPoint kCentre{1000, 1000};

bool Red(QColor c) { return c.red() > 180 && c.green() < 80 && c.blue() < 80; }

FeatureStyle FlagMarker() {
  FeatureStyle style;
  style.SymbolType = 1;
  style.SymbolBitmapName = QStringLiteral("GOLF1-32.BMP");
  style.SymbolBitmapSize = 12;
  return style;
}

LayerStyle Filled(QColor brush) {
  LayerStyle style;
  style.brushColor = brush;
  style.penPattern = Qt::NoPen;
  return style;
}

TEST(RenderPixels, MarkerIsRedWhereThePointWasInsertedAndNowhereElse) {
  const auto ground =
      MakeLayer("ground", kFeatureRegion, {{{Square(1000, 1000, 5000)}, "g"}}, Filled(QColor(230, 230, 230)));
  const MapView view(kCentre, 1000, kPixels);
  const MapPoint positions[] = {{1000, 1000}, {850, 1100}, {1150, 905}, {810, 880}};
  for (const MapPoint p : positions) {
    auto temp = MakeLayer("tempPoint", kFeaturePoint, {}, {}, true);
    ASSERT_TRUE(temp->InsertFeature(Feature(kFeaturePoint, {p}, FlagMarker())).IsValid());
    const QImage image = RenderToImage({ground.get(), temp.get()}, view);
    const QPoint at = view.ToScreen(p).toPoint();
    const QRect around(at - QPoint(12, 12), QSize(25, 25));
    const int nearPoint = CountPixels(image, around, Red);
    EXPECT_GT(nearPoint, 20) << p.x << "," << p.y;
    EXPECT_TRUE(Red(image.pixelColor(at))) << "the marker covers its point";
    EXPECT_EQ(CountPixels(image, image.rect(), Red), nearPoint) << "red only at the marker";
  }
}

TEST(RenderPixels, LayerDrawnUpToItsLimitAndHiddenAbove) {
  const QColor blue(0x33, 0x66, 0xCC);
  const auto layer =
      MakeLayer("餐饮娱乐", kFeatureRegion, {{{Square(1000, 1000, 50000)}, "x"}}, Filled(blue));
  layer->SetMaxVisibleWidth(3000);
  struct Case {
    double width;
    bool visible;
    bool drawn;
  };
  const Case cases[] = {{2999, true, true},
                        {3000, true, true},
                        {3000.01, true, false},
                        {10000, true, false},
                        {1000, false, false}};
  for (const Case& c : cases) {
    layer->SetVisible(c.visible);
    RenderStats stats;
    const QImage image = RenderToImage({layer.get()}, MapView(kCentre, c.width, kPixels), &stats);
    const int blues = CountPixels(image, image.rect(), [&](QColor p) { return Near(p, blue); });
    EXPECT_EQ(blues > 0, c.drawn) << c.width;
    EXPECT_EQ(stats.featuresDrawn, c.drawn ? 1 : 0) << c.width;
  }
}

TEST(RenderPixels, RoadCasingsAllUnderTheFillsSoCrossingsMerge) {
  LayerStyle road;
  road.penColor = QColor(255, 210, 77);
  road.penWidth = 8;
  road.casingColor = QColor(138, 90, 0);
  road.casingWidth = 14;
  // Two roads crossing at the centre of the view; the second one's casing must not cut the first.
  const auto layer =
      MakeLayer("主干道", kFeatureLine,
                {{{{{600, 1000}, {1400, 1000}}}, "东西路"}, {{{{1000, 700}, {1000, 1300}}}, "南北路"}}, road);
  const MapView view(kCentre, 1000, kPixels);  // 2.5 m a pixel, centre at (200, 150)
  const QImage image = RenderToImage({layer.get()}, view);
  EXPECT_TRUE(Near(image.pixelColor(200, 150), road.penColor)) << "crossing filled";
  EXPECT_TRUE(Near(image.pixelColor(198, 148), road.penColor)) << "inside the crossing";
  EXPECT_TRUE(Near(image.pixelColor(100, 150), road.penColor)) << "road centre";
  EXPECT_TRUE(Near(image.pixelColor(100, 156), road.casingColor, 20)) << "casing beside the fill";
  EXPECT_TRUE(Near(image.pixelColor(200, 60), road.penColor)) << "the other road";
  EXPECT_TRUE(Near(image.pixelColor(194, 60), road.casingColor, 20));
  EXPECT_TRUE(Near(image.pixelColor(100, 170), Qt::white));
}

TEST(RenderPixels, RegionFilledAndOutlinedInItsStyle) {
  LayerStyle water;
  water.brushColor = QColor(168, 206, 236);
  water.penColor = QColor(90, 140, 190);
  water.penWidth = 3;
  const auto layer = MakeLayer("水系", kFeatureRegion, {{{Square(1000, 1000, 200)}, "湖"}}, water);
  const QImage image = RenderToImage({layer.get()}, MapView(kCentre, 1000, kPixels));
  // The square spans screen x 120..280, y 70..230.
  EXPECT_TRUE(Near(image.pixelColor(200, 150), water.brushColor));
  EXPECT_TRUE(Near(image.pixelColor(120, 150), water.penColor, 20));
  EXPECT_TRUE(Near(image.pixelColor(200, 70), water.penColor, 20));
  EXPECT_TRUE(Near(image.pixelColor(100, 150), Qt::white));
}

TEST(RenderPixels, CityWallHasBattlementsOutsideItsRing) {
  const QColor stone(110, 90, 70);
  LayerStyle wall;
  wall.penColor = stone;
  wall.penWidth = 4;
  LayerStyle crenellated = wall;
  crenellated.lineDecoration = LineDecoration::Wall;
  const MapView view(kCentre, 1000, kPixels);
  // Both ring orientations: battlements go outwards either way.
  std::vector<MapPoint> clockwise = Square(1000, 1000, 200);
  std::vector<MapPoint> anticlockwise(clockwise.rbegin(), clockwise.rend());
  for (const auto& ring : {clockwise, anticlockwise}) {
    int outside[2] = {0, 0}, inside[2] = {0, 0};
    for (int decorated = 0; decorated < 2; ++decorated) {
      const auto layer = MakeLayer("城墙", kFeatureRegion, {{{ring}, ""}}, decorated ? crenellated : wall);
      const QImage image = RenderToImage({layer.get()}, view);
      const auto isStone = [&](QColor c) { return Near(c, stone, 30); };
      // The ring's top edge is screen y 70: look 3..7 pixels above it and below it.
      outside[decorated] = CountPixels(image, QRect(130, 63, 140, 5), isStone);
      inside[decorated] = CountPixels(image, QRect(130, 73, 140, 5), isStone);
    }
    EXPECT_EQ(outside[0], 0);
    EXPECT_GT(outside[1], 100) << "teeth outside";
    EXPECT_EQ(inside[1], inside[0]) << "nothing added inside";
  }
}

// A found feature shows even where its layer's display limit hides the rest of the layer (a bus
// line framed at 13,800 m, beyond the bus layers' 10,000 m).
TEST(RenderPixels, SelectionGlowsAtAnyWidthWhileTheRestOfItsLayerKeepsItsLimit) {
  LayerStyle line;
  line.penColor = QColor(80, 80, 80);
  line.penWidth = 2;
  const MapPoint other{1300, 1000};  // the unselected line runs north-south through here
  const auto layer = MakeLayer(
      "公交路线", kFeatureLine,
      {{{{{-3000, 1000}, {5000, 1000}}}, "1路"}, {{{{other.x, -3000}, {other.x, 5000}}}, "2路"}}, line);
  layer->SetMaxVisibleWidth(10000);
  const auto glow = [](QColor c) { return c.blue() > 230 && c.green() > 200 && c.red() < 190; };
  const auto grey = [&](QColor c) { return Near(c, line.penColor, 40); };
  const MapView near(kCentre, 1000, kPixels);
  EXPECT_EQ(CountPixels(RenderToImage({layer.get()}, near), QRect(QPoint(0, 0), kPixels), glow), 0);
  layer->Selection().Replace(layer->FeatureForId(1));

  struct Case {
    double width;
    bool otherDrawn;
  };
  for (const Case& c : {Case{1000, true}, Case{10000, true}, Case{13800, false}, Case{46200, false}}) {
    const MapView view(kCentre, c.width, kPixels);
    const QImage image = RenderToImage({layer.get()}, view);
    // The selected line crosses the view at screen y 150; the other one well above it.
    EXPECT_GT(CountPixels(image, QRect(0, 140, kPixels.width(), 21), glow), 300) << c.width;
    const int x = int(view.ToScreen(other).x());
    EXPECT_EQ(CountPixels(image, QRect(x - 3, 0, 7, 120), grey) > 0, c.otherDrawn) << c.width;
  }
}

TEST(RenderPixels, DrawsOnlyFeaturesInTheViewAndSkipsSubPixelOnes) {
  std::vector<FixtureFeature> grid, tiny;
  for (int i = 0; i < 100; ++i) {
    for (int j = 0; j < 100; ++j) {
      const double x = i * 100.0 - 4000, y = j * 100.0 - 4000;
      grid.push_back({{{{x, y}}}, ""});
      tiny.push_back({{{{x, y}, {x + 5, y}}}, ""});
    }
  }
  const auto points = MakeLayer("points", kFeaturePoint, grid);
  RenderStats stats;
  RenderToImage({points.get()}, MapView(kCentre, 1000, kPixels), &stats);
  // 1000 m by 750 m plus a margin of 24 pixels (60 m) on every side: about 11 by 9 grid points.
  EXPECT_GE(stats.featuresDrawn, 80);
  EXPECT_LE(stats.featuresDrawn, 140);

  const auto lines = MakeLayer("lines", kFeatureLine, tiny);
  RenderToImage({lines.get()}, MapView(kCentre, 1000, kPixels), &stats);
  EXPECT_GE(stats.featuresDrawn, 80) << "two pixels long: drawn";
  RenderToImage({lines.get()}, MapView(kCentre, 20000, kPixels), &stats);
  EXPECT_EQ(stats.featuresDrawn, 0) << "a tenth of a pixel: skipped";
}

}  // namespace
