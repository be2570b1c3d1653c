#pragma once
// Small plane geometry on Vec2 (metres).
#include <algorithm>
#include <cmath>

#include "dataset/City.h"

namespace citygen {

// Plain sqrt rather than std::hypot: no overflow is possible at city sizes, and route searches
// call this millions of times.
inline double Distance(Vec2 a, Vec2 b) {
  const double dx = a.x - b.x, dy = a.y - b.y;
  return std::sqrt(dx * dx + dy * dy);
}
inline Vec2 Lerp(Vec2 a, Vec2 b, double t) { return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t}; }
inline double Cross(Vec2 a, Vec2 b) { return a.x * b.y - a.y * b.x; }

inline double DistanceToSegment(Vec2 p, Vec2 a, Vec2 b) {
  const Vec2 ab = b - a;
  const double length2 = ab.x * ab.x + ab.y * ab.y;
  const double t =
      length2 == 0 ? 0 : std::clamp(((p.x - a.x) * ab.x + (p.y - a.y) * ab.y) / length2, 0.0, 1.0);
  return Distance(p, a + ab * t);
}

inline double DistanceToPolyline(Vec2 p, const Polyline& line) {
  double best = line.empty() ? INFINITY : Distance(p, line.front());
  for (std::size_t k = 1; k < line.size(); ++k)
    best = std::min(best, DistanceToSegment(p, line[k - 1], line[k]));
  return best;
}

// Whether segments a-b and c-d cross at a point inside both.
inline bool SegmentsCross(Vec2 a, Vec2 b, Vec2 c, Vec2 d) {
  const double d1 = Cross(b - a, c - a), d2 = Cross(b - a, d - a);
  const double d3 = Cross(d - c, a - c), d4 = Cross(d - c, b - c);
  return ((d1 > 0) != (d2 > 0)) && ((d3 > 0) != (d4 > 0));
}

inline double PolylineLength(const Polyline& line) {
  double length = 0;
  for (std::size_t k = 1; k < line.size(); ++k) length += Distance(line[k - 1], line[k]);
  return length;
}

}  // namespace citygen
