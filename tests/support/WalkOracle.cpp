#include "tests/support/WalkOracle.h"

#include <algorithm>
#include <cmath>
#include <queue>

double WalkOracle::Distance(MapPoint p, MapPoint a, MapPoint b) {
  const double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
  const double t = len2 == 0 ? 0 : std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2, 0.0, 1.0);
  return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
}

WalkOracle::WalkOracle(const std::vector<walk::Street>& streets) {
  const auto id = [&](MapPoint p) {
    const auto [it, added] = ids_.insert({{p.x + 0.0, p.y + 0.0}, int(edges_.size())});
    if (added) edges_.emplace_back();
    return it->second;
  };
  for (const walk::Street& street : streets) {
    bool bad = false;
    int pieces = 0;
    for (const auto& part : street.parts)
      for (std::size_t i = 0; i < part.size(); ++i) {
        bad = bad || !std::isfinite(part[i].x) || !std::isfinite(part[i].y);
        if (i > 0 && !(part[i] == part[i - 1])) ++pieces;
      }
    if (bad || pieces == 0) {
      ++leftOut_;
      continue;
    }
    for (const auto& part : street.parts)
      for (std::size_t i = 1; i < part.size(); ++i) {
        if (part[i] == part[i - 1]) continue;
        const int u = id(part[i - 1]), v = id(part[i]);
        const double metres = std::hypot(part[i].x - part[i - 1].x, part[i].y - part[i - 1].y);
        edges_[u].push_back({v, metres});
        edges_[v].push_back({u, metres});
        segments_.push_back({u, v, part[i - 1], part[i]});
      }
  }
}

WalkOracle::Nearest WalkOracle::NearestSegment(MapPoint p) const {
  Nearest best;
  best.metres = INFINITY;
  for (std::size_t s = 0; s < segments_.size(); ++s) {
    const Segment& seg = segments_[s];
    const double d = Distance(p, seg.a, seg.b);
    if (d < best.metres) {
      const double dx = seg.b.x - seg.a.x, dy = seg.b.y - seg.a.y;
      best = {int(s),
              std::clamp(((p.x - seg.a.x) * dx + (p.y - seg.a.y) * dy) / (dx * dx + dy * dy), 0.0, 1.0), d};
    }
  }
  return best;
}

WalkOracle::Answer WalkOracle::Walk(MapPoint a, MapPoint b) const {
  const Answer straight{std::hypot(a.x - b.x, a.y - b.y) * 1.3, true};
  const Nearest ja = NearestSegment(a), jb = NearestSegment(b);
  if (ja.segment < 0 || ja.metres > 1040 || jb.metres > 1040) return straight;
  // Two more nodes, the joins, each tied to the ends of its segment (and to each other on one).
  const int n = int(edges_.size()), from = n, to = n + 1;
  std::vector<std::vector<std::pair<int, double>>> extra(n + 2);
  const auto tie = [&](int x, int y, double metres) {
    extra[x].push_back({y, metres});
    extra[y].push_back({x, metres});
  };
  for (const auto& [node, join] : {std::pair{from, ja}, std::pair{to, jb}}) {
    const Segment& seg = segments_[join.segment];
    const double len = std::hypot(seg.b.x - seg.a.x, seg.b.y - seg.a.y);
    tie(node, seg.u, join.t * len);
    tie(node, seg.v, (1 - join.t) * len);
  }
  if (ja.segment == jb.segment) {
    const Segment& seg = segments_[ja.segment];
    tie(from, to, std::abs(ja.t - jb.t) * std::hypot(seg.b.x - seg.a.x, seg.b.y - seg.a.y));
  }
  std::vector<double> dist(n + 2, INFINITY);
  using Item = std::pair<double, int>;
  std::priority_queue<Item, std::vector<Item>, std::greater<>> queue;
  dist[from] = 0;
  queue.push({0, from});
  while (!queue.empty()) {
    const auto [d, x] = queue.top();
    queue.pop();
    if (x == to) break;
    if (d > dist[x]) continue;
    const auto relax = [&](const std::pair<int, double>& e) {
      if (d + e.second < dist[e.first]) queue.push({dist[e.first] = d + e.second, e.first});
    };
    if (x < n) std::for_each(edges_[x].begin(), edges_[x].end(), relax);
    std::for_each(extra[x].begin(), extra[x].end(), relax);
  }
  if (dist[to] == INFINITY) return straight;
  return {ja.metres + dist[to] + jb.metres, false};
}

bool WalkOracle::OnStreet(MapPoint p, double tolerance) const {
  for (const Segment& seg : segments_)
    if (Distance(p, seg.a, seg.b) <= tolerance) return true;
  return false;
}
