#include "map/MapSetup.h"

namespace {

struct DisplayLimit {
  const char* layer;
  double maxViewWidth;  // metres
};

// In this order; a city switch applies only the first six, leaving the bus layers to the workspace.
constexpr DisplayLimit kDisplayLimits[] = {
    {"餐饮娱乐", 3000}, {"大中专院校", 2000}, {"旅游景点", 5000},  {"金融银行", 2000},
    {"医院诊所", 2000}, {"路线", 3000},       {"公交路线", 10000}, {"公交站台", 2000},
};
constexpr int kLimitsAtSwitch = 6;

}  // namespace

MapResult SetupMainMap(MapControl& map, bool atCitySwitch, Layer*& lyrTempPoint) {
  map.SetDistanceUnit(kUnitMetres);
  map.DefineUserTool(kToolPick, kUserToolPoint, kCursorCrossHair);
  map.DefineUserTool(kToolMeasure, kUserToolPolyline, kCursorCrossHair);
  map.SetUserZoomLimits(kMinViewWidth, kMaxViewWidth);

  const int count = atCitySwitch ? kLimitsAtSwitch : int(std::size(kDisplayLimits));
  for (int i = 0; i < count; ++i) {
    const QString name = QString::fromUtf8(kDisplayLimits[i].layer);
    Layer* layer = map.FindLayer(name);
    if (!layer)
      return MapResult::Failure(kMapErrorLayerMissing,
                                QStringLiteral("地图工作空间中没有图层“%1”").arg(name));
    layer->SetMaxVisibleWidth(kDisplayLimits[i].maxViewWidth);
  }

  lyrTempPoint = map.CreateTemporaryLayer(QStringLiteral("tempPoint"));
  return {};
}

MapResult SetupOverviewMap(MapControl& overview, const QString& workspacePath, Layer*& lyrRect) {
  const MapResult loaded = overview.LoadWorkspace(workspacePath);
  if (!loaded.ok) return loaded;
  overview.SetUserNavigation(false);
  lyrRect = overview.CreateTemporaryLayer(QStringLiteral("rectlayer"));
  return {};
}
