#pragma once
// Tools that select features on the layers drawn at the current view: at a point (a point
// feature within 5 px, else the topmost feature there: FeaturePick.h), within a dragged circle (features
// whose centre lies inside) or a dragged rectangle (features lying inside). Shift adds to the selection;
// otherwise it is replaced.
#include <QPoint>
#include <optional>

#include "mapwidgets/tools/MapTool.h"

class SelectPointTool : public MapTool {
 public:
  using MapTool::MapTool;
  QCursor Cursor() const override { return Qt::PointingHandCursor; }
  void Release(QMouseEvent* event) override;
};

// Shared by the circle and rectangle tools: a left-button drag from a start point.
class DragSelectTool : public MapTool {
 public:
  using MapTool::MapTool;
  QCursor Cursor() const override { return Qt::CrossCursor; }
  void Press(QMouseEvent* event) override;
  void Move(QMouseEvent* event) override;
  void Release(QMouseEvent* event) override;
  void Deactivate() override { start_.reset(); }

 protected:
  // Adds what lies in the dragged shape to the selection of every selectable layer.
  virtual void Select(QPoint start, QPoint end) = 0;
  std::optional<QPoint> start_;
  QPoint end_;
};

class SelectRadiusTool : public DragSelectTool {
 public:
  using DragSelectTool::DragSelectTool;
  void PaintOverlay(QPainter& painter) const override;

 protected:
  void Select(QPoint start, QPoint end) override;
};

class SelectRectTool : public DragSelectTool {
 public:
  using DragSelectTool::DragSelectTool;
  void PaintOverlay(QPainter& painter) const override;

 protected:
  void Select(QPoint start, QPoint end) override;
};
