// Style cases drawn: each feature in its case's pen, brush or symbol, every casing under every pen,
// the selection in its case's style, and a layer drawn as before whenever no feature has a case.
#include <gtest/gtest.h>

#include <functional>

#include "tests/map/RenderFixture.h"

namespace {

const QSize kPixels(400, 300);
const MapPoint kCentre{1000, 1000};
const MapView kView(kCentre, 1000, kPixels);  // 2.5 m a pixel
const QColor kGrey(0x80, 0x80, 0x80), kRed(0xD0, 0, 0), kBlue(0, 0, 0xD0), kBlack(0, 0, 0);

// Line cases: the feature's `name` chooses them.
LayerStyle LineStyle() {
  return ParseLayerStyle({{"STYLE\\BY", "name"},
                          {"STYLE\\PEN\\COLOR", "#808080"},
                          {"STYLE\\PEN\\WIDTH", "2"},
                          {"STYLE\\CASE\\rail\\PEN\\COLOR", "#D00000"},
                          {"STYLE\\CASE\\rail\\PEN\\WIDTH", "8"},
                          {"STYLE\\CASE\\ferry\\PEN\\COLOR", "#0000D0"},
                          {"STYLE\\CASE\\ferry\\PEN\\WIDTH", "3"},
                          {"STYLE\\CASE\\ferry\\PEN\\PATTERN", "dash"}});
}

// A horizontal line across the middle of the view at map height y.
FixtureFeature Across(double y, const QString& name) { return {{{{700, y}, {1300, y}}}, name}; }

// A line's look in screen columns [100, 300) within 12 rows of screen row y: its width (the most
// pixels of the colour in a column) and whether some column has none (a dashed line).
struct Stroke {
  int width = 0;
  bool gaps = false;
};
Stroke Measure(const QImage& image, int y, QColor color) {
  Stroke s;
  for (int x = 100; x < 300; ++x) {
    const int n = CountPixels(image, QRect(x, y - 12, 1, 25), [&](QColor c) { return Near(c, color, 20); });
    s.width = std::max(s.width, n);
    s.gaps |= n == 0;
  }
  return s;
}

TEST(RenderCases, EachLineIsDrawnInItsCaseAndTheOthersInTheLayerStyle) {
  struct Case {
    const char* name;
    QColor color;
    int width;
    bool dashed;
  };
  const Case cases[] = {{"rail", kRed, 8, false},
                        {"ferry", kBlue, 3, true},
                        {"bus", kGrey, 2, false},
                        {"Rail", kGrey, 2, false}};  // values match exactly, capitals too
  std::vector<FixtureFeature> lines;
  for (std::size_t i = 0; i < std::size(cases); ++i)
    lines.push_back(Across(1150 - 100.0 * double(i), cases[i].name));
  const auto layer = MakeLayer("公交路线", kFeatureLine, lines, LineStyle());
  const QImage image = RenderToImage({layer.get()}, kView);
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const int y = kView.ToScreen(lines[i].parts[0][0]).toPoint().y();
    const Stroke s = Measure(image, y, cases[i].color);
    EXPECT_NEAR(s.width, cases[i].width, 1) << cases[i].name;
    EXPECT_EQ(s.gaps, cases[i].dashed) << cases[i].name;
  }
}

TEST(RenderCases, EveryCasingLiesUnderEveryPen) {
  LayerStyle style = ParseLayerStyle({{"STYLE\\BY", "name"},
                                      {"STYLE\\PEN\\COLOR", "#0000D0"},
                                      {"STYLE\\PEN\\WIDTH", "4"},
                                      {"STYLE\\CASE\\rail\\PEN\\COLOR", "#D00000"},
                                      {"STYLE\\CASE\\rail\\CASING\\COLOR", "#000000"},
                                      {"STYLE\\CASE\\rail\\CASING\\WIDTH", "16"}});
  // A plain line up the middle, drawn before the rail case's run that crosses it.
  const auto layer =
      MakeLayer("铁路", kFeatureLine, {{{{{1000, 700}, {1000, 1300}}}, "tram"}, Across(1000, "rail")}, style);
  const QImage image = RenderToImage({layer.get()}, kView);
  const QPoint crossing = kView.ToScreen(kCentre).toPoint();
  EXPECT_TRUE(Near(image.pixelColor(crossing + QPoint(0, 5)), kBlue))
      << "the rail's casing under the blue line where they cross";
  EXPECT_TRUE(Near(image.pixelColor(crossing + QPoint(60, 5)), kBlack)) << "the casing itself";
  EXPECT_TRUE(Near(image.pixelColor(crossing + QPoint(60, 0)), kRed));
  EXPECT_TRUE(Near(image.pixelColor(crossing), kRed)) << "the later run's pen on top";
}

