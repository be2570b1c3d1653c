#include "tools/citygen/RoutePlanner.h"

#include <algorithm>
#include <cmath>
#include <queue>

namespace citygen {

Path RoutePlanner::Find(int from, int to, const PieceCost& cost) const {
  const std::size_t count = streets_.junctions.size();
  std::vector<double> best(count, INFINITY);
  std::vector<int> via(count, -1);
  using Entry = std::pair<double, int>;
  std::priority_queue<Entry, std::vector<Entry>, std::greater<>> open;
  best[from] = 0;
  open.push({0, from});
  while (!open.empty()) {
    const auto [distance, here] = open.top();
    open.pop();
    if (here == to) break;
    if (distance > best[here]) continue;
    for (int piece : streets_.junctions[here].pieces) {
      const double step = cost(piece);
      if (!std::isfinite(step)) continue;
      const int next = streets_.OtherEnd(piece, here);
      if (distance + step < best[next]) {
        best[next] = distance + step;
        via[next] = piece;
        open.push({best[next], next});
      }
    }
  }
  Path path;
  if (from != to && via[to] < 0) return path;
  for (int at = to; at != from; at = streets_.OtherEnd(via[at], at)) {
    path.junctions.push_back(at);
    path.pieces.push_back(via[at]);
  }
  path.junctions.push_back(from);
  std::reverse(path.junctions.begin(), path.junctions.end());
  std::reverse(path.pieces.begin(), path.pieces.end());
  return path;
}

}  // namespace citygen
