#pragma once
// The map legend: the classes the caller names, each a swatch drawn with the style of the layer
// that shows the class on the map, so that the legend never disagrees with the map, and the class
// name; after them, the map's other layers in their own styles. Sizes are device-independent pixels.
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <vector>

#include "map/Layer.h"
#include "map/Style.h"

struct LegendEntry {
  enum class Kind { Symbol, Line, Area };
  QString label;  // the class name
  Kind kind = Kind::Symbol;
  LayerStyle style;       // the style of the class's layer
  bool hasLayer = false;  // false: no layer shows the class; the entry has a label and no swatch
};

// One entry per class, in order. A class's layer is the one whose style's LEGEND names it, else
// the one named like the class. The layers are not owned and need only live during the call.
std::vector<LegendEntry> LegendEntries(const QStringList& classes, const std::vector<const Layer*>& layers);

// A layer's entries: its own style under its name, then one entry per style case under the case's
// LEGEND (else the layer's name and the case's value).
std::vector<LegendEntry> LayerLegendEntries(const Layer& layer);

// Everything the map draws: LegendEntries(classes, ...) first, always; then, top layer first, every
// other layer that is switched on (Shown) and not temporary (LayerLegendEntries), and the style
// cases of the classes' own layers.
std::vector<LegendEntry> MapLegendEntries(const QStringList& classes,
                                          const std::vector<const Layer*>& bottomToTop);

// Where entry i's swatch and label go in rect: rows rows (0: two columns), filled column by column.
struct LegendCell {
  QRectF swatch;
  QRectF text;
};
std::vector<LegendCell> LegendLayout(const QRectF& rect, int entries, int rows = 0);

// Draws the entries into rect (a white card with a thin frame), rows as in LegendLayout.
void DrawLegend(QPainter& painter, const QRectF& rect, const std::vector<LegendEntry>& entries, int rows = 0);

// The size a legend of entries in rows rows takes at its natural row height.
QSizeF LegendSize(int entries, int rows);

// Draws an entry's swatch into swatch.
void DrawLegendSwatch(QPainter& painter, const QRectF& swatch, const LegendEntry& entry);

// The legend picture of the classes at size (the legend drawer shows it at 273 x 126).
QImage RenderLegend(const QStringList& classes, const std::vector<const Layer*>& layers, QSize size,
                    qreal devicePixelRatio = 1.0);

// The entries in pages of page size one below the other, each laid out like the classes' legend
// (two columns of five): the first page holds the first ten entries.
inline constexpr int kLegendPageEntries = 10;
QImage RenderLegendPages(const std::vector<LegendEntry>& entries, QSize page, qreal devicePixelRatio = 1.0);
