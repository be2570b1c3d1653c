#include "map/Geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

double Distance(MapPoint a, MapPoint b) { return std::hypot(a.x - b.x, a.y - b.y); }

double DistanceToSegment(MapPoint p, MapPoint a, MapPoint b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double lengthSquared = dx * dx + dy * dy;
  if (lengthSquared == 0) return Distance(p, a);
  const double t = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSquared, 0.0, 1.0);
  return Distance(p, {a.x + t * dx, a.y + t * dy});
}

double DistanceToPath(MapPoint p, std::span<const MapPoint> path) {
  if (path.empty()) return std::numeric_limits<double>::infinity();
  if (path.size() == 1) return Distance(p, path[0]);
  double best = std::numeric_limits<double>::infinity();
  for (std::size_t i = 1; i < path.size(); ++i)
    best = std::min(best, DistanceToSegment(p, path[i - 1], path[i]));
  return best;
}

bool RingContains(std::span<const MapPoint> ring, MapPoint p) {
  bool inside = false;
  for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
    const MapPoint& a = ring[i];
    const MapPoint& b = ring[j];
    if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) inside = !inside;
  }
  return inside;
}
