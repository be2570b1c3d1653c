// Labels: placed without overlaps, clear of symbols, only below their zoom limit, along their
// streets and upright; and the screen geometry that places them.
#include <gtest/gtest.h>

#include <QLineF>

#include "map/render/ScreenGeometry.h"
#include "tests/map/RenderFixture.h"

namespace {

const QSize kPixels(600, 400);
const MapPoint kCentre{0, 0};

LayerStyle Labelled(double labelMax = std::numeric_limits<double>::infinity()) {
  LayerStyle style;
  style.labelField = QStringLiteral("name");
  style.labelSize = 9;
  style.labelMaxViewWidth = labelMax;
  style.symbolSize = 10;
  return style;
}

// A crowd of named points and streets that cannot all be labelled.
struct Crowd {
  std::unique_ptr<Layer> points, streets, districts;
};
Crowd MakeCrowd() {
  std::vector<FixtureFeature> points, streets;
  for (int i = 0; i < 15; ++i) {
    for (int j = 0; j < 10; ++j) {
      points.push_back(
          {{{{i * 80.0 - 600 + j % 3 * 7, j * 80.0 - 400}}}, QStringLiteral("%1号商店").arg(i * 10 + j)});
    }
  }
  for (int k = 0; k < 12; ++k) {
    const double at = k * 100.0 - 550;
    streets.push_back({{{{at, -500}, {at + 60, 500}}}, QStringLiteral("第%1街").arg(k)});
    streets.push_back({{{{-700, at}, {700, at - 80}}}, QStringLiteral("横%1路").arg(k)});
  }
  LayerStyle area = Labelled();
  area.labelSize = 16;
  area.brushColor = QColor(240, 238, 230);
  return {MakeLayer("points", kFeaturePoint, points, Labelled()),
          MakeLayer("streets", kFeatureLine, streets, Labelled()),
          MakeLayer("districts", kFeatureRegion, {{{Square(0, 0, 400)}, "鼓楼区"}}, area)};
}

TEST(RenderLabels, PlacedLabelsNeverOverlapAndAvoidSymbols) {
  const Crowd crowd = MakeCrowd();
  const MapView view(kCentre, 1200, kPixels);
  RenderStats stats;
  RenderToImage({crowd.districts.get(), crowd.streets.get(), crowd.points.get()}, view, &stats);
  ASSERT_GT(stats.labels.size(), 20u);
  EXPECT_LT(stats.labels.size(), 150u + 24u) << "a crowd this dense cannot all be labelled";
  for (size_t a = 0; a < stats.labels.size(); ++a) {
    for (const QRectF& box : stats.labels[a].boxes) {
      EXPECT_TRUE(QRectF(QPointF(0, 0), QSizeF(kPixels)).contains(box)) << "inside the image";
      for (size_t b = a + 1; b < stats.labels.size(); ++b) {
        for (const QRectF& other : stats.labels[b].boxes) {
          ASSERT_FALSE(box.intersects(other))
              << stats.labels[a].text.toStdString() << " overlaps " << stats.labels[b].text.toStdString();
        }
      }
      // No label covers a point symbol (10 pixels across).
      for (const Feature& f : crowd.points->ListFeatures()) {
        const QPointF s = view.ToScreen(f.Center());
        ASSERT_FALSE(box.intersects(QRectF(s - QPointF(5, 5), QSizeF(10, 10))))
            << stats.labels[a].text.toStdString() << " covers a symbol";
      }
    }
  }
}

TEST(RenderLabels, LabelsOnlyUpToTheirZoomLimit) {
  const auto layer = MakeLayer("banks", kFeaturePoint,
                               {{{{{0, 0}}}, "工商银行"}, {{{{300, 100}}}, "农业银行"}}, Labelled(2000));
  struct Case {
    double width;
    size_t labels;
  };
  for (const Case c : {Case{1000, 2}, Case{2000, 2}, Case{2000.5, 0}}) {
    RenderStats stats;
    RenderToImage({layer.get()}, MapView(kCentre, c.width, kPixels), &stats);
    EXPECT_EQ(stats.labels.size(), c.labels) << c.width;
    EXPECT_EQ(stats.featuresDrawn, 2) << "the symbols stay";
  }
}

TEST(RenderLabels, StreetNamesFollowTheirStreetAndReadUpright) {
  // Screen: 1 metre a pixel, origin at the centre of a 600 x 400 image.
  struct Case {
    const char* what;
    std::vector<MapPoint> line;
    bool horizontal;  // letters left to right along y = const; else top to bottom along x = const
  };
  const Case cases[] = {
      {"west to east", {{-250, 50}, {250, 50}}, true},
      {"east to west", {{250, 50}, {-250, 50}}, true},
      {"south to north", {{-100, -180}, {-100, 180}}, false},
      {"north to south", {{-100, 180}, {-100, -180}}, false},
  };
  const MapView view(kCentre, 600, kPixels);
  for (const Case& c : cases) {
    const auto layer = MakeLayer("streets", kFeatureLine, {{{c.line}, "解放路"}}, Labelled());
    RenderStats stats;
    RenderToImage({layer.get()}, view, &stats);
    ASSERT_EQ(stats.labels.size(), 1u) << c.what;
    const std::vector<QRectF>& letters = stats.labels[0].boxes;
    ASSERT_EQ(letters.size(), 3u) << "one box a letter";
    const QPointF onLine = view.ToScreen(c.line.front());
    for (const QRectF& letter : letters) {
      EXPECT_NEAR(c.horizontal ? letter.center().y() : letter.center().x(),
                  c.horizontal ? onLine.y() : onLine.x(), 1.0)
          << c.what;
    }
    const QPointF first = letters.front().center(), last = letters.back().center();
    if (c.horizontal)
      EXPECT_LT(first.x(), last.x()) << c.what << ": reads left to right";
    else
      EXPECT_LT(first.y(), last.y()) << c.what << ": reads top to bottom";
  }
}

TEST(RenderLabels, LongStreetsRepeatTheirNameSpacedApart) {
  const auto layer =
      MakeLayer("streets", kFeatureLine, {{{{{-2000, 0}, {2000, 0}}}, "长江大道"}}, Labelled());
  RenderStats stats;
  RenderToImage({layer.get()}, MapView(kCentre, 1400, QSize(1400, 300)), &stats);
  ASSERT_GE(stats.labels.size(), 2u);
  for (size_t a = 1; a < stats.labels.size(); ++a) {
    const double gap =
        QLineF(stats.labels[a - 1].boxes.front().center(), stats.labels[a].boxes.front().center()).length();
    EXPECT_GT(gap, 250);
  }
}

TEST(ScreenGeometry, ClipPolylineKeepsThePiecesInside) {
  const QRectF rect(0, 0, 100, 100);
  struct Case {
    QPolygonF line;
    std::vector<QPolygonF> pieces;
  };
  const Case cases[] = {
      {QPolygonF({{-50, 50}, {150, 50}}), {QPolygonF({{0, 50}, {100, 50}})}},
      {QPolygonF({{10, 10}, {90, 10}, {90, 90}}), {QPolygonF({{10, 10}, {90, 10}, {90, 90}})}},
      {QPolygonF({{50, 50}, {50, 150}, {60, 150}, {60, 50}}),
       {QPolygonF({{50, 50}, {50, 100}}), QPolygonF({{60, 100}, {60, 50}})}},
      {QPolygonF({{-10, -10}, {-10, 200}}), {}},
  };
  for (const Case& c : cases) EXPECT_EQ(ClipPolyline(c.line, rect), c.pieces);
}

TEST(ScreenGeometry, LabelPointLiesInsideConcaveRings) {
  // A U whose centroid falls in the gap between its arms, a square, and a sliver along the edge.
  const QPolygonF u({{0, 0}, {100, 0}, {100, 100}, {70, 100}, {70, 20}, {30, 20}, {30, 100}, {0, 100}});
  const QPolygonF square({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
  // A moat: a square ring around a square hole that holds the centroid.
  const QPolygonF hole({{20, 20}, {80, 20}, {80, 80}, {20, 80}});
  const QPolygonF outer({{0, 0}, {100, 0}, {100, 100}, {0, 100}});
  const std::vector<std::vector<QPolygonF>> regions = {{u}, {square}, {outer, hole}};
  for (const auto& rings : regions) {
    QPointF at;
    ASSERT_TRUE(LabelPoint(rings, at));
    const int containing = int(std::count_if(rings.begin(), rings.end(), [&](const QPolygonF& r) {
      return r.containsPoint(at, Qt::OddEvenFill);
    }));
    EXPECT_EQ(containing % 2, 1) << at.x() << "," << at.y();
  }
  QPointF unused;
  EXPECT_FALSE(LabelPoint({QPolygonF({{0, 0}, {10, 0}, {20, 0}})}, unused)) << "no area";
}

TEST(ScreenGeometry, RingClippedToTheScreen) {
  const QPolygonF big({{-100, -100}, {300, -100}, {300, 300}, {-100, 300}});
  EXPECT_EQ(ClipRing(big, QRectF(0, 0, 200, 100)).boundingRect(), QRectF(0, 0, 200, 100));
  EXPECT_TRUE(ClipRing(QPolygonF({{500, 500}, {600, 500}, {600, 600}}), QRectF(0, 0, 200, 100)).isEmpty());
}

}  // namespace
