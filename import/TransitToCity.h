#pragma once
// A bus network from any source into the city: stops, lines (numbered 1… in the network's order)
// and their routes, projected into the city's coordinates.
#include "dataset/City.h"
#include "import/MapProjection.h"
#include "import/TransitNetwork.h"

namespace qiwu::import {

void AddTransit(const TransitNetwork& network, const MapProjection& projection, citygen::City& city);
// The network's timetable (its platforms in longitude and latitude) as the city's, projected.
void AddTimetable(citygen::Timetable&& timetable, const MapProjection& projection, citygen::City& city);

}  // namespace qiwu::import
