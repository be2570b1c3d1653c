#include "map/SpatialIndex.h"

#include <boost/geometry.hpp>
#include <boost/iterator/function_output_iterator.hpp>

namespace bgi = boost::geometry::index;

SpatialIndex::SpatialIndex(std::vector<Entry> entries) : tree_(entries) {}

void SpatialIndex::Insert(const MapRect& bounds, int id) { tree_.insert(Entry(ToBox(bounds), id)); }

void SpatialIndex::Remove(const MapRect& bounds, int id) { tree_.remove(Entry(ToBox(bounds), id)); }

MapRect SpatialIndex::Extent() const {
  if (tree_.empty()) return {};
  const Box b = tree_.bounds();
  return {b.min_corner().get<0>(), b.min_corner().get<1>(), b.max_corner().get<0>(), b.max_corner().get<1>()};
}

void SpatialIndex::Query(const MapRect& r, std::vector<int>& ids) const {
  tree_.query(bgi::intersects(ToBox(r)),
              boost::iterators::make_function_output_iterator([&ids](const Entry& e) { ids.push_back(e.second); }));
}

void SpatialIndex::VisitNearest(MapPoint p, const std::function<bool(int, double)>& visit) const {
  const Point q(p.x, p.y);
  // An unbounded incremental nearest query: entries come in ascending box distance until the
  // visitor has seen enough.
  for (auto it = tree_.qbegin(bgi::nearest(q, unsigned(tree_.size()))); it != tree_.qend(); ++it) {
    if (!visit(it->second, boost::geometry::distance(q, it->first))) return;
  }
}
