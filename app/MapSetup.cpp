#include "app/MapSetup.h"

#include "data/CityVocabulary.h"

namespace {

struct DisplayLimit {
  const char* layer;
  double maxViewWidth;  // metres
};

// In this order; a city switch applies only the first six, leaving the bus layers to the workspace.
constexpr DisplayLimit kDisplayLimits[] = {
    {city::layer::kDining, 3000},    {city::layer::kColleges, 2000}, {city::layer::kSights, 5000},
    {city::layer::kBanks, 2000},     {city::layer::kClinics, 2000},  {city::layer::kStreets, 3000},
    {city::layer::kBusLines, 10000}, {city::layer::kBusStops, 2000},
};
constexpr int kLimitsAtSwitch = 6;

}  // namespace

Outcome SetupMainMap(MapControl& map, bool atCitySwitch, Layer*& lyrTempPoint) {
  map.DefineUserTool(kToolPick, kUserToolPoint, kCursorCrossHair);
  map.DefineUserTool(kToolMeasure, kUserToolPolyline, kCursorCrossHair);
  map.SetUserZoomLimits(kMinViewWidth, kMaxViewWidth);

  const int count = atCitySwitch ? kLimitsAtSwitch : int(std::size(kDisplayLimits));
  for (int i = 0; i < count; ++i) {
    const QString name = QString::fromUtf8(kDisplayLimits[i].layer);
    Layer* layer = map.FindLayer(name);
    if (!layer)
      return Outcome::Failure(kMapErrorLayerMissing, QStringLiteral("地图工作空间中没有图层“%1”").arg(name));
    layer->SetMaxVisibleWidth(kDisplayLimits[i].maxViewWidth);
  }

  lyrTempPoint = map.CreateTemporaryLayer(QStringLiteral("tempPoint"));
  return {};
}

Outcome SetupOverviewMap(MapControl& overview, const QString& workspacePath, Layer*& lyrRect,
                         const QString& serverConnection) {
  const Outcome loaded = overview.LoadWorkspace(workspacePath, serverConnection);
  if (!loaded.ok()) return loaded;
  overview.SetUserNavigation(false);
  lyrRect = overview.CreateTemporaryLayer(QStringLiteral("rectlayer"));
  return {};
}
