#pragma once
// Draws the features of one layer at a view: regions filled and outlined, lines with their casing
// under them (all casings of the layer before its fills, so crossings merge), point symbols, and
// features the program inserted in their own FeatureStyle. It collects the layer's label requests
// and the boxes its symbols cover, for the labeler. Screen coordinates are pixels, y down.
#include <QPainter>
#include <atomic>
#include <limits>
#include <vector>

#include "map/MapView.h"
#include "map/render/Labeler.h"
#include "map/render/LayerSnapshot.h"
#include "map/render/LineStroker.h"
#include "map/render/ScreenGeometry.h"
#include "map/render/SymbolPainter.h"

// The label requests of one layer, in layer order.
struct LayerLabels {
  std::vector<PointLabel> points;
  std::vector<LineLabel> lines;
  std::vector<AreaLabel> areas;
};

// What a LayerPainter keeps between layers and renderings: caches and buffers that have grown to size.
struct PainterBuffers {
  SymbolSprites sprites;
  StrokeBuffers stroke;
  PolylineBatch outlines;  // screen polylines of the layer being drawn
  QPolygonF scratch;
  std::vector<int> regions, lines, points, styled;
};

class LayerPainter {
 public:
  // The painter draws in screen pixels of the view; buffers are kept by the caller between renderings.
  // Drawing stops early once *cancel is set (when given).
  LayerPainter(QPainter& painter, const MapView& view, PainterBuffers& buffers,
               const std::atomic<bool>* cancel = nullptr);

  // Draws the features ids (ascending) of layer; returns how many were drawn (features smaller than
  // a pixel are skipped). labels, when given, receives the layer's labels (if its style labels at
  // this view); obstacles the boxes of its symbols.
  int Draw(const LayerSnapshot& layer, const std::vector<int>& ids, LayerLabels* labels,
           std::vector<QRectF>* obstacles);

  // Draws the selected features among ids with a glow, and the features again over it.
  void DrawHighlight(const LayerSnapshot& layer, const std::vector<int>& ids);

  // For a band of the screen: Draw counts only the features whose first vertex lies in screen rows
  // [top, bottom) (those above the screen count in the band at its top), so that the bands' counts add
  // up to one count per feature.
  void CountOnlyFrom(int top, int bottom) {
    countTop_ = top;
    countBottom_ = bottom;
  }

 private:
  // Each returns how many features it drew.
  int DrawRegions(const LayerSnapshot& layer, const std::vector<int>& ids, LayerLabels* labels);
  int DrawLines(const LayerSnapshot& layer, const std::vector<int>& ids, LayerLabels* labels);
  int DrawPoints(const LayerSnapshot& layer, const std::vector<int>& ids, LayerLabels* labels,
                 std::vector<QRectF>* obstacles);
  void DrawStyledFeature(const FeatureStore& store, int id, const FeatureStyle& style);
  void AddAreaLabel(const LayerSnapshot& layer, int id, LayerLabels& labels);
  bool Counted(const FeatureStore& store, int id) const;
  bool Cancelled() const { return cancel_ && cancel_->load(std::memory_order_relaxed); }
  // Strokes outlines_ with the layer's casing and pen, then its battlements if it is a wall.
  void StrokeOutlines(const LayerStyle& style, bool closed);
  void AddWall(const QPolygonF& path, const LayerStyle& style, bool closed, QPainterPath& teeth);
  // A region as a path of its rings; false when it is smaller than a pixel.
  bool RegionPath(const FeatureStore& store, int id, QPainterPath& path);
  QString LabelText(const LayerSnapshot& layer, int id) const;
  LabelLook Look(const LayerStyle& style) const;

  QPainter& painter_;
  const MapView& view_;
  ScreenTransform xf_;
  PainterBuffers& buffers_;
  SymbolSprites& sprites_;
  QPolygonF& scratch_;
  PolylineBatch& outlines_;
  const std::atomic<bool>* cancel_;
  int countTop_ = 0;
  int countBottom_ = std::numeric_limits<int>::max();
};
