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
  std::vector<std::string> otherNames;  // its names in other tags (name, name:en, old_name), not name
};

struct Way {
  std::string name;
  std::unique_ptr<OGRGeometry> shape;  // lon/lat
  std::vector<std::string> otherNames;
};

// A drawn way that is not a street: a footway, a railway, a river; kind is its tag's value.
struct KindedWay : Way {
  std::string kind;
};

struct Road : Way {
  citygen::RoadClass roadClass;
  bool walkable;
};

struct Boundary : Way {
  int adminLevel;
};

struct Extract {
  std::vector<Place> places;
  std::vector<Road> roads;
  std::vector<Way> waters, greens;
  std::vector<Boundary> boundaries;
  std::vector<KindedWay> footways, railways, rivers;
  std::vector<KindedWay> walkways;       // walkable ways in neither the street layers nor 步行道
  std::vector<Way> buildings;            // named or not
  TransitNetwork bus;                    // from route relations of every mode of transit
  OGREnvelope extent;                    // of every feature read
  LonLatBox bounds;                      // the file's own bounds (<bounds>, a PBF header's box), if given
  std::map<std::string, long> perLayer;  // features the driver handed out, by its layer
  SourceReport report;                   // every object read, by its main tag, and what became of it
};

// The tags a feature's name is taken from, the first that holds one.
std::vector<std::string> DefaultNameKeys();

// The text of our osmconf.ini (embedded in the program).
const char* OsmConfiguration();
// That text with `nameKeys` among the fields of every layer. Throws std::invalid_argument for an
// empty list and for a key RefuseNameKey refuses.
std::string OsmConfiguration(const std::vector<std::string>& nameKeys);

// Reads `path`; `privateFolder` is a writable folder of the caller's for the driver's configuration
// and temporary files. Throws InputError for a file that cannot be read or that the driver did not
// read whole, std::invalid_argument for name keys OsmConfiguration refuses.
// `nameKeys` (DefaultNameKeys() unless the user chose) decide a feature's name.
Extract ReadOsm(const std::string& path, const std::string& privateFolder,
                const std::vector<std::string>& nameKeys, const Progress& progress);

}  // namespace qiwu::import::osm
