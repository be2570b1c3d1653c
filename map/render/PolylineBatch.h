#pragma once
// Screen polylines one after another in one flat vertex array. The renderer keeps one and clears it for
// each layer, so that drawing a layer allocates nothing once the buffers have grown to its size.
#include <QPointF>
#include <QPolygonF>
#include <span>
#include <vector>

class PolylineBatch {
 public:
  void Clear() {
    points_.clear();
    ends_.clear();
  }
  void Add(const QPolygonF& line) {
    points_.insert(points_.end(), line.begin(), line.end());
    ends_.push_back(points_.size());
  }
  std::size_t Count() const { return ends_.size(); }
  std::size_t Points() const { return points_.size(); }
  bool Empty() const { return ends_.empty(); }
  std::span<const QPointF> Line(std::size_t i) const {
    const std::size_t from = i ? ends_[i - 1] : 0;
    return {points_.data() + from, ends_[i] - from};
  }

 private:
  std::vector<QPointF> points_;
  std::vector<std::size_t> ends_;  // one past each polyline's last point
};
