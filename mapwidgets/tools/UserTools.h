#pragma once
// The program's own tools (DefineUserTool): one point, reported by ToolCompleted; and a
// polyline, reported vertex by vertex through PolylineToolStep.
#include <vector>

#include "map/MapTypes.h"
#include "mapwidgets/tools/MapTool.h"

class UserPointTool : public MapTool {
 public:
  UserPointTool(MapControl& map, int number, QCursor cursor) : MapTool(map, number), cursor_(cursor) {}
  QCursor Cursor() const override { return cursor_; }
  void Release(QMouseEvent* event) override;

 private:
  QCursor cursor_;
};

// Clicks add vertices (phase kPolyToolBegin for the first, kPolyToolInProgress for each further
// one), a double click finishes (kPolyToolEnd), Esc or a change of tool cancels (kPolyToolEndEscaped).
class UserPolylineTool : public MapTool {
 public:
  UserPolylineTool(MapControl& map, int number, QCursor cursor) : MapTool(map, number), cursor_(cursor) {}
  QCursor Cursor() const override { return cursor_; }
  void Press(QMouseEvent* event) override;
  void Move(QMouseEvent* event) override;
  void DoubleClick(QMouseEvent* event) override;
  void Key(QKeyEvent* event) override;
  // A line left half-drawn for another tool ends as a cancel does.
  void Deactivate() override;
  void PaintOverlay(QPainter& painter) const override;

 private:
  void Finish(int phase, Qt::KeyboardModifiers modifiers);

  QCursor cursor_;
  std::vector<MapPoint> points_;
  MapPoint cursorPoint_;
};
