// The legend: ten entries in order, each drawn in the colours of the layer that shows its class.
#include <gtest/gtest.h>

#include "map/Legend.h"
#include "tests/map/RenderFixture.h"

namespace {

const QStringList kClasses = {"公交站台", "金融银行", "旅游景点", "大中专院校", "餐饮娱乐",
                              "医疗卫生", "区界",     "城墙",     "水系",       "绿地"};

struct ClassLayer {
  QString layerName;
  QString legendKey;  // empty: matched by the layer's name
  int type;
  QColor colour;  // the colour the swatch shows
};

std::unique_ptr<Layer> Build(const ClassLayer& c) {
  LayerStyle style;
  style.legendClass = c.legendKey;
  style.symbolShape = "circle";
  style.symbolSize = 14;
  std::vector<MapPoint> geometry{{0, 0}};
  if (c.type == kFeaturePoint) {
    style.symbolColor = c.colour;
  } else if (c.type == kFeatureLine) {
    style.penColor = c.colour;
    style.penWidth = 4;
    geometry = {{0, 0}, {10, 0}};
  } else {
    style.brushColor = c.colour;
    style.penColor = c.colour.darker(130);
    geometry = Square(0, 0, 5);
  }
  return MakeLayer(c.layerName, c.type, {{{geometry}, "x"}}, style);
}

TEST(RenderLegend, TenEntriesInTheMapsOwnColours) {
  const ClassLayer classes[] = {
      {"公交站台", "公交站台", kFeaturePoint, QColor(31, 111, 209)},
      {"金融银行", "金融银行", kFeaturePoint, QColor(201, 162, 39)},
      {"旅游景点", "", kFeaturePoint, QColor(200, 50, 45)},  // found by its name
      {"大中专院校", "大中专院校", kFeaturePoint, QColor(108, 79, 184)},
      {"餐饮娱乐", "餐饮娱乐", kFeaturePoint, QColor(230, 122, 46)},
      {"医院诊所", "医疗卫生", kFeaturePoint, QColor(217, 59, 72)},  // a layer named otherwise
      {"区界", "区界", kFeatureLine, QColor(160, 124, 192)},
      {"城墙", "城墙", kFeatureLine, QColor(110, 82, 52)},
      {"水系", "水系", kFeatureRegion, QColor(170, 211, 242)},
      {"绿地", "绿地", kFeatureRegion, QColor(205, 230, 181)},
  };
  std::vector<std::unique_ptr<Layer>> owned;
  std::vector<const Layer*> layers;
  for (const ClassLayer& c : classes) {
    owned.push_back(Build(c));
    layers.push_back(owned.back().get());
  }
  const std::vector<LegendEntry> entries = LegendEntries(kClasses, layers);
  ASSERT_EQ(entries.size(), 10u);
  const QSize size(273, 126);
  const QImage image = RenderLegend(kClasses, layers, size);
  const std::vector<LegendCell> cells = LegendLayout(QRectF(QPointF(0, 0), QSizeF(size)), 10);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(entries[i].label, kClasses[i]);
    EXPECT_TRUE(entries[i].hasLayer);
    const QRect swatch = cells[i].swatch.toAlignedRect();
    EXPECT_GT(CountPixels(image, swatch, [&](QColor p) { return Near(p, classes[i].colour, 6); }), 10)
        << kClasses[i].toStdString();
    EXPECT_GT(CountPixels(image, cells[i].text.toAlignedRect(), [](QColor p) { return p.lightness() < 100; }),
              20)
        << "label text of " << kClasses[i].toStdString();
  }
  // Two columns of five, all inside the picture.
  EXPECT_LT(cells[4].swatch.left(), cells[5].swatch.left());
  EXPECT_EQ(cells[0].swatch.left(), cells[4].swatch.left());
  for (const LegendCell& cell : cells) EXPECT_TRUE(QRectF(QPointF(0, 0), QSizeF(size)).contains(cell.text));
}

TEST(RenderLegend, LegendKeyWinsOverANameAndMissingClassesHaveNoSwatch) {
  LayerStyle named;
  named.brushColor = QColor(0, 0, 255);
  LayerStyle keyed;
  keyed.brushColor = QColor(0, 200, 0);
  keyed.legendClass = "绿地";
  const auto byName = MakeLayer("绿地", kFeatureRegion, {{{Square(0, 0, 5)}, ""}}, named);
  const auto byKey = MakeLayer("公园", kFeatureRegion, {{{Square(0, 0, 5)}, ""}}, keyed);
  const std::vector<LegendEntry> entries = LegendEntries(kClasses, {byName.get(), byKey.get()});
  ASSERT_EQ(entries.size(), 10u);
  EXPECT_EQ(entries[9].style.brushColor, keyed.brushColor);
  EXPECT_EQ(entries[9].kind, LegendEntry::Kind::Area);
  for (int i = 0; i < 9; ++i) EXPECT_FALSE(entries[i].hasLayer) << i;

  const QSize size(273, 126);
  const QImage image = RenderLegend(kClasses, {byName.get(), byKey.get()}, size);
  const std::vector<LegendCell> cells = LegendLayout(QRectF(QPointF(0, 0), QSizeF(size)), 10);
  const auto notWhite = [](QColor p) { return p != QColor(Qt::white); };
  EXPECT_EQ(CountPixels(image, cells[0].swatch.toAlignedRect(), notWhite), 0);
  EXPECT_GT(
      CountPixels(image, cells[9].swatch.toAlignedRect(), [](QColor p) { return p == QColor(0, 200, 0); }),
      50);
}

}  // namespace
