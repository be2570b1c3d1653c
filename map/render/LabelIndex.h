#pragma once
// Screen-space index of the boxes that labels and symbols occupy, so that a new label is placed only
// where it overlaps nothing placed before. Boxes are in screen pixels.
#include <QRectF>
#include <QSize>
#include <vector>

class LabelIndex {
 public:
  // screen: the image size; boxes outside it are still indexed (clamped to the border cells).
  explicit LabelIndex(QSize screen, int cellSize = 48);

  bool Collides(const QRectF& box) const;
  // True when any of the boxes collides with a placed box (the boxes of one label may touch each other).
  bool CollidesAny(const std::vector<QRectF>& boxes) const;
  void Insert(const QRectF& box);

 private:
  struct CellRange {
    int x0, y0, x1, y1;
  };
  CellRange Cells(const QRectF& box) const;

  int cellSize_;
  int columns_;
  int rows_;
  std::vector<QRectF> boxes_;
  std::vector<std::vector<int>> cells_;  // per cell: indices into boxes_
};
