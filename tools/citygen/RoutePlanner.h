#pragma once
// Shortest paths over the street pieces, for laying bus routes. Costs are street lengths scaled
// by how well a road suits buses, with a per-line shuffle so lines between nearby ends differ.
#include <functional>
#include <vector>

#include "tools/citygen/StreetNetwork.h"

namespace citygen {

struct Path {
  std::vector<int> junctions;  // from the start to the end, both included
  std::vector<int> pieces;     // pieces[k] joins junctions[k] and junctions[k + 1]
};

class RoutePlanner {
 public:
  explicit RoutePlanner(const StreetNetwork& streets) : streets_(streets) {}

  // Cost multiplier for a piece; return infinity to forbid it.
  using PieceCost = std::function<double(int piece)>;

  // The cheapest path from one junction to another; empty when there is none.
  Path Find(int from, int to, const PieceCost& cost) const;

 private:
  const StreetNetwork& streets_;
};

}  // namespace citygen
