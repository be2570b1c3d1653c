#include "map/render/ScreenGeometry.h"

#include <QLineF>
#include <algorithm>
#include <cmath>

void ToScreen(std::span<const MapPoint> part, const ScreenTransform& xf, double minStep, QPolygonF& out) {
  out.clear();
  if (part.empty()) return;
  out.reserve(qsizetype(part.size()));
  QPointF last = xf(part.front());
  out.append(last);
  const size_t n = part.size();
  for (size_t i = 1; i < n; ++i) {
    const QPointF p = xf(part[i]);
    if (std::abs(p.x() - last.x()) < minStep && std::abs(p.y() - last.y()) < minStep && i + 1 < n) continue;
    out.append(p);
    last = p;
  }
}

std::vector<QPolygonF> ClipPolyline(const QPolygonF& line, const QRectF& rect) {
  std::vector<QPolygonF> pieces;
  QPolygonF current;
  for (qsizetype i = 1; i < line.size(); ++i) {
    // Liang-Barsky on the segment line[i-1] -> line[i].
    const QPointF a = line[i - 1], d = line[i] - a;
    double t0 = 0, t1 = 1;
    const double p[] = {-d.x(), d.x(), -d.y(), d.y()};
    const double q[] = {a.x() - rect.left(), rect.right() - a.x(), a.y() - rect.top(), rect.bottom() - a.y()};
    bool inside = true;
    for (int k = 0; k < 4 && inside; ++k) {
      if (p[k] == 0) {
        inside = q[k] >= 0;
      } else {
        const double t = q[k] / p[k];
        if (p[k] < 0)
          t0 = std::max(t0, t);
        else
          t1 = std::min(t1, t);
        inside = t0 <= t1;
      }
    }
    if (!inside) {
      if (current.size() > 1) pieces.push_back(current);
      current.clear();
      continue;
    }
    const QPointF from = a + d * t0, to = a + d * t1;
    if (current.isEmpty() || current.last() != from) {
      if (current.size() > 1) pieces.push_back(current);
      current = {from};
    }
    current.append(to);
    if (t1 < 1) {
      pieces.push_back(current);
      current.clear();
    }
  }
  if (current.size() > 1) pieces.push_back(current);
  return pieces;
}

QPolygonF ClipRing(const QPolygonF& ring, const QRectF& rect) {
  QPolygonF out = ring;
  // One pass per edge of rect: keep what lies on the inner side of it.
  const auto clipEdge = [&](auto inside, auto cross) {
    const QPolygonF in = out;
    out.clear();
    for (qsizetype i = 0; i < in.size(); ++i) {
      const QPointF cur = in[i], prev = in[(i + in.size() - 1) % in.size()];
      if (inside(cur)) {
        if (!inside(prev)) out.append(cross(prev, cur));
        out.append(cur);
      } else if (inside(prev)) {
        out.append(cross(prev, cur));
      }
    }
  };
  const auto atX = [](QPointF a, QPointF b, double x) {
    return QPointF(x, a.y() + (b.y() - a.y()) * (x - a.x()) / (b.x() - a.x()));
  };
  const auto atY = [](QPointF a, QPointF b, double y) {
    return QPointF(a.x() + (b.x() - a.x()) * (y - a.y()) / (b.y() - a.y()), y);
  };
  clipEdge([&](QPointF p) { return p.x() >= rect.left(); },
           [&](QPointF a, QPointF b) { return atX(a, b, rect.left()); });
  clipEdge([&](QPointF p) { return p.x() <= rect.right(); },
           [&](QPointF a, QPointF b) { return atX(a, b, rect.right()); });
  clipEdge([&](QPointF p) { return p.y() >= rect.top(); },
           [&](QPointF a, QPointF b) { return atY(a, b, rect.top()); });
  clipEdge([&](QPointF p) { return p.y() <= rect.bottom(); },
           [&](QPointF a, QPointF b) { return atY(a, b, rect.bottom()); });
  return out;
}

bool LabelPoint(const std::vector<QPolygonF>& rings, QPointF& out) {
  if (rings.empty() || rings.front().size() < 3) return false;
  const QPolygonF& outer = rings.front();
  double area2 = 0, cx = 0, cy = 0;
  for (qsizetype i = 0; i < outer.size(); ++i) {
    const QPointF a = outer[i], b = outer[(i + 1) % outer.size()];
    const double cross = a.x() * b.y() - b.x() * a.y();
    area2 += cross;
    cx += (a.x() + b.x()) * cross;
    cy += (a.y() + b.y()) * cross;
  }
  if (std::abs(area2) < 1e-9) return false;
  const QPointF centroid(cx / (3 * area2), cy / (3 * area2));
  const bool inside =
      std::count_if(rings.begin(), rings.end(),
                    [&](const QPolygonF& ring) { return ring.containsPoint(centroid, Qt::OddEvenFill); }) %
          2 ==
      1;
  if (inside) {
    out = centroid;
    return true;
  }
  // Crossings of the horizontal line through the centroid; inside runs lie between pairs of them.
  std::vector<double> xs;
  for (const QPolygonF& ring : rings) {
    for (qsizetype i = 0; i < ring.size(); ++i) {
      const QPointF a = ring[i], b = ring[(i + 1) % ring.size()];
      if ((a.y() <= centroid.y()) != (b.y() <= centroid.y())) {
        xs.push_back(a.x() + (centroid.y() - a.y()) * (b.x() - a.x()) / (b.y() - a.y()));
      }
    }
  }
  std::sort(xs.begin(), xs.end());
  double best = 0;
  for (size_t i = 0; i + 1 < xs.size(); i += 2) {
    if (xs[i + 1] - xs[i] > best) {
      best = xs[i + 1] - xs[i];
      out = QPointF((xs[i] + xs[i + 1]) / 2, centroid.y());
    }
  }
  return best > 0;
}

QPainterPath Battlements(const QPolygonF& path, double size, double offset) {
  QPainterPath teeth;
  const double period = 2 * size;
  double next = size / 2;  // arc length of the next tooth's start
  double walked = 0;
  for (qsizetype i = 1; i < path.size(); ++i) {
    const QLineF segment(path[i - 1], path[i]);
    const double length = segment.length();
    if (length <= 0) continue;
    const QPointF along = (path[i] - path[i - 1]) / length;
    const QPointF normal(along.y(), -along.x());  // left of the direction of travel, y down
    while (next + size <= walked + length) {
      const QPointF base = path[i - 1] + along * (next - walked);
      const QPointF inner = base + normal * offset;
      const QPointF outer = base + normal * (offset + size);
      teeth.addPolygon(QPolygonF({inner, inner + along * size, outer + along * size, outer, inner}));
      next += period;
    }
    walked += length;
    // A tooth that would straddle a corner starts on the next segment instead.
    next = std::max(next, walked);
  }
  return teeth;
}
