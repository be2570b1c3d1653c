#pragma once
// Map feature functions: show a found feature, place the position marker, find the nearest
// feature, frame a feature and a point, draw the main view on the overview. They keep no state
// and work through the map's operations. Coordinates and distances: metres in the map CRS.
#include <QString>
#include <vector>

#include "map/Feature.h"
#include "map/Layer.h"
#include "map/MapTypes.h"
#include "mapwidgets/MapControl.h"

// The style of the position marker: a small red flag bitmap, "GOLF1-32.BMP", size 12.
FeatureStyle MarkerStyle();

// The city's layers from the top down: every layer but the one at position 1, which holds the
// position marker.
std::vector<Layer*> LayersBelowMarker(const MapControl& map);

// Finds the first feature of layerName whose field equals value exactly, brings it into view (a
// point: width 1000 m centred on it; otherwise its bounds) and makes it the map's only selected
// feature. False, with nothing changed, when there is no such layer, field or feature.
bool LocateFeature(MapControl& map, const QString& layerName, const QString& fieldName, const QString& value);

// Replaces the marker (the nameless feature) of layer by one at x, y and redraws.
void PlaceMarker(MapControl& map, Layer& layer, double x, double y);

// The outcome of a nearest search: the feature itself, its name and its planar distance from
// the point; or ok false with a reason (no such layer, no features) the caller can show.
struct NearestResult {
  bool ok = false;
  Feature feature;
  QString name;
  double distance = 0;
  QString reason;
};

// The feature of layerName whose centre lies nearest (x, y); of equal distances the earliest in
// the layer. Clears every selection and selects, as a new selection, what lies at that
// feature's centre.
NearestResult NearestFeatureName(MapControl& map, const QString& layerName, double x, double y);

// Fits the map's view around the feature centre (fx, fy) with a margin of the whole span on its
// side and the point (cx, cy) with a tenth on its side. spanRect and viewRect receive the span
// and the chosen view. Where the two share an x or y, that axis gets the other's extent (at
// least 100 m) centred on the shared value.
void FrameFeatureAndPoint(MapControl& map, MapRect& spanRect, MapRect& viewRect, double fx, double fy,
                          double cx, double cy);

// Draws the main map's view on the overview's frame layer: a hollow red rectangle when the
// layer is empty, else the rectangle and a red cross hair through its centre across the overview.
void DrawViewFrame(MapControl& mainMap, MapControl& overview, Layer& frameLayer);
