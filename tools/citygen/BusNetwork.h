#pragma once
// Bus lines along the streets: a loop round the old town, ordinary numbered lines reaching into
// every part of the city, suburban feeders, tourist lines between sights, new-town lines and one
// long night line. Stops stand at lattice junctions and are shared by every line that passes.
#include "dataset/City.h"
#include "tools/citygen/Layout.h"
#include "tools/citygen/Names.h"
#include "tools/citygen/StreetNetwork.h"

namespace citygen {

void BuildBusNetwork(const Layout& layout, const StreetNetwork& streets, NameBook& names, int scale,
                     City& city);

}  // namespace citygen
