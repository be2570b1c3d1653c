#include "mapwidgets/FeaturePick.h"

#include <cmath>

#include "mapwidgets/MapControl.h"

std::optional<PickedFeature> FeatureUnder(const MapControl& map, QPointF screen) {
  const MapPoint p = map.ScreenToMap(screen.x(), screen.y());
  const std::vector<Layer*> layers = map.SelectableLayers();

  std::optional<PickedFeature> nearest;
  double best = kPointPreferencePixels * map.View().PixelSize();
  for (Layer* layer : layers) {
    for (int id : layer->IdsAtPoint(p, best)) {
      const FeatureStore& store = layer->Store();
      if (store.TypeOf(id) != kFeaturePoint || store.PartCount(id) == 0 || store.Part(id, 0).empty())
        continue;
      const MapPoint at = store.Part(id, 0).front();
      const double d = std::hypot(at.x - p.x, at.y - p.y);
      if (d > best || (nearest && d == best)) continue;
      best = d;
      nearest = PickedFeature{layer, id, true};
    }
  }
  if (nearest) return nearest;

  for (Layer* layer : layers) {
    const std::vector<int> ids = layer->IdsAtPoint(p, map.PickTolerance());
    if (!ids.empty()) return PickedFeature{layer, ids.back(), false};
  }
  return std::nullopt;
}
