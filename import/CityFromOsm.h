#pragma once
// An OpenStreetMap extract as the city's layers and tables, in the city's coordinates.
#include "dataset/City.h"
#include "import/MapProjection.h"
#include "import/osm/OsmReader.h"

namespace qiwu::import {

// Fills districts and their borders, waters, greens, roads, places, drawn ways, buildings and other
// names of `city` (its bus network is added apart, from whichever source gives it).
void AddOsmFeatures(const osm::Extract& extract, const MapProjection& projection, citygen::City& city);

}  // namespace qiwu::import
