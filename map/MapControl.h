#pragma once
// The map control: a widget that shows a workspace's layers, keeps the view, runs the current
// tool and reports what the user did. Map1 (main map) and Map2 (overview) are two instances.
// Coordinates are metres in the workspace CRS; screen coordinates are widget pixels.
//
// Public interface (names are the program's own; the implementation may add to it):
//
//   MapResult LoadWorkspace(const QString& gstPath);   // replaces every layer, temporary ones too
//   void SetDistanceUnit(int unit);                    // 7 = metres
//   double ViewWidth() const;  void SetViewWidth(double metres);   // keeps the centre
//   double CenterX() const; double CenterY() const; void SetCenterX(double); void SetCenterY(double);
//   MapRect Bounds() const;  void SetBounds(const MapRect&);       // fits the rectangle, keeps aspect
//   void ActivateTool(int tool);  int CurrentTool() const;
//   void DefineUserTool(int number, int kind, int cursor);          // redefining is allowed
//   double MeasureDistance(double x1, double y1, double x2, double y2) const;   // metres, planar
//   MapPoint ScreenToMap(double sx, double sy) const;  QPointF MapToScreen(MapPoint) const;
//   void Redraw();
//   Layer* FindLayer(const QString& name) const;       // nullptr when absent
//   int LayerCount() const;  Layer* LayerAt(int position) const;   // 1 = top layer
//   Layer* CreateTemporaryLayer(const QString& name);  // inserted at position 1
//   void UnselectAll();
//   Feature MakePointFeature(MapPoint, const FeatureStyle&);
//   Feature MakeRegionFeature(const MapRect&, const FeatureStyle&);
//   Feature MakePolylineFeature(const std::vector<MapPoint>&, const FeatureStyle&);
//
// Signals (events): ToolCompleted(int tool, double x1, double y1, double x2, double y2,
// double distance, bool shift, bool ctrl); ViewChanged(); PolylineToolStep(int tool, int phase,
// const std::vector<MapPoint>& points, bool shift, bool ctrl); SelectionModified();
// MouseDown(int button, int shift, double x, double y)  (screen units, used by the overview).
//
// This header is completed by the map component's implementation.
