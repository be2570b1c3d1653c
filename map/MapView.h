#pragma once
// What a map shows: a centre and a width in map coordinates (metres in the workspace CRS) on a
// surface of so many pixels. The view keeps the surface's aspect ratio, so its height in metres
// follows from the width. Screen y grows downwards, map y upwards. A plain value; the renderer
// takes a const MapView& and draws the layers at it.
#include <QPointF>
#include <QSize>
#include <algorithm>

#include "map/MapTypes.h"

class MapView {
 public:
  MapView() = default;
  // centre in map coordinates, width in metres (> 0), pixels: the surface size (empty counts as 1x1).
  MapView(MapPoint center, double width, QSize pixels) : center_(center), width_(width), pixels_(pixels) {}

  MapPoint Center() const { return center_; }
  double Width() const { return width_; }                                 // metres
  double Height() const { return width_ * PixelsHigh() / PixelsWide(); }  // metres
  QSize Pixels() const { return pixels_; }
  double PixelSize() const { return width_ / PixelsWide(); }  // metres per pixel

  // The visible map rectangle.
  MapRect Extent() const {
    const double halfW = Width() / 2, halfH = Height() / 2;
    return {center_.x - halfW, center_.y - halfH, center_.x + halfW, center_.y + halfH};
  }

  // Map coordinates to surface pixels (origin top left) and back.
  QPointF ToScreen(MapPoint p) const {
    const MapRect e = Extent();
    return {(p.x - e.minX) / PixelSize(), (e.maxY - p.y) / PixelSize()};
  }
  MapPoint ToMap(QPointF s) const {
    const MapRect e = Extent();
    return {e.minX + s.x() * PixelSize(), e.maxY - s.y() * PixelSize()};
  }

  void SetCenter(MapPoint center) { center_ = center; }
  void SetWidth(double width) { width_ = width; }
  void SetPixels(QSize pixels) { pixels_ = pixels; }

  // Centres the view on r and picks the smallest width that shows all of r on this surface.
  void FitRect(const MapRect& r) {
    center_ = {r.CenterX(), r.CenterY()};
    const double aspect = double(PixelsWide()) / PixelsHigh();
    width_ = std::max(r.Width(), r.Height() * aspect);
  }

  bool operator==(const MapView&) const = default;

 private:
  int PixelsWide() const { return std::max(1, pixels_.width()); }
  int PixelsHigh() const { return std::max(1, pixels_.height()); }

  MapPoint center_;
  double width_ = 1000;
  QSize pixels_{1, 1};
};
