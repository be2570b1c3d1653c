#include "map/render/LabelIndex.h"

#include <algorithm>
#include <cmath>

LabelIndex::LabelIndex(QSize screen, int cellSize)
    : cellSize_(cellSize),
      columns_(std::max(1, (screen.width() + cellSize - 1) / cellSize)),
      rows_(std::max(1, (screen.height() + cellSize - 1) / cellSize)),
      cells_(size_t(columns_) * rows_) {}

LabelIndex::CellRange LabelIndex::Cells(const QRectF& box) const {
  auto column = [&](double x) { return std::clamp(int(std::floor(x / cellSize_)), 0, columns_ - 1); };
  auto row = [&](double y) { return std::clamp(int(std::floor(y / cellSize_)), 0, rows_ - 1); };
  return {column(box.left()), row(box.top()), column(box.right()), row(box.bottom())};
}

bool LabelIndex::Collides(const QRectF& box) const {
  const CellRange r = Cells(box);
  for (int y = r.y0; y <= r.y1; ++y) {
    for (int x = r.x0; x <= r.x1; ++x) {
      for (int i : cells_[size_t(y) * columns_ + x]) {
        if (boxes_[i].intersects(box)) return true;
      }
    }
  }
  return false;
}

bool LabelIndex::CollidesAny(const std::vector<QRectF>& boxes) const {
  return std::any_of(boxes.begin(), boxes.end(), [&](const QRectF& b) { return Collides(b); });
}

void LabelIndex::Insert(const QRectF& box) {
  const int index = int(boxes_.size());
  boxes_.push_back(box);
  const CellRange r = Cells(box);
  for (int y = r.y0; y <= r.y1; ++y) {
    for (int x = r.x0; x <= r.x1; ++x) cells_[size_t(y) * columns_ + x].push_back(index);
  }
}
