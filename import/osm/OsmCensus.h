#pragma once
// A second, independent reading of an OpenStreetMap file (libosmium): what the file holds, to check
// that GDAL's driver lost nothing, and its bus route relations with their members in order, which
// GDAL's driver does not hand out.
#include <string>

#include "import/Progress.h"
#include "import/TransitNetwork.h"

namespace qiwu::import::osm {

struct Census {
  long taggedNodes = 0;  // nodes with a tag the driver counts as significant: its points
  long taggedWays = 0;  // ways of two nodes or more with a tag it does not ignore: its lines and closed areas
  // Of those, the members of multipolygon relations: the driver may fold them into the relation's area.
  long taggedWaysInAreas = 0;
  TransitNetwork bus;  // from type=route + route=bus relations; lines in natural order of their names
  // The first node that lies outside the world (a latitude beyond ±90, a longitude beyond ±180).
  long outsideNode = 0;
  LonLat outsideAt;
};

// Throws InputError when the file cannot be read, and when a string of its tags holds a NUL byte.
Census TakeCensus(const std::string& path, const Progress& progress);

}  // namespace qiwu::import::osm
