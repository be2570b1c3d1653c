#pragma once
// A second, independent reading of an OpenStreetMap file (libosmium): what the file holds, to check
// that GDAL's driver lost nothing, and its route relations of every mode of transit with their
// members in order, which GDAL's driver does not hand out.
#include <string>
#include <utility>
#include <vector>

#include "import/Progress.h"
#include "import/TransitNetwork.h"

namespace qiwu::import::osm {

struct Census {
  long taggedNodes = 0;  // nodes with a tag the driver counts as significant: its points
  long taggedWays = 0;  // ways of two nodes or more with a tag it does not ignore: its lines and closed areas
  // Of those, the members of multipolygon relations: the driver may fold them into the relation's area.
  long taggedWaysInAreas = 0;
  // From type=route relations of the modes of transit (RouteMode); lines in natural order of their names.
  TransitNetwork transit;
  // The multipolygon and boundary relations, by id, with their main tag (MainTag): the driver
  // hands out those it can assemble.
  std::vector<std::pair<long, std::string>> areaRelations;
  LonLatBox bounds;  // the file's own (<bounds>, a PBF header's box); empty when it gives none
  // The first node that lies outside the world (a latitude beyond ±90, a longitude beyond ±180).
  long outsideNode = 0;
  LonLat outsideAt;
};

// Names of lines and stops are taken from the first of `nameKeys` that holds one. Route relations
// are counted into `report`: kept as their mode, or left out (another route value, fewer than two
// stops). Throws InputError when the file cannot be read, and when a string of its tags holds a
// NUL byte.
Census TakeCensus(const std::string& path, const std::vector<std::string>& nameKeys, SourceReport& report,
                  const Progress& progress);

}  // namespace qiwu::import::osm
