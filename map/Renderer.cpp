#include "map/Renderer.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <thread>

#include "map/ScaleBar.h"

namespace {

constexpr double kQueryMargin = 24;             // pixels around the view whose features may reach into it
constexpr std::size_t kBandedFeatures = 20000;  // fewer features in view: one thread is quicker
constexpr int kMaxBands = 4;

// The map rectangle of screen rows [top, bottom) of the view, widened by the query margin.
MapRect RowsExtent(const MapView& view, double top, double bottom) {
  const MapRect e = view.Extent();
  const double pixel = view.PixelSize(), m = kQueryMargin * pixel;
  return {e.minX - m, e.maxY - bottom * pixel - m, e.maxX + m, e.maxY - top * pixel + m};
}

bool Labelled(const LayerSnapshot& layer, const MapView& view) {
  return !layer.Style().labelField.isEmpty() && view.Width() <= layer.Style().labelMaxViewWidth;
}

// The image the painter draws straight into, when bands of it can be drawn on their own: no clip, no
// transform, a whole-number pixel ratio, a format the stroker writes into.
QImage* BandableImage(QPainter& painter) {
  QPaintDevice* device = painter.device();
  if (!device || device->devType() != QInternal::Image || painter.hasClipping() ||
      !painter.transform().isIdentity() || painter.opacity() != 1 ||
      painter.compositionMode() != QPainter::CompositionMode_SourceOver)
    return nullptr;
  auto* image = static_cast<QImage*>(device);
  const qreal ratio = image->devicePixelRatio();
  return ratio == std::floor(ratio) && CoverageMask::Supports(*image) ? image : nullptr;
}

}  // namespace

MapRenderer::MapRenderer() {
  SetBands(int(std::min<unsigned>(kMaxBands, std::max(1u, std::thread::hardware_concurrency()))));
}

void MapRenderer::SetBands(int bands) {
  bands_ = std::clamp(bands, 1, kMaxBands);
  buffers_.resize(std::size_t(bands_));
}

RenderStats MapRenderer::Render(QPainter& painter, const std::vector<const Layer*>& bottomToTop,
                                const MapView& view, const RenderOptions& options) {
  return Render(painter, Snapshots(bottomToTop), view, options);
}

