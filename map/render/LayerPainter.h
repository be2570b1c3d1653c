#pragma once
// Draws the features of one layer at a view: regions filled and outlined, lines with their casing
// under them (all casings of the layer before its fills, so crossings merge), point symbols, and
// features the program inserted in their own FeatureStyle. Features of a style case are drawn in
// its style, a run of each case after those of the layer's own style. It collects the layer's label requests
// and the boxes its symbols cover, for the labeler. Screen coordinates are pixels, y down.
#include <QPainter>
#include <atomic>
#include <limits>
#include <span>
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

// Features of a layer drawn in one style.
struct StyleRun {
  const LayerStyle* style;
  std::span<const int> ids;
};

// The features of one kind of a layer (ids grouped by style case) and their runs, in drawing order.
struct KindRuns {
  std::vector<int> ids;
  std::vector<StyleRun> runs;
};

// What a LayerPainter keeps between layers and renderings: caches and buffers that have grown to size.
struct PainterBuffers {
  SymbolSprites sprites;
  StrokeBuffers stroke;
  std::vector<PolylineBatch> outlines;  // screen polylines of the layer being drawn, a batch a run
  QPolygonF scratch;
  KindRuns regions, lines, points;
  std::vector<int> styled, grouped;
  std::vector<int> labelOwners;  // the feature of each label of the kind being drawn
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
  // Sorts kind.ids by style case, keeping layer order within each, and makes their runs.
  void GroupByCase(const LayerSnapshot& layer, KindRuns& kind);
  // Each returns how many features it drew.
  int DrawRegions(const LayerSnapshot& layer, const KindRuns& kind, LayerLabels* labels);
  int DrawLines(const LayerSnapshot& layer, const KindRuns& kind, LayerLabels* labels);
  int DrawPoints(const LayerSnapshot& layer, const KindRuns& kind, LayerLabels* labels,
                 std::vector<QRectF>* obstacles);
  void DrawStyledFeature(const FeatureStore& store, int id, const FeatureStyle& style);
  void AddAreaLabel(const LayerSnapshot& layer, int id, LayerLabels& labels);
  bool Counted(const FeatureStore& store, int id) const;
  bool Cancelled() const { return cancel_ && cancel_->load(std::memory_order_relaxed); }
  // Whether the drawing loops stop before their n-th feature: they look every so many features.
  bool StopsAt(std::size_t n) const;
  // The first count outline batches, emptied.
  void ClearOutlines(std::size_t count);
  // Strokes outline batch i in runs[i]'s casing, then each in its pen and battlements: all casings
  // before all pens, so that crossings merge.
  void StrokeOutlines(std::span<const StyleRun> runs, bool closed);
  // Strokes lines with style's pen, then its battlements if it is a wall.
  void StrokePen(const PolylineBatch& lines, const LayerStyle& style, bool closed);
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
  std::vector<PolylineBatch>& outlines_;
  const std::atomic<bool>* cancel_;
  int countTop_ = 0;
  int countBottom_ = std::numeric_limits<int>::max();
};