TEST(RenderCases, RegionsAndPointsTakeTheirCasesBrushAndSymbol) {
  const LayerStyle style = ParseLayerStyle({{"STYLE\\BY", "name"},
                                            {"STYLE\\PEN\\PATTERN", "none"},
                                            {"STYLE\\BRUSH\\COLOR", "#808080"},
                                            {"STYLE\\SYMBOL\\COLOR", "#808080"},
                                            {"STYLE\\SYMBOL\\SIZE", "14"},
                                            {"STYLE\\CASE\\湖\\BRUSH\\COLOR", "#0000D0"},
                                            {"STYLE\\CASE\\地铁\\SYMBOL\\COLOR", "#D00000"}});
  struct Case {
    int type;
    const char* name;
    QColor color;
  };
  const Case cases[] = {{kFeatureRegion, "湖", kBlue},
                        {kFeatureRegion, "公园", kGrey},
                        {kFeaturePoint, "地铁", kRed},
                        {kFeaturePoint, "公交", kGrey}};
  for (const Case& c : cases) {
    const MapPoint at{900, 1000};
    const auto geometry = c.type == kFeaturePoint ? std::vector<MapPoint>{at} : Square(at.x, at.y, 40);
    const auto layer = MakeLayer("地物", c.type, {{{geometry}, c.name}}, style);
    const QImage image = RenderToImage({layer.get()}, kView);
    EXPECT_TRUE(Near(image.pixelColor(kView.ToScreen(at).toPoint()), c.color)) << c.name;
  }
}

TEST(RenderCases, TheSelectionIsDrawnInItsCaseWithAGlowAsWide) {
  const auto layer =
      MakeLayer("公交路线", kFeatureLine, {Across(1000, "bus"), Across(900, "rail")}, LineStyle());
  struct Case {
    int id;
    QColor color;
    int glow;  // the style's widest line + 8
  };
  for (const Case& c : {Case{1, kGrey, 10}, Case{2, kRed, 16}}) {
    layer->Selection().Replace(layer->FeatureForId(c.id));
    const QImage image = RenderToImage({layer.get()}, kView);
    const QPoint at = kView.ToScreen(layer->Store().Part(c.id, 0)[0]).toPoint() + QPoint(200, 0);
    EXPECT_TRUE(Near(image.pixelColor(at), c.color)) << c.id;
    const int glow =
        CountPixels(image, QRect(at.x(), at.y() - 15, 1, 31), [](QColor p) { return p != Qt::white; });
    EXPECT_NEAR(glow, c.glow, 2) << c.id;
  }
}

// Keys that give no feature a case of its own leave the picture as it was, byte for byte.
TEST(RenderCases, ALayerWithoutCasesForItsFeaturesIsDrawnAsBefore) {
  const QMap<QString, QString> base = {{"STYLE\\PEN\\COLOR", "#FFD24D"},
                                       {"STYLE\\PEN\\WIDTH", "6"},
                                       {"STYLE\\CASING\\COLOR", "#8A5A00"},
                                       {"STYLE\\CASING\\WIDTH", "10"},
                                       {"STYLE\\BRUSH\\COLOR", "#AAD3F2"},
                                       {"STYLE\\SYMBOL\\SIZE", "12"},
                                       {"LABEL\\FIELD", "name"}};
  const std::vector<QMap<QString, QString>> extras = {
      {{"STYLE\\CASE\\中山路\\PEN\\COLOR", "#FF0000"}},  // cases without STYLE\BY
      {{"STYLE\\BY", "name"}, {"STYLE\\CASE\\elsewhere\\PEN\\COLOR", "#FF0000"}},
      {{"STYLE\\BY", "mode"}, {"STYLE\\CASE\\中山路\\PEN\\COLOR", "#FF0000"}},  // a field the layer lacks
      {{"STYLE\\BY", "name"}},
      {{"STYLE\\BY", "name"}, {"STYLE\\CASE\\中山路\\LEGEND", "主干道"}},  // a case that changes nothing
  };
  const auto render = [](const QMap<QString, QString>& keys) {
    const LayerStyle style = ParseLayerStyle(keys);
    const auto regions = MakeLayer("水系", kFeatureRegion, {{{Square(900, 950, 80)}, "东湖"}}, style);
    const auto lines = MakeLayer("主干道", kFeatureLine,
                                 {Across(1000, "中山路"), {{{{1000, 700}, {1000, 1300}}}, "解放路"}}, style);
    const auto points = MakeLayer("公交站台", kFeaturePoint, {{{{{1100, 1100}}}, "北站"}}, style);
    lines->Selection().Replace(lines->FeatureForId(2));
    return RenderToImage({regions.get(), lines.get(), points.get()}, kView);
  };
  const QImage before = render(base);
  for (const auto& extra : extras) {
    QMap<QString, QString> keys = base;
    keys.insert(extra);
    EXPECT_TRUE(render(keys) == before) << extra.firstKey().toStdString();
  }
}

}  // namespace
