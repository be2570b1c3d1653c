// The toolbar and the map events: tool choice, the view-width read-out and its clamp, the
// measuring read-out, the overview's recentring and the hand-over of point picks.
#include <QLabel>
#include <QTimer>
#include <array>
#include <cmath>
#include <optional>
#include <stdexcept>

#include "app/MapSetup.h"
#include "app/StatusBar.h"
#include "app/frmMain.h"
#include "data/CityVocabulary.h"
#include "features/NearestPanel.h"
#include "features/RadiusPanel.h"
#include "kit/Colors.h"
#include "kit/ImageControl.h"
#include "kit/NumberFormat.h"
#include "map/MapReach.h"
#include "mapwidgets/MapControl.h"
#include "mapwidgets/modMapFunction.h"

using namespace qiwu;

namespace {

constexpr quint32 kBlack = 0;
constexpr quint32 kBlue = 0xFF0000;
constexpr int kWholeMapButton = 4;

// The tool each toolbar button activates; the whole-map button keeps the current tool.
constexpr std::array<int, 9> kButtonTools = {
    kToolPointer, kToolZoomIn,      kToolZoomOut,      kToolPan,       0,
    kToolMeasure, kToolSelectPoint, kToolSelectRadius, kToolSelectRect};

// The whole city: the districts' extent, or, for a city whose district layer holds no area (an
// empty layer's extent is a point at 0,0), the extent of every feature on the map (nullopt when
// the map has none).
std::optional<MapRect> WholeCity(const Layer& districts, const MapControl& map) {
  const MapRect area = districts.Bounds();
  const bool finite = std::isfinite(area.minX) && std::isfinite(area.minY) && std::isfinite(area.maxX) &&
                      std::isfinite(area.maxY);
  if (finite && (area.Width() > 0 || area.Height() > 0)) return area;
  return LayersExtent(map.LayersBottomToTop());
}

}  // namespace

void frmMain::ReleaseToolButtons() {
  for (int i = 0; i < int(imgTools.size()); ++i) imgTools[i]->SetPicture(imgListTools.Picture(2 * i + 1));
}

void frmMain::imgTools_Click(int index) {
  if (index < 0 || index >= int(imgTools.size())) return;
  ReleaseToolButtons();
  if (index == kWholeMapButton) {
    const Layer* area = Map1->FindLayer(city::layer::kDistricts);
    if (!area) throw std::runtime_error(std::string("地图中没有图层“") + city::layer::kDistricts + "”");
    if (const std::optional<MapRect> whole = WholeCity(*area, *Map1)) Map1->SetBounds(*whole);
    return;
  }
  Map1->ActivateTool(kButtonTools[index]);
  imgTools[index]->SetPicture(imgListTools.Picture(2 * index + 2));
}

void frmMain::cmdClick_Click(int index) {
  Map1->ActivateTool(kToolPick);
  PickForRadius = index == 0;
}

// Only the point pick is handed on: to the search whose pick button was pressed last.
void frmMain::Map1_ToolCompleted(int tool, double x1, double y1) {
  if (tool != kToolPick) return;
  if (PickForRadius)
    radius->RadiusSearch(x1, y1, lyrTempPoint);
  else
    nearest->NearestSearch(x1, y1, lyrTempPoint);
}

// Setting the width from here raises a nested view change; that pass finds the width in range
// and only redraws the frame and the read-out.
void frmMain::Map1_ViewChanged() {
  if (Map1->ViewWidth() < kMinViewWidth) Map1->SetViewWidth(kMinViewWidth);
  if (Map1->ViewWidth() > kMaxViewWidth) Map1->SetViewWidth(kMaxViewWidth);
  // At start-up the main map's first view changes come before the overview has its frame layer;
  // the overview's load draws the first frame.
  if (lyrRect) DrawViewFrame(*Map1, *Map2, *lyrRect);
  SetForeColor(lblZoom, kBlue);
  lblZoom->setText(QStringLiteral("视野 ") + FormatGrouped(Map1->ViewWidth(), 2) + QStringLiteral(" 米"));
  Timer1->start();
  statusBar->ShowScale(*Map1);
}

void frmMain::Timer1_Timer() {
  SetForeColor(lblZoom, kBlack);
  Timer1->stop();
}

// The status bar keeps the length of a measuring line once it ends (finished or cancelled).
void frmMain::Map1_PolylineToolStep(int tool, int phase, const std::vector<MapPoint>& points) {
  SetForeColor(lblDist, kBlack);
  lblDist->setText(QStringLiteral("显示距离"));
  const bool ended = phase == kPolyToolEnd || phase == kPolyToolEndEscaped;
  if (ended && tool == kToolMeasure && points.size() >= 2) {
    double length = 0;
    for (std::size_t i = 0; i + 1 < points.size(); ++i)
      length += Map1->MeasureDistance(points[i].x, points[i].y, points[i + 1].x, points[i + 1].y);
    statusBar->ShowLastMeasure(length);
  }
  if (phase != kPolyToolInProgress || tool != kToolMeasure) return;
  double total = 0;
  for (std::size_t i = 0; i + 1 < points.size(); ++i) {
    total += Map1->MeasureDistance(points[i].x, points[i].y, points[i + 1].x, points[i + 1].y);
    SetForeColor(lblDist, kBlue);
    lblDist->setText(FormatGrouped(total, 0) + QStringLiteral(" 米"));
  }
}

void frmMain::Map2_MouseDown(double x, double y) {
  const MapPoint p = Map2->ScreenToMap(x, y);
  Map1->SetCenterX(p.x);
  Map1->SetCenterY(p.y);
}
