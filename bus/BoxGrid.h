#pragma once
// A grid of items by the cells their bounds meet, for finding the items near a point. Built once,
// read-only after. No widgets.
#include <cstdint>
#include <span>
#include <vector>

#include "map/MapTypes.h"

class BoxGrid {
 public:
  BoxGrid() = default;
  // Item i has bounds boxes[i]; an item with a bound that is not finite is left out. Cells are at least
  // minCell metres wide, wider where the grid would otherwise hold more than a few million cells.
  BoxGrid(std::span<const MapRect> boxes, double minCell);

  // Calls visit(item) for every item whose cells meet r; an item may come more than once.
  template <class Visit>
  void ForEachIn(const MapRect& r, Visit&& visit) const {
    if (columns_ == 0 || !(r.maxX >= extent_.minX && r.maxY >= extent_.minY && r.minX <= extent_.maxX &&
                           r.minY <= extent_.maxY))
      return;  // also for a rectangle with a coordinate that is not a number
    const std::int64_t c0 = Column(r.minX), c1 = Column(r.maxX), r0 = Row(r.minY), r1 = Row(r.maxY);
    for (std::int64_t row = r0; row <= r1; ++row)
      for (std::int64_t c = c0; c <= c1; ++c) {
        const std::int64_t cell = row * columns_ + c;
        for (std::uint32_t i = begin_[cell]; i < begin_[cell + 1]; ++i) visit(int(items_[i]));
      }
  }
  std::size_t MemoryBytes() const { return begin_.capacity() * 4 + items_.capacity() * 4; }

 private:
  std::int64_t Column(double x) const;
  std::int64_t Row(double y) const;

  MapRect extent_;
  double cell_ = 1;
  std::int64_t columns_ = 0, rows_ = 0;
  std::vector<std::uint32_t> begin_;  // CSR over cells, row by row
  std::vector<std::int32_t> items_;
};
