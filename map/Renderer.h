#pragma once
// Draws a map: the layers of a workspace at a view, as a city map to be read and printed. Regions,
// lines with casings, point symbols, then the selection with a glow, then the labels (placed without
// overlaps), then the temporary layers with their own feature styles. A layer is drawn while it is
// visible and the view width (metres) is at most its limit; its labels while the view width is at most
// its label limit. The selection of a visible layer is drawn at any width. The overview map is the same
// renderer at another view.
#include <QPainter>
#include <QString>
#include <vector>

#include "map/Layer.h"
#include "map/MapView.h"
#include "map/render/Labeler.h"
#include "map/render/SymbolPainter.h"
#include "map/render/TextPaths.h"

struct RenderOptions {
  bool labels = true;
  QColor background;  // invalid: the painter's surface is left as it is under the map
  bool scaleBar = false;  // the main map's scale bar, bottom left (ScaleBar.h)
};

struct RenderStats {
  int featuresDrawn = 0;
  std::vector<PlacedLabel> labels;  // boxes in screen pixels
};

// Keeps the caches of symbol sprites and label outlines between renderings; one per map widget.
class MapRenderer {
 public:
  // Draws layers (bottom to top; not owned) into the painter, whose device is view.Pixels() large in
  // device-independent pixels, screen y down. The painter's state is restored afterwards.
  RenderStats Render(QPainter& painter, const std::vector<const Layer*>& bottomToTop, const MapView& view,
                     const RenderOptions& options = {});

 private:
  SymbolSprites sprites_;
  TextPaths text_;
  LabelSprites labelSprites_;
  QImage layerImage_;
};

