#pragma once
// The status bar under the main window: the cursor's position in the map's projection and in
// longitude and latitude, the scale 1:N, what is selected ("已选 5 个：餐饮娱乐") and the last
// measured distance ("上次测量 1,109 米"), which stays after the measuring line ends.
#include <QStatusBar>
#include <QString>
#include <memory>
#include <optional>

#include "map/MapTypes.h"

class LonLatTransform;
class MapControl;
class QLabel;

// The scale's N: the ground metres one screen metre shows. A pixel covers metresPerPixel of
// ground and 0.0254 / dpi metres of the screen, so N = metresPerPixel * dpi / 0.0254, with dpi
// the screen's physical dots per inch (in the same pixels the map is measured in).
double ScaleDenominator(double metresPerPixel, double dpi);

QString CursorText(MapPoint p);                        // "X 512,345.6  Y 3,301,234.5"
QString LonLatText(const std::optional<MapPoint>& p);  // "东经 120.12345°  北纬 30.12345°"
QString ScaleText(double metresPerPixel, double dpi);  // "比例尺 1:12,345"
QString SelectionText(const MapControl& map);          // "已选 5 个：餐饮娱乐", empty for none
QString LastMeasureText(double metres);                // "上次测量 1,109 米"

class StatusBar : public QStatusBar {
 public:
  explicit StatusBar(QWidget* parent);
  ~StatusBar() override;

  // The pointer at p (map coordinates) on map; converts with map's CRS, set up again when the
  // map has loaded another workspace.
  void ShowCursor(const MapControl& map, MapPoint p);
  void ShowScale(const MapControl& map);
  void ShowSelection(const MapControl& map);
  void ShowLastMeasure(double metres);

  QLabel* lblCursor;
  QLabel* lblLonLat;
  QLabel* lblScale;
  QLabel* lblSelection;
  QLabel* lblMeasure;

 private:
  QString projection_;
  std::unique_ptr<LonLatTransform> lonLat_;
};
