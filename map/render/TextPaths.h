#pragma once
// Outlines of label texts in the map's CJK font, cached: labels are drawn as paths so that their halo
// (a wide stroke under the fill) follows the glyphs at any rotation. Sizes are screen pixels.
#include <QCache>
#include <QFont>
#include <QPainterPath>
#include <QString>

struct TextPath {
  QPainterPath path;  // left end at x = 0, the middle of the em box at y = 0
  double width = 0;   // advance width including letter spacing, pixels
  double height = 0;  // em height, pixels
};

class TextPaths {
 public:
  // The outline of text at pixelSize, with `spacing` extra pixels between letters. The cache owns the
  // result; the reference is valid until the next call.
  const TextPath& Get(const QString& text, int pixelSize, double spacing = 0);

 private:
  QCache<QString, TextPath> cache_{20000};
};

// The family list of map labels: Noto Sans CJK SC first.
QStringList LabelFontFamilies();

// The label font at pixelSize, unhinted, with `spacing` extra pixels after each letter: text drawn
// in it at (0, LabelBaseline(pixelSize)) covers the outline TextPaths gives.
QFont LabelFont(int pixelSize, double spacing = 0);
inline double LabelBaseline(int pixelSize) { return 0.38 * pixelSize; }  // the em box's middle is 0
