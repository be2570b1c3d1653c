#include "map/SpatialIndex.h"

#include <boost/geometry.hpp>
#include <boost/iterator/function_output_iterator.hpp>

namespace bgi = boost::geometry::index;

SpatialIndex::SpatialIndex(std::vector<Entry> entries) : tree_(entries) {}

void SpatialIndex::Insert(const MapRect& bounds, int id) { tree_.insert(Entry(ToBox(bounds), id)); }

void SpatialIndex::Remove(const MapRect& bounds, int id) { tree_.remove(Entry(ToBox(bounds), id)); }

MapRect SpatialIndex::Extent() const {
  if (tree_.empty()) return {};
  return ToRect(tree_.bounds());
}

void SpatialIndex::Query(const MapRect& r, std::vector<int>& ids) const {
  tree_.query(bgi::intersects(ToBox(r)), boost::iterators::make_function_output_iterator(
                                             [&ids](const Entry& e) { ids.push_back(e.second); }));
}

void SpatialIndex::Query(const MapRect& r, std::vector<Entry>& entries) const {
  tree_.query(bgi::intersects(ToBox(r)), std::back_inserter(entries));
}

int SpatialIndex::Nearest(MapPoint p) const {
  int id = 0;
  tree_.query(bgi::nearest(Point(p.x, p.y), 1),
              boost::iterators::make_function_output_iterator([&id](const Entry& e) { id = e.second; }));
  return id;
}
