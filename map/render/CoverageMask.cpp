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

double Clamp01(double v) { return v <= 0 ? 0 : v >= 1 ? 1 : v; }

}  // namespace

bool CoverageMask::Supports(const QImage& image) {
  return image.format() == QImage::Format_ARGB32_Premultiplied || image.format() == QImage::Format_RGB32;
}

void CoverageMask::Reset(QSize size) {
  if (size != size_) {
    size_ = size;
    cover_.assign(std::size_t(size.width()) * std::size_t(std::max(0, size.height())), 0);
  }
  dirty_ = QRect();
}

void CoverageMask::AddPolyline(std::span<const QPointF> line, double halfWidth, bool closed) {
  const std::size_t n = line.size();
  if (n == 0 || halfWidth <= 0) return;
  if (n == 1) {
    AddSegment(line[0], line[0], halfWidth, !closed, !closed);
    return;
  }
  for (std::size_t i = 1; i < n; ++i)
    AddSegment(line[i - 1], line[i], halfWidth, !closed && i == 1, !closed && i + 1 == n);
}

void CoverageMask::AddSegment(QPointF a, QPointF b, double half, bool squareStart, bool squareEnd) {
  const double reach = half + 1;
  const int x0 = std::max(0, int(std::floor(std::min(a.x(), b.x()) - reach)));
  const int x1 = std::min(size_.width() - 1, int(std::ceil(std::max(a.x(), b.x()) + reach)));
  const int y0 = std::max(0, int(std::floor(std::min(a.y(), b.y()) - reach)));
  const int y1 = std::min(size_.height() - 1, int(std::ceil(std::max(a.y(), b.y()) + reach)));
  if (x0 > x1 || y0 > y1) return;
  dirty_ |= QRect(QPoint(x0, y0), QPoint(x1, y1));

  const double dx = b.x() - a.x(), dy = b.y() - a.y(), length = std::hypot(dx, dy);
  // A zero-length segment is a dot: a square or a disc.
  const double ux = length > 0 ? dx / length : 1, uy = length > 0 ? dy / length : 0;
  const double edge = half + 0.5;  // pixel centres this far from the line are just not covered
  for (int y = y0; y <= y1; ++y) {
    const double cy = y + 0.5;
    int from = x0, to = x1;
    if (std::abs(uy) > 1e-9) {
      // The pixel centres of this row within the band about the infinite line.
      const double cross = a.x() + (cy - a.y()) * ux / uy, span = edge / std::abs(uy);
      from = std::max(x0, int(std::floor(cross - span - 0.5)));
      to = std::min(x1, int(std::ceil(cross + span - 0.5)));
    }
    unsigned char* row = cover_.data() + std::size_t(y) * std::size_t(size_.width());
    for (int x = from; x <= to; ++x) {
      const double vx = x + 0.5 - a.x(), vy = cy - a.y();
      const double along = vx * ux + vy * uy, across = std::abs(vx * uy - vy * ux);
      double c;
      if (along < 0) {
        c = squareStart ? std::min(Clamp01(edge - across), Clamp01(edge + along))
                        : Clamp01(edge - std::hypot(vx, vy));
      } else if (along > length) {
        c = squareEnd ? std::min(Clamp01(edge - across), Clamp01(edge - (along - length)))
                      : Clamp01(edge - std::hypot(x + 0.5 - b.x(), cy - b.y()));
      } else {
        c = Clamp01(edge - across);
      }
      const auto value = static_cast<unsigned char>(c * 255 + 0.5);
      if (value > row[x]) row[x] = value;
    }
  }
}

void CoverageMask::Composite(QImage& image, const QColor& color) {
  if (dirty_.isEmpty()) return;
  const QRect area = dirty_ & image.rect();
  const std::uint32_t source = qPremultiply(color.rgba());
  for (int y = area.top(); y <= area.bottom(); ++y) {
    auto* pixels = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
    unsigned char* row = cover_.data() + std::size_t(y) * std::size_t(size_.width());
    for (int x = area.left(); x <= area.right(); ++x) {
      const std::uint32_t m = row[x];
      if (m == 0) continue;
      row[x] = 0;
      const std::uint32_t s = ByteMul(source, m);
      pixels[x] = s + ByteMul(pixels[x], 255 - (s >> 24));
    }
  }
  dirty_ = QRect();
}
