#pragma once
// Wide antialiased lines without Qt's stroker: each segment's pixels get the coverage of a band of the
// line's width (from the pixel centre's distance to it), kept as the maximum over the segments in an
// 8-bit mask, which is then laid over the image in one pass in the line's colour. Joins come out
// round, open ends square; where lines of one layer cross, they merge without darkening.
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
  void AddSegment(QPointF a, QPointF b, double half, bool squareStart, bool squareEnd);

  QSize size_;
  std::vector<unsigned char> cover_;
  static constexpr int kTile = 32;  // pixels a side of the squares whose touch is recorded
  std::vector<unsigned char> touched_;  // by square, row by row: the composite visits only these
  int tilesAcross_ = 0;
};
