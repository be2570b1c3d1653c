#pragma once
// Which feature lies under a screen point of a map: what the point-select tool selects and what
// the hover tip names. A point feature within kPointPreferencePixels wins over whatever lies
// beneath it (the nearest such point); otherwise the topmost layer drawn at the view that has a
// feature there (points and lines within the map's pick tolerance, regions containing the point)
// gives its last feature in layer order, the one drawn on top.
#include <QPointF>
#include <optional>

class Layer;
class MapControl;

inline constexpr double kPointPreferencePixels = 5;

struct PickedFeature {
  Layer* layer = nullptr;
  int id = 0;
  bool preferredPoint = false;  // found by the point preference, not by the layer order
};

std::optional<PickedFeature> FeatureUnder(const MapControl& map, QPointF screen);
