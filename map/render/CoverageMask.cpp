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

// A share of a pixel (0 to 1) as a mask value.
int Value(double c) { return c <= 0 ? 0 : c >= 1 ? 255 : int(c * 255 + 0.5); }

// Lays a mask value over a mask pixel, as source-over blending lays one shape over another.
void Lay(unsigned char& pixel, int value) {
  pixel = static_cast<unsigned char>(255 - (255 - pixel) * (255 - value) / 255);
}

void LayRun(unsigned char* first, unsigned char* last, int value) {
  if (value == 255) {
    std::fill(first, last, 255);
    return;
  }
  if (value > 0)
    for (; first != last; ++first) Lay(*first, value);
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
  const bool level = std::abs(uy) <= 1e-9, upright = std::abs(ux) <= 1e-9;
  const double slope = level || upright ? 0 : ux / uy, spread = level ? 0 : reach / std::abs(uy);
  const double normalA = std::max(std::abs(ux), std::abs(uy)), normalB = std::min(std::abs(ux), std::abs(uy));
  // A pixel whose centre lies `corner` or more inside an edge is wholly inside it.
  const double corner = (normalA + normalB) / 2;
  const double fullSpread = level || half < corner ? -1 : (half - corner) / std::abs(uy);
  // The middle of the segment, between its soft ends, where only the sides shade: along runs from
  // corner - half to length + half - corner.
  const double middleFrom = corner - half, middleTo = length + half - corner, perUx = upright ? 0 : 1 / ux;
  const auto sides = [&](double across) {
    return EdgeCover(half - across, normalA, normalB) + EdgeCover(half + across, normalA, normalB) - 1;
  };
  const auto ends = [&](double along) {
    return EdgeCover(half + along, normalA, normalB) * EdgeCover(half + length - along, normalA, normalB);
  };
  columns_.clear();
  for (int y = y0; y <= y1; ++y) {
    const double vy = y + 0.5 - a.y();
    // Where the line crosses the row, less half a pixel: the pixel whose centre is on it.
    const double cross = a.x() + vy * slope - 0.5;
    int from = x0, to = x1;
    if (!level) {  // the pixel centres of this row within the band about the infinite line
      from = std::max(x0, int(std::ceil(cross - spread)));
      to = std::min(x1, int(std::floor(cross + spread)));
    }
    unsigned char* row = cover_.data() + std::size_t(y) * std::size_t(size_.width());
    // The position of pixel x's centre along the segment and across it.
    const auto along = [&](int x) { return (x + 0.5 - a.x()) * ux + vy * uy; };
    const auto across = [&](int x) { return (x + 0.5 - a.x()) * uy - vy * ux; };
    int midFrom = to + 1, midTo = to;
    if (middleFrom > middleTo) {
      // too short to have a middle
    } else if (!upright) {
      const double at = a.x() - 0.5 - vy * uy * perUx;
      double e0 = at + middleFrom * perUx, e1 = at + middleTo * perUx;
      if (e0 > e1) std::swap(e0, e1);
      midFrom = std::max(from, int(std::ceil(e0)));
      midTo = std::min(to, int(std::floor(e1)));
      if (midFrom > midTo) midFrom = to + 1, midTo = to;
    } else if (vy * uy >= middleFrom && vy * uy <= middleTo) {
      midFrom = from, midTo = to;
    }
    for (int x = from; x < midFrom; ++x) Lay(row[x], Value(sides(across(x)) * ends(along(x))));
    for (int x = midTo + 1; x <= to; ++x) Lay(row[x], Value(sides(across(x)) * ends(along(x))));
    if (midFrom > midTo) continue;
    if (level) {  // the sides are the same all along a level row
      LayRun(row + midFrom, row + midTo + 1, Value(sides(-vy * ux)));
      continue;
    }
    if (upright) {  // and the middle rows of an upright segment are all alike
      if (columns_.empty())
        for (int x = from; x <= to; ++x) columns_.push_back(Value(sides(across(x))));
      for (int x = from; x <= to; ++x) Lay(row[x], columns_[std::size_t(x - from)]);
      continue;
    }
    // Wholly covered: centres `corner` or more inside both sides.
    const int fullFrom = std::max(midFrom, int(std::ceil(cross - fullSpread))),
              fullTo = std::min(midTo, int(std::floor(cross + fullSpread)));
    const auto shade = [&](int first, int last) {
      for (int x = first; x <= last; ++x) Lay(row[x], Value(sides(across(x))));
    };
    if (fullFrom > fullTo) {
      shade(midFrom, midTo);
      continue;
    }
    shade(midFrom, fullFrom - 1);
    std::memset(row + fullFrom, 255, std::size_t(fullTo - fullFrom + 1));
    shade(fullTo + 1, midTo);
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
