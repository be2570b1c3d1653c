#include "bus/BoxGrid.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kMaxCells = 4e6;
}

BoxGrid::BoxGrid(std::span<const MapRect> boxes, double minCell) {
  const auto finite = [](const MapRect& r) {
    return std::isfinite(r.minX) && std::isfinite(r.minY) && std::isfinite(r.maxX) && std::isfinite(r.maxY);
  };
  bool any = false;
  for (const MapRect& box : boxes)
    if (finite(box)) extent_ = any ? extent_.United(box) : box, any = true;
  if (!any) return;
  cell_ = std::max({minCell, std::sqrt(extent_.Width() * extent_.Height() / kMaxCells),
                    std::max(extent_.Width(), extent_.Height()) / kMaxCells});
  columns_ = std::int64_t(extent_.Width() / cell_) + 1;
  rows_ = std::int64_t(extent_.Height() / cell_) + 1;
  begin_.assign(std::size_t(columns_ * rows_ + 1), 0);
  const auto eachCell = [&](const MapRect& box, auto&& f) {
    for (std::int64_t row = Row(box.minY); row <= Row(box.maxY); ++row)
      for (std::int64_t c = Column(box.minX); c <= Column(box.maxX); ++c) f(row * columns_ + c);
  };
  for (const MapRect& box : boxes)
    if (finite(box)) eachCell(box, [&](std::int64_t cell) { ++begin_[cell + 1]; });
  for (std::size_t i = 1; i < begin_.size(); ++i) begin_[i] += begin_[i - 1];
  items_.resize(begin_.back());
  std::vector<std::uint32_t> next(begin_.begin(), begin_.end() - 1);
  for (std::size_t i = 0; i < boxes.size(); ++i)
    if (finite(boxes[i]))
      eachCell(boxes[i], [&](std::int64_t cell) { items_[next[cell]++] = std::int32_t(i); });
}

std::int64_t BoxGrid::Column(double x) const {
  return std::int64_t(std::clamp((x - extent_.minX) / cell_, 0.0, double(columns_ - 1)));
}

std::int64_t BoxGrid::Row(double y) const {
  return std::int64_t(std::clamp((y - extent_.minY) / cell_, 0.0, double(rows_ - 1)));
}
