#include "mapwidgets/modMapFunction.h"

#include <algorithm>

namespace {

constexpr double kLocatedPointViewWidth = 1000;  // metres around a located point
constexpr double kMinFrameSpan = 100;            // metres, for an axis the two framed points share
constexpr quint32 kFrameRed = 255;

// The view's extent along one axis: the feature's side gets a whole span of margin, the point's
// side a tenth. first is the corner on the feature's side, second the one on the point's side.
void FrameAxis(double f, double c, double& first, double& second) {
  const double span = std::abs(f - c);
  const double away = f < c ? -1 : 1;  // direction from the point towards the feature
  first = f + away * span;
  second = c - away * span / 10;
}

}  // namespace

FeatureStyle MarkerStyle() {
  FeatureStyle style;
  style.SymbolType = 1;
  style.SymbolBitmapName = QStringLiteral("GOLF1-32.BMP");
  style.SymbolBitmapSize = 12;
  style.SymbolBitmapTransparent = true;
  return style;
}

std::vector<Layer*> LayersBelowMarker(const MapControl& map) {
  std::vector<Layer*> layers;
  for (int position = 2; position <= map.LayerCount(); ++position) layers.push_back(map.LayerAt(position));
  return layers;
}

bool LocateFeature(MapControl& map, const QString& layerName, const QString& fieldName,
                   const QString& value) {
  Layer* layer = map.FindLayer(layerName);
  if (!layer) return false;
  const FieldSearchResult found = layer->SearchByField(fieldName, value);
  if (!found.Exact()) return false;

  const Feature& f = found.feature;
  if (f.Type() == kFeaturePoint) {
    map.SetViewWidth(kLocatedPointViewWidth);
    map.SetCenterX(f.CenterX());
    map.SetCenterY(f.CenterY());
  } else {
    map.SetBounds(f.Bounds());
  }
  map.UnselectAll();
  layer->Selection().Replace(layer->FeatureForKey(f.RecordKey()));
  return true;
}

void PlaceMarker(MapControl& map, Layer& layer, double x, double y) {
  layer.SetAllowEdits(true);
  if (layer.Store().Count() > 0) layer.RemoveFeature(layer.KeyOfNamedFeature(QString()));
  layer.InsertFeature(map.MakePointFeature({x, y}, MarkerStyle()));
  layer.RedrawLayer();
  map.Redraw();
}

NearestResult NearestFeatureName(MapControl& map, const QString& layerName, double x, double y) {
  NearestResult result;
  Layer* layer = map.FindLayer(layerName);
  if (!layer) {
    result.reason = QStringLiteral("地图中没有图层“%1”").arg(layerName);
    return result;
  }
  result.feature = layer->NearestFeature({x, y});
  if (!result.feature.IsValid()) {
    result.reason = QStringLiteral("图层“%1”中没有地物").arg(layerName);
    return result;
  }
  result.ok = true;
  result.name = result.feature.DisplayName();
  const double fx = result.feature.CenterX(), fy = result.feature.CenterY();
  result.distance = map.MeasureDistance(x, y, fx, fy);
  map.UnselectAll();
  layer->Selection().SelectAtPoint(fx, fy, kSelectionNew);
  return result;
}

void FrameFeatureAndPoint(MapControl& map, MapRect& spanRect, MapRect& viewRect, double fx, double fy,
                          double cx, double cy) {
  spanRect = MapRect::FromCorners(fx, fy, cx, cy);
  double x1, x2, y1, y2;
  FrameAxis(fx, cx, x1, x2);
  FrameAxis(fy, cy, y1, y2);
  // An axis on which feature and point coincide has no span of its own: give it the other
  // axis's extent, never less than the minimum, centred on the shared value.
  const double side = std::max({std::abs(x2 - x1), std::abs(y2 - y1), kMinFrameSpan}) / 2;
  if (fx == cx) x1 = fx - side, x2 = fx + side;
  if (fy == cy) y1 = fy - side, y2 = fy + side;
  viewRect = MapRect::FromCorners(x1, y1, x2, y2);
  map.SetBounds(viewRect);
}

void DrawViewFrame(MapControl& mainMap, MapControl& overview, Layer& frameLayer) {
  FeatureStyle regionStyle;
  regionStyle.RegionPattern = 0;
  regionStyle.RegionBorderColor = kFrameRed;
  regionStyle.RegionBorderWidth = 1;
  FeatureStyle lineStyle;
  lineStyle.LineColor = kFrameRed;
  lineStyle.LineWidth = 1;

  const MapRect view = mainMap.Bounds();
  if (frameLayer.Store().Count() == 0) {
    frameLayer.InsertFeature(overview.MakeRegionFeature(view, regionStyle));
    frameLayer.RedrawLayer();
    return;
  }

  frameLayer.SetAllowEdits(true);
  for (const Feature& f : frameLayer.ListFeatures()) frameLayer.RemoveFeature(f);
  const MapRect all = overview.Bounds();
  const double midX = view.maxX - view.Width() / 2;
  const double midY = view.maxY - view.Height() / 2;
  frameLayer.InsertFeature(overview.MakePolylineFeature({{view.minX, view.minY},
                                                         {view.maxX, view.minY},
                                                         {view.maxX, view.maxY},
                                                         {view.minX, view.maxY},
                                                         {view.minX, view.minY}},
                                                        lineStyle));
  frameLayer.InsertFeature(overview.MakePolylineFeature({{midX, all.maxY}, {midX, all.minY}}, lineStyle));
  frameLayer.InsertFeature(overview.MakePolylineFeature({{all.minX, midY}, {all.maxX, midY}}, lineStyle));
  frameLayer.RedrawLayer();
}
