#include "map/MapReach.h"

#include <algorithm>
#include <cmath>

std::optional<MapRect> LayersExtent(const std::vector<const Layer*>& layers) {
  std::optional<MapRect> extent;
  for (const Layer* layer : layers) {
    const SpatialIndex& index = layer->Content()->index;
    if (layer->IsTemporary() || index.Size() == 0) continue;
    extent = extent ? extent->United(index.Extent()) : index.Extent();
  }
  return extent;
}

bool WithinReach(const std::optional<MapRect>& extent, MapPoint p) {
  if (!extent || !std::isfinite(p.x) || !std::isfinite(p.y)) return false;
  // A gap is 0 where p lies within the extent's span on that axis; a huge one makes inf, refused.
  const double dx = std::max({extent->minX - p.x, 0.0, p.x - extent->maxX});
  const double dy = std::max({extent->minY - p.y, 0.0, p.y - extent->maxY});
  return std::hypot(dx, dy) <= kMapReachMetres;
}
