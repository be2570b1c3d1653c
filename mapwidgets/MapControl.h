#pragma once
// The map control: a widget that shows a workspace's layers, keeps the view, runs the current
// tool and reports what the user did. Map1 (main map) and Map2 (overview) are two instances.
// Coordinates are metres in the workspace CRS; screen coordinates are widget pixels.
// The control owns its layers and its tools; pointers it hands out live until the next
// LoadWorkspace (layers) or until the control is destroyed.
#include <QImage>
#include <QPoint>
#include <QWidget>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "map/Feature.h"
#include "map/Layer.h"
#include "map/MapTypes.h"
#include "map/MapView.h"
#include "map/Renderer.h"
#include "map/render/RenderWorker.h"

class MapTool;

class MapControl : public QWidget, public LayerHost {
  Q_OBJECT

 public:
  explicit MapControl(QWidget* parent = nullptr);
  ~MapControl() override;

  // Reads a .gst workspace and replaces every layer, temporary ones too; sets the view from
  // its CENTER and ZOOMLEVEL. Its "pg:" layers come over serverConnection (empty for a file city).
  // On failure the map keeps what it had.
  Outcome LoadWorkspace(const QString& gstPath, const QString& serverConnection = QString());
  // The loaded workspace's CRS as it wrote it (EPSG:n or WKT); empty before a load.
  const QString& Projection() const { return projection_; }
  // Draws the scale bar over the map (off unless set).
  void SetScaleBar(bool on);

  // The view. Every change emits ViewChanged.
  double ViewWidth() const { return view_.Width(); }  // metres across the widget
  void SetViewWidth(double metres);                   // keeps the centre
  double CenterX() const { return view_.Center().x; }
  double CenterY() const { return view_.Center().y; }
  void SetCenterX(double x);
  void SetCenterY(double y);
  MapRect Bounds() const { return view_.Extent(); }
  void SetBounds(const MapRect& r);  // centres r and fits it inside the widget
  const MapView& View() const { return view_; }
  void SetView(const MapView& view);  // centre and width of view (pixels stay the widget's)
  // Moves the view as a drag of offset pixels would: the map follows the hand.
  void PanByPixels(QPoint offset);
  // Multiplies the view width by factor about the screen point anchor, which stays put. The
  // factor is cut so that the width does not cross the user zoom limits.
  void ZoomAbout(QPointF anchor, double factor);

  // The user's own navigation, besides the tools: the wheel zooms about the cursor, a
  // middle-button drag pans, the arrow keys pan and + and - zoom. On unless switched off; it
  // stays within these widths (metres), unlimited unless set.
  void SetUserNavigation(bool enabled) { userNavigation_ = enabled; }
  void SetUserZoomLimits(double minWidth, double maxWidth);

  // Tools: built-in 1000..1009 and user tools defined with DefineUserTool.
  void ActivateTool(int tool);  // an undefined number leaves the current tool
  int CurrentTool() const { return currentTool_; }
  // kind kUserToolPoint or kUserToolPolyline; cursor kCursorCrossHair or 0 (arrow). Redefining replaces.
  void DefineUserTool(int number, int kind, int cursor);

  // Planar distance in metres between two map points.
  double MeasureDistance(double x1, double y1, double x2, double y2) const;
  MapPoint ScreenToMap(double sx, double sy) const { return view_.ToMap({sx, sy}); }
  QPointF MapToScreen(MapPoint p) const { return view_.ToScreen(p); }
  // Draws the map again from its layers. Drawing runs on a thread of its own, from a snapshot of the
  // layers taken when it starts; until it is done the last frame is shown, moved and scaled to the
  // view. FrameReady is emitted when the frame of the current view and layers is complete.
  void Redraw();
  // Starts the frame now if one is due, and waits (running the event loop) until FrameReady, at most
  // timeoutMs; false on timeout. For tests and tools that read the picture.
  bool WaitForFrame(int timeoutMs = 30000);
  // The last complete frame and the view it shows.
  const QImage& Frame() const { return cache_; }
  const MapView& FrameView() const { return cacheView_; }

  // Layers: position 1 is the top (drawn last).
  Layer* FindLayer(const QString& name) const;  // nullptr when absent
  int LayerCount() const { return int(layers_.size()); }
  Layer* LayerAt(int position) const;                // 1..LayerCount(), nullptr outside
  Layer* CreateTemporaryLayer(const QString& name);  // empty, editable, at position 1
  std::vector<const Layer*> LayersBottomToTop() const;
  void UnselectAll();

  // Free-standing features in map coordinates, to be inserted into a layer.
  Feature MakePointFeature(MapPoint p, const FeatureStyle& style) const;
  Feature MakeRegionFeature(const MapRect& r, const FeatureStyle& style) const;
  Feature MakePolylineFeature(const std::vector<MapPoint>& points, const FeatureStyle& style) const;

  // Used by the tools: a drag preview that shifts the last image by offset pixels, and redraws
  // of the tool's own overlay (rubber bands).
  void SetPanOffset(QPoint offset);
  void UpdateOverlay() { update(); }
  // The layers the selection tools work on: drawn at the current view, not temporary; top first.
  std::vector<Layer*> SelectableLayers() const;

  // LayerHost
  void LayerSelectionChanged(Layer& layer) override;
  void LayerContentChanged(Layer& layer) override;
  double PickTolerance() const override;  // a few pixels in metres

 signals:
  void ToolCompleted(int tool, double x1, double y1, double x2, double y2, double distance, bool shift,
                     bool ctrl);
  void ViewChanged();
  void PolylineToolStep(int tool, int phase, const std::vector<MapPoint>& points, bool shift, bool ctrl);
  void SelectionModified();
  // A button press on the map: button (1 left, 2 right, 4 middle), shift state (1 shift, 2 ctrl,
  // 4 alt), x, y in screen units (pixels).
  void MouseDown(int button, int shift, double x, double y);
  // The pointer moved over the map, now at (x, y) in map coordinates.
  void CursorMoved(double x, double y);
  // The frame of the current view and layers is drawn (Frame()).
  void FrameReady();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void ApplyView(MapView view);
  bool NavigateByKey(int key);           // true when key is one of the navigation keys
  void StartFrame();                     // asks the worker for the frame of the view and layers now
  void FrameDrawn(RenderedFrame frame);  // on the window's thread
  MapTool& Tool() const { return *tools_.at(currentTool_); }

  // UnselectAll clears layer after layer but reports one change.
  bool batchingSelection_ = false;
  bool selectionChangedInBatch_ = false;

  std::vector<std::unique_ptr<Layer>> layers_;  // position 1 first
  std::map<int, std::unique_ptr<MapTool>> tools_;
  int currentTool_ = kToolPointer;
  MapView view_;
  QImage cache_;                   // the last frame drawn
  MapView cacheView_;              // the view cache_ was drawn at
  bool cacheDirty_ = true;         // a frame is due
  std::uint64_t frameWanted_ = 0;  // the number of the latest request
  std::uint64_t frameShown_ = 0;   // the number of the frame in cache_
  QPoint panOffset_;
  bool userNavigation_ = true;
  bool scaleBar_ = false;
  QString projection_;
  double minUserWidth_ = 0;
  double maxUserWidth_ = std::numeric_limits<double>::infinity();
  std::optional<QPoint> middleDragStart_;  // where a middle-button pan began
  std::unique_ptr<RenderWorker> worker_;   // its renderer's caches serve this map only
};
