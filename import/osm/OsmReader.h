#pragma once
// The features of an OpenStreetMap file (.osm or .osm.pbf) that a city map shows, read through
// GDAL's OSM driver with our osmconf.ini, in longitude and latitude. The driver is read
// interleaved and its temporary files go to a private folder; what it hands out is counted
// against what the file holds, and a shortfall is an error, never a silently thinner city.
#include <ogr_geometry.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dataset/City.h"
#include "import/Progress.h"
#include "import/TransitNetwork.h"

namespace qiwu::import::osm {

struct Place {
  std::string name;
  citygen::PoiType type;
  LonLat at;  // a point on the surface of an area
  std::string operatorName, tel, address, web;
};

struct Way {
  std::string name;
  std::unique_ptr<OGRGeometry> shape;  // lon/lat
};

struct Road : Way {
  citygen::RoadClass roadClass;
};

struct Boundary : Way {
  int adminLevel;
};

struct Extract {
  std::vector<Place> places;
  std::vector<Road> roads;
  std::vector<Way> waters, greens;
  std::vector<Boundary> boundaries;
  TransitNetwork bus;                    // from bus route relations
  OGREnvelope extent;                    // of every feature read
  std::map<std::string, long> perLayer;  // features the driver handed out, by its layer
};

// The text of our osmconf.ini (embedded in the program).
const char* OsmConfiguration();

// Reads `path`; `privateFolder` is a writable folder of the caller's for the driver's configuration
// and temporary files. Throws InputError for a file that cannot be read or that the driver did not
// read whole.
Extract ReadOsm(const std::string& path, const std::string& privateFolder, const Progress& progress);

}  // namespace qiwu::import::osm
