#pragma once
// The map legend: the classes the caller names, each a swatch drawn with the style of the layer
// that shows the class on the map, so that the legend never disagrees with the map, and the class
// name. Sizes are device-independent pixels.
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

// Where entry i's swatch and label go in rect: two columns of five rows, filled column by column.
struct LegendCell {
  QRectF swatch;
  QRectF text;
};
std::vector<LegendCell> LegendLayout(const QRectF& rect, int entries);

// Draws the entries into rect (a white card with a thin frame).
void DrawLegend(QPainter& painter, const QRectF& rect, const std::vector<LegendEntry>& entries);

// The legend picture of the classes at size (the legend drawer shows it at 273 x 126).
QImage RenderLegend(const QStringList& classes, const std::vector<const Layer*>& layers, QSize size,
                    qreal devicePixelRatio = 1.0);
