#pragma once
// Every city has at least one 行政区域 feature, so that the whole-city view and the overview show
// it: when the extract gives no administrative areas, the extract's own bounds stand in, else the
// convex hull of everything the city holds; either is named after the city.
#include "dataset/City.h"
#include "import/MapProjection.h"
#include "import/TransitNetwork.h"

namespace qiwu::import {

// Adds the outline when city.districts is empty; `bounds` is the extract's own box (may be empty).
void EnsureCityOutline(const LonLatBox& bounds, const MapProjection& projection, citygen::City& city);

}  // namespace qiwu::import