RenderStats MapRenderer::Render(QPainter& painter, const std::vector<LayerSnapshot>& bottomToTop,
                                const MapView& view, const RenderOptions& options,
                                const std::atomic<bool>* cancel) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  if (options.background.isValid()) painter.fillRect(QRect(QPoint(0, 0), view.Pixels()), options.background);

  std::vector<const LayerSnapshot*> drawn;
  bool labelling = false;
  std::size_t inView = 0;
  // A view width of 0 is within every display limit.
  const double limitWidth = options.displayLimits ? view.Width() : 0;
  for (const LayerSnapshot& layer : bottomToTop) {
    if (layer.IsTemporary() || !layer.IsDrawnAt(limitWidth)) continue;
    drawn.push_back(&layer);
    labelling |= options.labels && Labelled(layer, view);
  }
  // Labelled drawings stay on one thread; for the others, the features in view decide.
  for (std::size_t i = 0; !labelling && bands_ > 1 && i < drawn.size(); ++i) {
    drawn[i]->IdsIn(RowsExtent(view, 0, view.Pixels().height()), ids_);
    inView += ids_.size();
  }

  RenderStats stats;
  LayerPainter layers(painter, view, buffers_[0], cancel);
  const MapRect all = RowsExtent(view, 0, view.Pixels().height());
  // Labels avoid the symbols drawn, so the boxes are gathered only when something is labelled.
  std::vector<LayerLabels> labels(labelling ? drawn.size() : 0);
  std::vector<QRectF> obstacles;
  if (!labelling && bands_ > 1 && inView >= kBandedFeatures && BandableImage(painter)) {
    stats.featuresDrawn = DrawBands(painter, drawn, view, bands_, cancel);
  } else {
    for (std::size_t i = 0; i < drawn.size(); ++i) {
      drawn[i]->IdsIn(all, ids_);
      stats.featuresDrawn +=
          layers.Draw(*drawn[i], ids_, labelling ? &labels[i] : nullptr, labelling ? &obstacles : nullptr);
    }
  }

  // A selection is drawn at any width, also where its layer's display limit hides the rest of it:
  // what the program has just found and selected must show.
  const MapRect e = view.Extent();
  for (const LayerSnapshot& layer : bottomToTop) {
    if (layer.IsTemporary() || !layer.Visible() || layer.SelectedIds().empty()) continue;
    std::vector<int> visible;
    for (int id : layer.SelectedIds()) {
      const MapRect b = layer.Store().BoundsOf(id);
      if (b.maxX >= e.minX && b.minX <= e.maxX && b.maxY >= e.minY && b.minY <= e.maxY) visible.push_back(id);
    }
    layers.DrawHighlight(layer, visible);
  }

  if (labelling) {
    Labeler labeler(painter, text_, labelSprites_, view.Pixels());
    for (const QRectF& box : obstacles) labeler.AddObstacle(box);
    // District and water names first, then streets, then the names of points; within each kind the
    // upper layer goes first.
    for (auto it = labels.rbegin(); it != labels.rend(); ++it) {
      for (const AreaLabel& l : it->areas) labeler.Place(l);
    }
    for (auto it = labels.rbegin(); it != labels.rend(); ++it) {
      for (const LineLabel& l : it->lines) labeler.Place(l);
    }
    for (auto it = labels.rbegin(); it != labels.rend(); ++it) {
      for (const PointLabel& l : it->points) labeler.Place(l);
    }
    stats.labels = labeler.Placed();
  }

  for (const LayerSnapshot& layer : bottomToTop) {
    if (!layer.IsTemporary() || !layer.IsDrawnAt(limitWidth)) continue;
    layer.IdsIn(all, ids_);
    stats.featuresDrawn += layers.Draw(layer, ids_, nullptr, nullptr);
  }
  if (options.scaleBar) DrawScaleBar(painter, view);
  painter.restore();
  return stats;
}

int MapRenderer::DrawBands(QPainter& painter, const std::vector<const LayerSnapshot*>& layers,
                           const MapView& view, int bands, const std::atomic<bool>* cancel) {
  QImage& image = *BandableImage(painter);
  const int ratio = int(image.devicePixelRatio());
  const int height = view.Pixels().height();
  std::vector<int> drawn(std::size_t(bands), 0);
  const auto drawBand = [&](int band) {
    const int top = height * band / bands, bottom = height * (band + 1) / bands;
    if (bottom <= top) return;
    // A view of the band's rows of the image, drawn through with the screen shifted up to it.
    QImage rows(image.bits() + std::size_t(top) * std::size_t(ratio) * std::size_t(image.bytesPerLine()),
                image.width(), (bottom - top) * ratio, image.bytesPerLine(), image.format());
    rows.setDevicePixelRatio(ratio);
    QPainter bandPainter(&rows);
    bandPainter.setRenderHints(painter.renderHints());
    bandPainter.translate(0, -top);
    LayerPainter layerPainter(bandPainter, view, buffers_[std::size_t(band)], cancel);
    layerPainter.CountOnlyFrom(top, band + 1 == bands ? std::numeric_limits<int>::max() : bottom);
    std::vector<int> ids;
    for (const LayerSnapshot* layer : layers) {
      layer->IdsIn(RowsExtent(view, top, bottom), ids);
      drawn[std::size_t(band)] += layerPainter.Draw(*layer, ids, nullptr, nullptr);
    }
  };
  std::vector<std::thread> threads;
  for (int band = 1; band < bands; ++band) threads.emplace_back(drawBand, band);
  drawBand(0);
  for (std::thread& t : threads) t.join();
  int total = 0;
  for (int n : drawn) total += n;
  return total;
}
