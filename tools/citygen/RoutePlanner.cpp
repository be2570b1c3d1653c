#include "tools/citygen/RoutePlanner.h"

#include <algorithm>
#include <cmath>
#include <queue>

#include "tools/citygen/PlaneGeometry.h"

namespace citygen {

Path RoutePlanner::Find(int from, int to, const PieceCost& cost, double perMetre) const {
  const std::size_t count = streets_.junctions.size();
  const Vec2 goal = streets_.junctions[to].at;
  const auto estimate = [&](int junction) {
    return perMetre * Distance(streets_.junctions[junction].at, goal);
  };
  if (stamp_.size() != count) {
    best_.assign(count, INFINITY);
    via_.assign(count, -1);
    stamp_.assign(count, 0);
  }
  ++search_;
  const auto reached = [&](int junction) { return stamp_[junction] == search_; };
  const auto best = [&](int junction) { return reached(junction) ? best_[junction] : INFINITY; };
  const auto reach = [&](int junction, double cost, int piece) {
    stamp_[junction] = search_;
    best_[junction] = cost;
    via_[junction] = piece;
  };
  using Entry = std::pair<double, int>;  // estimated total cost, junction
  std::priority_queue<Entry, std::vector<Entry>, std::greater<>> open;
  reach(from, 0, -1);
  open.push({estimate(from), from});
  while (!open.empty()) {
    const auto [total, here] = open.top();
    open.pop();
    if (here == to) break;
    const double sofar = best_[here];
    if (total > sofar + estimate(here)) continue;
    for (int piece : streets_.junctions[here].pieces) {
      const double step = cost(piece);
      if (!std::isfinite(step)) continue;
      const int next = streets_.OtherEnd(piece, here);
      if (sofar + step < best(next)) {
        reach(next, sofar + step, piece);
        open.push({sofar + step + estimate(next), next});
      }
    }
  }
  Path path;
  if (from != to && !reached(to)) return path;
  for (int at = to; at != from; at = streets_.OtherEnd(via_[at], at)) {
    path.junctions.push_back(at);
    path.pieces.push_back(via_[at]);
  }
  path.junctions.push_back(from);
  std::reverse(path.junctions.begin(), path.junctions.end());
  std::reverse(path.pieces.begin(), path.pieces.end());
  return path;
}

}  // namespace citygen
