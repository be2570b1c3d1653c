// The ways Qt can draw the synthetic set's 100,000 lines at 1920 x 1080, antialiased, to choose the
// renderer's: range(0) is the width in hundredths of a pixel.
//   Polylines:   drawPolyline per line (joins drawn once)
//   Segments:    one drawLines call with every segment (square caps)
//   QuadFill:    every segment as a quad with square ends, all filled as one winding path
// and, for the renderer's choice between Qt's stroker and the coverage mask, both on random walks of
// segments range(0) pixels long, range(1) tenths of a pixel wide, 2 million pixels of line in all,
// turning at any angle or, when range(2) is 1, only along the screen's axes as a street grid does.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "SyntheticCity.h"
#include "map/render/CoverageMask.h"
#include "map/render/ScreenGeometry.h"

namespace {

const std::vector<QPolygonF>& ScreenLines() {
  static const std::vector<QPolygonF> lines = [] {
    const SyntheticCity city = MakeSyntheticCity(1, 1);
    const FeatureStore& store = city.layers[1]->Store();
    const ScreenTransform xf = ScreenTransform::Of(SyntheticView());
    std::vector<QPolygonF> out;
    QPolygonF line;
    for (int id = 1; id <= store.IdLimit(); ++id) {
      ToScreen(store.Part(id, 0), xf, 0.5, line);
      out.push_back(line);
    }
    return out;
  }();
  return lines;
}

enum class Way { Polylines, Segments, QuadFill };

void Stroke(benchmark::State& state, Way way) {
  const double width = double(state.range(0)) / 100;
  const std::vector<QPolygonF>& lines = ScreenLines();
  QImage image(SyntheticView().Pixels(), QImage::Format_ARGB32_Premultiplied);
  std::vector<QLineF> segments;
  const QColor color(0x33, 0xA0, 0x2C);
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    if (way == Way::Polylines) {
      painter.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      for (const QPolygonF& line : lines) painter.drawPolyline(line);
    } else if (way == Way::Segments) {
      painter.setPen(QPen(color, width, Qt::SolidLine, Qt::SquareCap, Qt::RoundJoin));
      segments.clear();
      for (const QPolygonF& line : lines)
        for (qsizetype i = 1; i < line.size(); ++i) segments.emplace_back(line[i - 1], line[i]);
      painter.drawLines(segments.data(), int(segments.size()));
    } else {
      QPainterPath quads;
      quads.setFillRule(Qt::WindingFill);
      const double h = width / 2;
      for (const QPolygonF& line : lines) {
        for (qsizetype i = 1; i < line.size(); ++i) {
          const QPointF a = line[i - 1], b = line[i], d = b - a;
          const double len = std::hypot(d.x(), d.y());
          if (len == 0) continue;
          const QPointF u = d * (h / len), n(-u.y(), u.x());
          const QPointF p0 = a - u + n, p1 = b + u + n, p2 = b + u - n, p3 = a - u - n;
          quads.moveTo(p0);
          quads.lineTo(p1);
          quads.lineTo(p2);
          quads.lineTo(p3);
          quads.closeSubpath();
        }
      }
      painter.fillPath(quads, color);
    }
  }
}

void BM_Polylines(benchmark::State& state) { Stroke(state, Way::Polylines); }
void BM_Segments(benchmark::State& state) { Stroke(state, Way::Segments); }
void BM_QuadFill(benchmark::State& state) { Stroke(state, Way::QuadFill); }

// Random walks over the screen whose segments are all `step` pixels long, as a view shows a city's
// streets: short segments at a full extent, long ones zoomed in.
std::vector<QPolygonF> Walks(double step, bool grid) {
  std::vector<QPolygonF> walks;
  std::uint32_t seed = 7;
  const auto next = [&seed] { return (seed = seed * 1664525u + 1013904223u) / 4294967296.0; };
  const int pointsPerWalk = 20, walkCount = int(2e6 / (step * (pointsPerWalk - 1)));
  for (int w = 0; w < walkCount; ++w) {
    QPolygonF walk{QPointF(next() * 1920, next() * 1080)};
    for (int i = 1; i < pointsPerWalk; ++i) {
      // Turned back at the screen's edges, so that every pixel of line is drawn.
      QPointF to;
      do {
        const double angle = grid ? std::floor(next() * 4) * M_PI / 2 : next() * 2 * M_PI;
        to = walk.back() + QPointF(std::cos(angle), std::sin(angle)) * step;
      } while (!QRectF(0, 0, 1920, 1080).contains(to));
      walk << to;
    }
    walks.push_back(walk);
  }
  return walks;
}

void BM_StrokerBySegmentLength(benchmark::State& state) {
  const std::vector<QPolygonF> walks = Walks(double(state.range(0)), state.range(2) == 1);
  QImage image(1920, 1080, QImage::Format_ARGB32_Premultiplied);
  std::vector<QLineF> segments;
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x33, 0xA0, 0x2C), double(state.range(1)) / 10, Qt::SolidLine, Qt::SquareCap,
                        Qt::RoundJoin));
    segments.clear();
    for (const QPolygonF& walk : walks)
      for (qsizetype i = 1; i < walk.size(); ++i) segments.emplace_back(walk[i - 1], walk[i]);
    painter.drawLines(segments.data(), int(segments.size()));
  }
}

void BM_MaskBySegmentLength(benchmark::State& state) {
  const std::vector<QPolygonF> walks = Walks(double(state.range(0)), state.range(2) == 1);
  QImage image(1920, 1080, QImage::Format_ARGB32_Premultiplied);
  CoverageMask mask;
  for (auto _ : state) {
    image.fill(Qt::white);
    mask.Reset(image.size());
    for (const QPolygonF& walk : walks) mask.AddPolyline(walk, double(state.range(1)) / 20);
    mask.Composite(image, QColor(0x33, 0xA0, 0x2C));
  }
}

BENCHMARK(BM_Polylines)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Segments)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuadFill)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StrokerBySegmentLength)
    ->ArgsProduct({{2, 8, 32, 128}, {22, 36, 54, 74}, {0, 1}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MaskBySegmentLength)
    ->ArgsProduct({{2, 8, 32, 128}, {22, 36, 54, 74}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

}  // namespace
