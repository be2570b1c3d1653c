#include "map/Renderer.h"

#include "map/ScaleBar.h"
#include "map/render/LayerPainter.h"

namespace {

constexpr double kQueryMargin = 24;  // pixels around the view whose features may reach into it

std::vector<int> IdsToDraw(const Layer& layer, const MapView& view) {
  const MapRect e = view.Extent();
  const double m = kQueryMargin * view.PixelSize();
  return layer.IdsIn({e.minX - m, e.minY - m, e.maxX + m, e.maxY + m});
}

}  // namespace

RenderStats MapRenderer::Render(QPainter& painter, const std::vector<const Layer*>& bottomToTop,
                                const MapView& view, const RenderOptions& options) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  if (options.background.isValid()) painter.fillRect(QRect(QPoint(0, 0), view.Pixels()), options.background);

  RenderStats stats;
  LayerPainter layers(painter, view, sprites_, layerImage_);
  std::vector<LayerLabels> labels(bottomToTop.size());
  std::vector<QRectF> obstacles;
  for (size_t i = 0; i < bottomToTop.size(); ++i) {
    const Layer& layer = *bottomToTop[i];
    if (layer.IsTemporary() || !layer.IsDrawnAt(view.Width())) continue;
    stats.featuresDrawn +=
        layers.Draw(layer, IdsToDraw(layer, view), options.labels ? &labels[i] : nullptr, &obstacles);
  }

  // A selection is drawn at any width, also where its layer's display limit hides the rest of it:
  // what the program has just found and selected must show.
  const MapRect e = view.Extent();
  for (const Layer* layer : bottomToTop) {
    if (layer->IsTemporary() || !layer->Visible() || layer->Selection().Count() == 0) continue;
    std::vector<int> visible;
    for (int id : layer->Selection().Ids()) {
      const MapRect b = layer->Store().BoundsOf(id);
      if (b.maxX >= e.minX && b.minX <= e.maxX && b.maxY >= e.minY && b.minY <= e.maxY) visible.push_back(id);
    }
    layers.DrawHighlight(*layer, visible);
  }

  if (options.labels) {
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

  for (const Layer* layer : bottomToTop) {
    if (!layer->IsTemporary() || !layer->IsDrawnAt(view.Width())) continue;
    stats.featuresDrawn += layers.Draw(*layer, IdsToDraw(*layer, view), nullptr, nullptr);
  }
  if (options.scaleBar) DrawScaleBar(painter, view);
  painter.restore();
  return stats;
}

