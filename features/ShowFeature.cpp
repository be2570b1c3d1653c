#include "features/ShowFeature.h"

#include "kit/Messages.h"
#include "mapwidgets/MapControl.h"
#include "mapwidgets/modMapFunction.h"

namespace {
void SayNotFound() { qiwu::MsgBox(QStringLiteral("没有找到相应图元。 \r\n"), qiwu::MsgIcon::Information); }
}  // namespace

void ShowFeature(MapControl& map, const QString& layer, const QString& name) {
  if (!LocateFeature(map, layer, QStringLiteral("name"), name)) SayNotFound();
}

void ShowFeatureInAnyLayer(MapControl& map, const QString& name) {
  for (const Layer* layer : LayersBelowMarker(map))
    if (LocateFeature(map, layer->Name(), QStringLiteral("name"), name)) return;
  SayNotFound();
}
