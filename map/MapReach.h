#pragma once
// How far off the map a point a user gives may lie (a trip's end, coordinates typed into the search
// box): within 50 km of the extent of all the map's layers. A point farther away is no place of the
// city, and taking it would only feed absurd distances (1e300 m) to the searches, so it is refused.
#include <optional>
#include <vector>

#include "map/Layer.h"
#include "map/MapTypes.h"

inline constexpr double kMapReachMetres = 50000;

// The extent of every feature of the layers, temporary ones (markers, drawings) left out; nullopt
// when none of them has a feature.
std::optional<MapRect> LayersExtent(const std::vector<const Layer*>& layers);

// True when p lies inside extent or at most kMapReachMetres (straight line) from its edge; never
// for a point with a non-finite coordinate, nor when there is no extent.
bool WithinReach(const std::optional<MapRect>& extent, MapPoint p);
