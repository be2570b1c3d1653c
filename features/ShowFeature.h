#pragma once
// A feature a panel chose, shown on the main map: found by name, centred or framed and made the
// map's only selected feature (LocateFeature); "没有找到相应图元。 " when there is no such feature.
#include <QString>

class MapControl;

void ShowFeature(MapControl& map, const QString& layer, const QString& name);

// For a name whose layer is not known: the layers are tried from position 2 down (position 1 is
// the marker layer), so of a name in several layers the one nearest the top wins.
void ShowFeatureInAnyLayer(MapControl& map, const QString& name);
