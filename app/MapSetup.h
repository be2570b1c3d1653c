#pragma once
// The set-ups a city load runs on the two maps after their workspaces: units, the main map's
// user tools, display limits and marker layer; the overview's frame layer.
#include <QString>

#include "map/Layer.h"
#include "map/MapTypes.h"
#include "mapwidgets/MapControl.h"

// The main map's view width stays within these (metres, both allowed).
constexpr double kMinViewWidth = 100;
constexpr double kMaxViewWidth = 46200;

// On the loaded main map: user tools 1 and 2, the view width limits for the user's zooming, the
// display limits of the eight named layers (only the first six at a city switch, the bus layers
// keeping the workspace's), and a new "tempPoint" layer stored in lyrTempPoint. A named layer missing
// from the workspace is a failure naming it (lyrTempPoint is then left as it was).
Outcome SetupMainMap(MapControl& map, bool atCitySwitch, Layer*& lyrTempPoint);

// Loads the overview workspace into overview (its "pg:" layers over serverConnection) and stores its
// new "rectlayer" in lyrRect. The overview's view changes only here: the user's wheel, keys and
// middle-button drag do not move it.
Outcome SetupOverviewMap(MapControl& overview, const QString& workspacePath, Layer*& lyrRect,
                         const QString& serverConnection = QString());
