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

  // The cost of passing a piece; infinity forbids it.
  using PieceCost = std::function<double(int piece)>;

  // A cheap path from one junction to another; empty when there is none. `perMetre` guides the
  // search (A*) by estimating the cost still to go as perMetre × the straight distance: with 0,
  // or a lower bound of cost / length, the path is the cheapest; with a typical value the search
  // is much faster and the path nearly the cheapest, which is all a bus route needs.
  Path Find(int from, int to, const PieceCost& cost, double perMetre = 0) const;

 private:
  const StreetNetwork& streets_;
  // Search state kept between calls, so a search touches only the junctions it reaches:
  // an entry counts only when its stamp is the current search's.
  mutable std::vector<double> best_;
  mutable std::vector<int> via_;
  mutable std::vector<unsigned> stamp_;
  mutable unsigned search_ = 0;
};

}  // namespace citygen
