#pragma once
// A bus network from any source into the city: stops, lines (numbered 1… in the network's order)
// and their routes, projected into the city's coordinates.
#include "import/MapProjection.h"
#include "import/TransitNetwork.h"
#include "tools/citygen/City.h"

namespace qiwu::import {

void AddTransit(const TransitNetwork& network, const MapProjection& projection, citygen::City& city);

}  // namespace qiwu::import
