#pragma once
// A map tool: the map control forwards its mouse and key events to the current tool, which
// works only through the control's public operations and draws its rubber band on top.
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

class MapControl;

class MapTool {
 public:
  MapTool(MapControl& map, int number) : map_(map), number_(number) {}
  virtual ~MapTool() = default;
  MapTool(const MapTool&) = delete;
  MapTool& operator=(const MapTool&) = delete;

  int Number() const { return number_; }
  virtual QCursor Cursor() const { return Qt::ArrowCursor; }

  virtual void Press(QMouseEvent*) {}
  virtual void Move(QMouseEvent*) {}
  virtual void Release(QMouseEvent*) {}
  virtual void DoubleClick(QMouseEvent*) {}
  virtual void Key(QKeyEvent*) {}
  // Called when another tool takes over: drop any half-done gesture.
  virtual void Deactivate() {}
  // Draws the rubber band in widget pixels.
  virtual void PaintOverlay(QPainter&) const {}

 protected:
  MapControl& map_;

 private:
  int number_;
};
