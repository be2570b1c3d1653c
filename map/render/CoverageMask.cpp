#include "map/render/CoverageMask.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

// Each 8-bit channel of x times a / 255.
std::uint32_t ByteMul(std::uint32_t x, std::uint32_t a) {
  std::uint32_t t = (x & 0xff00ff) * a;
  t = ((t + ((t >> 8) & 0xff00ff) + 0x800080) >> 8) & 0xff00ff;
  x = ((x >> 8) & 0xff00ff) * a;
  x = (x + ((x >> 8) & 0xff00ff) + 0x800080) & 0xff00ff00;
  return x | t;
}

// Without std::hypot's care for overflow, which screen pixels do not need and which costs.
double Length(double x, double y) { return std::sqrt(x * x + y * y); }

// The share of a pixel (a unit square) on the inner side of an edge whose unit normal has the
// components a >= b >= 0, the pixel's centre lying t inside it (negative: outside). This is the area
// a rasterizer covers, so that an edge at any angle shades as Qt's antialiasing shades it.
double EdgeCover(double t, double a, double b) {
  const double corner = (a + b) / 2;
  if (t >= corner) return 1;
  if (t <= -corner) return 0;
  if (b < 1e-9) return 0.5 + t;
  const double flat = (a - b) / 2;
  if (t > flat) return 1 - (corner - t) * (corner - t) / (2 * a * b);
  if (t < -flat) return (corner + t) * (corner + t) / (2 * a * b);
  return 0.5 + t / a;
}

}  // namespace

bool CoverageMask::Supports(const QImage& image) {
  return image.format() == QImage::Format_ARGB32_Premultiplied || image.format() == QImage::Format_RGB32;
}

void CoverageMask::Reset(QSize size) {
  if (size != size_) {
    size_ = size;
    cover_.assign(std::size_t(size.width()) * std::size_t(std::max(0, size.height())), 0);
    tilesAcross_ = (size.width() + kTile - 1) / kTile;
    touched_.assign(std::size_t(tilesAcross_) * std::size_t((std::max(0, size.height()) + kTile - 1) / kTile),
                    0);
  }
}

void CoverageMask::AddPolyline(std::span<const QPointF> line, double halfWidth) {
  const std::size_t n = line.size();
  if (n == 0 || halfWidth <= 0) return;
  if (n == 1) {
    AddSegment(line[0], line[0], halfWidth);
    return;
  }
  for (std::size_t i = 1; i < n; ++i) AddSegment(line[i - 1], line[i], halfWidth);
}

void CoverageMask::AddSegment(QPointF a, QPointF b, double half) {
  // Pixel x has its centre at x + 0.5. A pixel is covered by its area inside the segment's rectangle
  // (square ends reach `half` beyond a and b): inside both sides and both ends (EdgeCover). No pixel
  // whose centre lies `reach` or farther from the segment is touched.
  const double reach = half + 0.7072;
  const int x0 = std::max(0, int(std::ceil(std::min(a.x(), b.x()) - reach - 0.5)));
  const int x1 = std::min(size_.width() - 1, int(std::floor(std::max(a.x(), b.x()) + reach - 0.5)));
  const int y0 = std::max(0, int(std::ceil(std::min(a.y(), b.y()) - reach - 0.5)));
  const int y1 = std::min(size_.height() - 1, int(std::floor(std::max(a.y(), b.y()) + reach - 0.5)));
  if (x0 > x1 || y0 > y1) return;
  for (int ty = y0 / kTile; ty <= y1 / kTile; ++ty)
    for (int tx = x0 / kTile; tx <= x1 / kTile; ++tx) touched_[std::size_t(ty * tilesAcross_ + tx)] = 1;

  const double dx = b.x() - a.x(), dy = b.y() - a.y(), length = Length(dx, dy);
  // A zero-length segment is a dot: a square.
  const double ux = length > 0 ? dx / length : 1, uy = length > 0 ? dy / length : 0;
  const double slope = std::abs(uy) > 1e-9 ? ux / uy : 0,
               spread = std::abs(uy) > 1e-9 ? reach / std::abs(uy) : 0;
  const double normalA = std::max(std::abs(ux), std::abs(uy)), normalB = std::min(std::abs(ux), std::abs(uy));
  for (int y = y0; y <= y1; ++y) {
    const double cy = y + 0.5, vy = cy - a.y();
    int from = x0, to = x1;
    if (spread > 0) {
      // The pixel centres of this row within the band about the infinite line.
      const double cross = a.x() + vy * slope;
      from = std::max(x0, int(std::ceil(cross - spread - 0.5)));
      to = std::min(x1, int(std::floor(cross + spread - 0.5)));
    }
    unsigned char* row = cover_.data() + std::size_t(y) * std::size_t(size_.width());
    // Position of the pixel centre along the segment and across it, stepped along the row.
    double vx = from + 0.5 - a.x();
    double along = vx * ux + vy * uy, across = vx * uy - vy * ux;
    for (int x = from; x <= to; ++x, vx += 1, along += ux, across += uy) {
      const double side =
          EdgeCover(half - across, normalA, normalB) + EdgeCover(half + across, normalA, normalB) - 1;
      const double c = side * EdgeCover(half + along, normalA, normalB) *
                       EdgeCover(half + length - along, normalA, normalB);
      if (c <= 0) continue;
      const auto value = static_cast<unsigned char>(c >= 1 ? 255 : c * 255 + 0.5);
      // Laid over what earlier segments covered, as source-over blending lays one over another.
      row[x] = static_cast<unsigned char>(255 - (255 - row[x]) * (255 - value) / 255);
    }
  }
}

void CoverageMask::Composite(QImage& image, const QColor& color) {
  const std::uint32_t source = qPremultiply(color.rgba());
  for (std::size_t tile = 0; tile < touched_.size(); ++tile) {
    if (!touched_[tile]) continue;
    touched_[tile] = 0;
    const int left = int(tile % std::size_t(tilesAcross_)) * kTile,
              top = int(tile / std::size_t(tilesAcross_)) * kTile;
    const int right = std::min(left + kTile, std::min(size_.width(), image.width()));
    const int bottom = std::min(top + kTile, std::min(size_.height(), image.height()));
    for (int y = top; y < bottom; ++y) {
      auto* pixels = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
      unsigned char* row = cover_.data() + std::size_t(y) * std::size_t(size_.width());
      for (int x = left; x < right; ++x) {
        const std::uint32_t m = row[x];
        if (m == 0) continue;
        row[x] = 0;
        const std::uint32_t s = ByteMul(source, m);
        pixels[x] = s + ByteMul(pixels[x], 255 - (s >> 24));
      }
    }
  }
}
