#pragma once
// Tools that move the view: pan (drag) and zoom in/out (click about the point, drag a rectangle
// to zoom into it).
#include <QPoint>
#include <optional>

#include "mapwidgets/tools/MapTool.h"

// Moves the last image with the mouse and sets the new view on release.
class PanTool : public MapTool {
 public:
  using MapTool::MapTool;
  QCursor Cursor() const override { return dragStart_ ? Qt::ClosedHandCursor : Qt::OpenHandCursor; }
  void Press(QMouseEvent* event) override;
  void Move(QMouseEvent* event) override;
  void Release(QMouseEvent* event) override;
  void Deactivate() override;

 private:
  std::optional<QPoint> dragStart_;
};

// factor > 1 zooms in (the view gets factor times narrower), < 1 zooms out. A click keeps the
// clicked point at the view's centre; a drag (zoom in only) shows the dragged rectangle.
class ZoomTool : public MapTool {
 public:
  ZoomTool(MapControl& map, int number, double factor) : MapTool(map, number), factor_(factor) {}
  QCursor Cursor() const override { return Qt::CrossCursor; }
  void Press(QMouseEvent* event) override;
  void Move(QMouseEvent* event) override;
  void Release(QMouseEvent* event) override;
  void Deactivate() override { dragStart_.reset(); }
  void PaintOverlay(QPainter& painter) const override;

 private:
  bool Dragging() const;

  double factor_;
  std::optional<QPoint> dragStart_;
  QPoint dragEnd_;
};

// A press and release at most this many pixels apart count as a click.
constexpr int kClickSlopPixels = 4;
