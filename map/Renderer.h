#pragma once
// Draws a map: the layers of a workspace at a view, as a city map to be read and printed. Regions,
// lines with casings, point symbols, then the selection with a glow, then the labels (placed without
// overlaps), then the temporary layers with their own feature styles. A layer is drawn while it is
// visible and the view width (metres) is at most its limit; its labels while the view width is at most
// its label limit. The selection of a visible layer is drawn at any width. The overview map is the same
// renderer at another view.
//
// A large drawing on an image, with nothing to label, is split into horizontal bands drawn at once on
// several threads straight into the image; each band draws the features that reach into it, so the
// picture is the one a single thread draws.
//
// A painter that records shapes (a PDF, a printer; map/render/PaintTarget.h) gets every symbol,
// label and line as a shape or as text, never a picture.
#include <QPainter>
#include <QString>
#include <atomic>
#include <vector>

#include "map/Layer.h"
#include "map/MapView.h"
#include "map/render/Labeler.h"
#include "map/render/LayerPainter.h"
#include "map/render/LayerSnapshot.h"
#include "map/render/TextPaths.h"

struct RenderOptions {
  bool labels = true;
  QColor background;      // invalid: the painter's surface is left as it is under the map
  bool scaleBar = false;  // the main map's scale bar, bottom left (ScaleBar.h)
  // false: every visible layer is drawn at any view width, as on a printed page of few features
  bool displayLimits = true;
};

struct RenderStats {
  int featuresDrawn = 0;
  std::vector<PlacedLabel> labels;  // boxes in screen pixels
};

// Keeps the caches of symbol sprites and label outlines, and the drawing buffers, between renderings;
// one per map widget. One rendering at a time.
class MapRenderer {
 public:
  MapRenderer();

  // Draws layers (bottom to top; not owned) into the painter, whose device is view.Pixels() large in
  // device-independent pixels, screen y down. The painter's state is restored afterwards.
  RenderStats Render(QPainter& painter, const std::vector<const Layer*>& bottomToTop, const MapView& view,
                     const RenderOptions& options = {});
  // The same from snapshots of the layers. Once *cancel is set the drawing stops early, unfinished.
  RenderStats Render(QPainter& painter, const std::vector<LayerSnapshot>& bottomToTop, const MapView& view,
                     const RenderOptions& options = {}, const std::atomic<bool>* cancel = nullptr);

  // How many bands a large drawing is split into (1: all on the calling thread); the cores by default.
  void SetBands(int bands);

 private:
  int DrawBands(QPainter& painter, const std::vector<const LayerSnapshot*>& layers, const MapView& view,
                int bands, const std::atomic<bool>* cancel);

  int bands_ = 1;
  std::vector<PainterBuffers> buffers_;  // one per band
  std::vector<int> ids_;
  TextPaths text_;
  LabelSprites labelSprites_;
};
