#pragma once
// Where the result table's rows lie: the rows of the main map's selection, and each row's place in
// map metres and in WGS 84 degrees.
#include <vector>

#include "features/ResultRows.h"

class MapControl;

// Every selected feature of the map's layers from the top down (temporary layers left out), in
// each selection's order: its name, its layer as type, every field of its layer as attributes and
// its centre.
std::vector<ResultRow> RowsOfSelection(const MapControl& map);

// Gives every row its place. A row without one takes the feature of its name the keyword pick
// finds: in its own type's layer first, else the first layer holding the name walking the city's
// layers from the top down; a name on no layer keeps no place. Longitude and latitude are the place
// in WGS 84, converted from the map's projection (none when it does not convert).
void FillPlaces(MapControl& map, std::vector<ResultRow>& rows);
