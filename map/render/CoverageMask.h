#pragma once
// Wide antialiased lines without Qt's stroker: each segment's pixels get the share of their area inside
// the segment's rectangle (square ends reaching half the width beyond its ends), laid over what earlier
// segments covered as source-over blending would lay it, in an 8-bit mask that is then laid over the
// image in one pass in the line's colour. The picture is the one Qt's stroker gives a polyline drawn
// segment by segment with square caps; where lines of one layer cross, they merge without darkening.
#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <span>
#include <vector>

class CoverageMask {
 public:
  // Whether Composite can draw into image (32-bit premultiplied or opaque formats).
  static bool Supports(const QImage& image);

  // Starts afresh for an image of size device pixels.
  void Reset(QSize size);
  // A polyline in device pixels, halfWidth pixels to each side. Each segment ends square and is laid
  // over the ones before it, as Qt strokes a polyline segment by segment.
  void AddPolyline(std::span<const QPointF> line, double halfWidth);
  // Lays the covered pixels over image (of the size given to Reset) in color, and clears the mask.
  void Composite(QImage& image, const QColor& color);

 private:
  void AddSegment(QPointF a, QPointF b, double half);

  QSize size_;
  std::vector<unsigned char> cover_;
  static constexpr int kTile = 32;      // pixels a side of the squares whose touch is recorded
  std::vector<unsigned char> touched_;  // by square, row by row: the composite visits only these
  int tilesAcross_ = 0;
  std::vector<unsigned char> columns_;  // an upright segment's cover across one of its middle rows
};
