// The drawing at scale: bands drawn on several threads make the picture one thread makes; wide lines
// laid through the coverage mask match Qt's stroker; widths just over a pixel are drawn as one pixel;
// frames drawn off the calling thread come from the snapshot taken when they were asked for.
#include <gtest/gtest.h>

#include <QPainter>
#include <future>
#include <random>
#include <thread>

#include "map/render/LineStroker.h"
#include "map/render/RenderWorker.h"
#include "tests/map/RenderFixture.h"

namespace {

const QSize kPixels(640, 480);
const MapView kView({5000, 5000}, 10000, kPixels);

// Pixels that differ by more than `levels` in some channel.
int Differing(const QImage& a, const QImage& b, int levels) {
  int count = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
      count += std::abs(p.red() - q.red()) > levels || std::abs(p.green() - q.green()) > levels ||
               std::abs(p.blue() - q.blue()) > levels;
    }
  return count;
}

// Random walks over the view, points and squares: enough features in view for the bands. With
// cases, a third of the walks and points are drawn in each of two style cases of their name.
std::vector<std::unique_ptr<Layer>> BusyLayers(double lineWidth, bool cases) {
  std::mt19937 gen(7);
  std::uniform_real_distribution<double> at(-200, 10200), turn(-0.6, 0.6);
  std::vector<FixtureFeature> walks, points, squares;
  for (int i = 0; i < 12000; ++i) {
    std::vector<MapPoint> walk;
    double x = at(gen), y = at(gen), a = turn(gen) * 10;
    for (int k = 0; k < 6; ++k, a += turn(gen))
      walk.push_back({x += 40 * std::cos(a), y += 40 * std::sin(a)});
    const QString name = QString::number(i % 3);
    walks.push_back({{walk}, name});
    points.push_back({{{{at(gen), at(gen)}}}, name});
    if (i % 20 == 0) squares.push_back({{Square(at(gen), at(gen), 60)}, ""});
  }
  LayerStyle area, line, point;
  area.brushColor = QColor(166, 206, 227);
  area.penColor = QColor(40, 90, 160);
  line.penColor = QColor(51, 160, 44);
  line.penWidth = lineWidth;
  line.casingColor = QColor(20, 20, 20, 160);
  line.casingWidth = lineWidth + 2;
  point.symbolSize = 4;
  if (cases) {
    line.caseField = point.caseField = QStringLiteral("name");
    line.cases = {{"1", {}, line}, {"2", {}, line}};
    line.cases[0].style.penColor = QColor(200, 30, 30);
    line.cases[1].style.casingColor = QColor();
    line.cases[1].style.penWidth = lineWidth + 1;
    point.cases = {{"2", {}, point}};
    point.cases[0].style.symbolColor = QColor(30, 30, 200);
  }
  std::vector<std::unique_ptr<Layer>> layers;
  layers.push_back(MakeLayer("areas", kFeatureRegion, squares, area));
  layers.push_back(MakeLayer("walks", kFeatureLine, walks, line));
  layers.push_back(MakeLayer("points", kFeaturePoint, points, point));
  return layers;
}

