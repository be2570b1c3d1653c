#pragma once
// Draws the features of one layer at a view: regions filled and outlined, lines with their casing
// under them (all casings of the layer before its fills, so crossings merge), point symbols, and
// features the program inserted in their own FeatureStyle. It collects the layer's label requests
// and the boxes its symbols cover, for the labeler. Screen coordinates are pixels, y down.
#include <QPainter>
#include <vector>

#include "map/Layer.h"
#include "map/MapView.h"
#include "map/render/Labeler.h"
#include "map/render/ScreenGeometry.h"
#include "map/render/SymbolPainter.h"

// The label requests of one layer, in layer order.
struct LayerLabels {
  std::vector<PointLabel> points;
  std::vector<LineLabel> lines;
  std::vector<AreaLabel> areas;
};

class LayerPainter {
 public:
  // The painter draws in screen pixels of the view; sprites is a cache and layerImage a scratch image
  // (for translucent lines), both kept by the caller between renderings.
  LayerPainter(QPainter& painter, const MapView& view, SymbolSprites& sprites, QImage& layerImage);

  // Draws the features ids (ascending) of layer; returns how many were drawn (features smaller than
  // a pixel are skipped). labels, when given, receives the layer's labels (if its style labels at
  // this view); obstacles the boxes of its symbols.
  int Draw(const Layer& layer, const std::vector<int>& ids, LayerLabels* labels,
           std::vector<QRectF>* obstacles);

  // Draws the selected features among ids with a glow, and the features again over it.
  void DrawHighlight(const Layer& layer, const std::vector<int>& ids);

 private:
  // Each returns how many features it drew.
  int DrawRegions(const Layer& layer, const std::vector<int>& ids, LayerLabels* labels);
  int DrawLines(const Layer& layer, const std::vector<int>& ids, LayerLabels* labels);
  int DrawPoints(const Layer& layer, const std::vector<int>& ids, LayerLabels* labels,
                 std::vector<QRectF>* obstacles);
  void DrawStyledFeature(const FeatureStore& store, int id, const FeatureStyle& style);
  void AddAreaLabel(const Layer& layer, int id, LayerLabels& labels);
  // Strokes outlines_ with the layer's casing and pen, then its battlements if it is a wall.
  void StrokeOutlines(const LayerStyle& style, bool closed);
  void AddWall(const QPolygonF& path, const LayerStyle& style, bool closed, QPainterPath& teeth);
  // A region as a path of its rings; false when it is smaller than a pixel.
  bool RegionPath(const FeatureStore& store, int id, QPainterPath& path);
  QString LabelText(const Layer& layer, int id) const;
  LabelLook Look(const LayerStyle& style) const;

  QPainter& painter_;
  const MapView& view_;
  ScreenTransform xf_;
  SymbolSprites& sprites_;
  QImage& layerImage_;
  QPolygonF scratch_;
  std::vector<QPolygonF> outlines_;  // screen polylines of the layer being drawn
};
