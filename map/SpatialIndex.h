#pragma once
// An R-tree of feature bounds by feature id, for one layer. Bulk-loaded with the packing
// algorithm when a layer is read, then kept up to date as features are inserted and removed.
// Coordinates are map coordinates (metres).
#include <boost/geometry/geometries/box.hpp>
#include <boost/geometry/geometries/point.hpp>
#include <boost/geometry/index/rtree.hpp>
#include <utility>
#include <vector>

#include "map/MapTypes.h"

class SpatialIndex {
 public:
  using Point = boost::geometry::model::point<double, 2, boost::geometry::cs::cartesian>;
  using Box = boost::geometry::model::box<Point>;
  using Entry = std::pair<Box, int>;  // bounds, feature id

  static Box ToBox(const MapRect& r) { return Box(Point(r.minX, r.minY), Point(r.maxX, r.maxY)); }
  static MapRect ToRect(const Box& b) {
    return {b.min_corner().get<0>(), b.min_corner().get<1>(), b.max_corner().get<0>(),
            b.max_corner().get<1>()};
  }

  SpatialIndex() = default;
  // Packs entries into a balanced tree (the fast way for a whole layer).
  explicit SpatialIndex(std::vector<Entry> entries);

  void Insert(const MapRect& bounds, int id);
  void Remove(const MapRect& bounds, int id);
  std::size_t Size() const { return tree_.size(); }
  MapRect Extent() const;  // an empty rectangle at 0,0 when empty

  // Ids of the entries whose bounds intersect r, in no particular order.
  void Query(const MapRect& r, std::vector<int>& ids) const;
  // The same entries with their bounds: a search decides most of them from the bounds alone,
  // without reaching for the vertices.
  void Query(const MapRect& r, std::vector<Entry>& entries) const;

  // The id of an entry whose bounds lie nearest p; 0 when empty.
  int Nearest(MapPoint p) const;

 private:
  boost::geometry::index::rtree<Entry, boost::geometry::index::rstar<16>> tree_;
};