QImage Render(const std::vector<std::unique_ptr<Layer>>& layers, int bands, RenderStats* stats) {
  std::vector<const Layer*> order;
  for (const auto& l : layers) order.push_back(l.get());
  QImage image(kPixels, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  QPainter painter(&image);
  MapRenderer renderer;
  renderer.SetBands(bands);
  *stats = renderer.Render(painter, order, kView);
  return image;
}

TEST(RenderBands, BandsOnSeveralThreadsDrawTheSinglePicture) {
  for (const bool cases : {false, true}) {
    for (const double width : {1.0, 3.0}) {
      const auto layers = BusyLayers(width, cases);
      RenderStats one, three;
      const QImage single = Render(layers, 1, &one), banded = Render(layers, 3, &three);
      EXPECT_EQ(three.featuresDrawn, one.featuresDrawn) << width << " " << cases;
      EXPECT_LE(Differing(single, banded, 2), 0) << width << " " << cases;
    }
  }
}

// Streets as random walks of gentle turns, or of right angles as on a grid, stroked through the mask
// and through Qt's stroker (which a clipped painter takes). They differ only where Qt's square caps
// stick out of the bends and where two lines' soft edges cross (Qt blends them twice, the mask keeps
// the stronger): a few in a hundred pixels of this dense tangle, none along the lines.
TEST(RenderBands, MaskedWideLinesMatchQtsStroker) {
  constexpr int kSide = 1200;  // room for a city-sized batch of lines, as dense as streets
  const auto streets = [](bool grid) {
    std::mt19937 gen(3);
    std::uniform_real_distribution<double> at(0, kSide), turn(-0.6, 0.6);
    PolylineBatch lines;
    for (int i = 0; i < 3000; ++i) {
      QPolygonF line{QPointF(at(gen), at(gen))};
      double a = grid ? 0 : turn(gen) * 10;
      for (int k = 0; k < 5; ++k, a += grid ? M_PI / 2 * (turn(gen) > 0 ? 1 : -1) : turn(gen))
        line.append(line.last() + QPointF(std::round(20 * std::cos(a)), std::round(20 * std::sin(a))));
      lines.Add(line);
    }
    return lines;
  };
  const PolylineBatch gentle = streets(false), gridded = streets(true);
  ASSERT_GE(gentle.Points(), LineStroker::kMaskFromPoints) << "enough points to go through the mask";
  const struct {
    double width;
    QColor color;
    const PolylineBatch& lines;
  } cases[] = {{2, QColor(51, 160, 44), gentle},
               {3.5, QColor(200, 30, 30), gentle},
               {8, QColor(20, 20, 120, 128), gentle},
               {2.2, QColor(51, 160, 44), gridded},
               {7.4, QColor(20, 20, 120, 128), gridded}};
  for (const auto& c : cases) {
    QImage images[2];
    for (int qt = 0; qt < 2; ++qt) {
      images[qt] = QImage(kSide, kSide, QImage::Format_ARGB32_Premultiplied);
      images[qt].fill(Qt::white);
      QPainter painter(&images[qt]);
      painter.setRenderHint(QPainter::Antialiasing);
      if (qt) painter.setClipRect(images[qt].rect());
      StrokeBuffers buffers;
      LineStroker(painter, images[qt].rect(), buffers).Stroke(c.lines, c.color, c.width, Qt::SolidLine);
    }
    QImage blank(kSide, kSide, QImage::Format_ARGB32_Premultiplied);
    blank.fill(Qt::white);
    EXPECT_GT(Differing(images[0], blank, 16), 4000) << "lines were drawn";
    EXPECT_LE(Differing(images[0], images[1], 16), kSide * kSide / 200) << c.width;  // at most 0.5 %
  }
}

TEST(RenderBands, WidthsJustOverAPixelAreDrawnAsOne) {
  const struct {
    double width, drawn;
  } cases[] = {{0.8, 0.8}, {1.0, 1.0}, {1.1, 1.0}, {1.25, 1.0}, {1.3, 1.3}, {2.0, 2.0}};
  for (const auto& c : cases) EXPECT_EQ(LineStroker::DrawnWidth(c.width), c.drawn) << c.width;
}

TEST(RenderBands, FramesAreDrawnOffTheCallingThreadFromTheSnapshotTakenWhenAsked) {
  auto layer = MakeLayer("marks", kFeaturePoint, {{{{{2000, 5000}}}, ""}}, {}, true);
  std::promise<std::pair<RenderedFrame, std::thread::id>> delivered;
  RenderWorker worker([&](RenderedFrame frame) {
    delivered.set_value({std::move(frame), std::this_thread::get_id()});
  });
  worker.Request(Snapshots({layer.get()}), kView, 1);
  // An edit right after the request goes to a copy of the layer's content: the frame has one symbol.
  layer->InsertFeature(Feature(kFeaturePoint, {{8000, 5000}}, FeatureStyle()));
  auto [frame, thread] = delivered.get_future().get();
  EXPECT_NE(thread, std::this_thread::get_id());
  const auto inked = [](QColor c) { return c != Qt::white; };
  const QPointF asked = kView.ToScreen({2000, 5000}), later = kView.ToScreen({8000, 5000});
  EXPECT_GT(CountPixels(frame.image, QRect(asked.toPoint() - QPoint(20, 20), QSize(40, 40)), inked), 0);
  EXPECT_EQ(CountPixels(frame.image, QRect(later.toPoint() - QPoint(20, 20), QSize(40, 40)), inked), 0);
  EXPECT_EQ(layer->Store().Count(), 2);
}

}  // namespace
