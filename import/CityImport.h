#pragma once
// One run of qiwu-import: reads the sources, chooses the map CRS, builds the city and writes its data
// set beside the program. Everything is written into temporary folders beside the targets
// (map/.NAME.tmp-…, data/.NAME.tmp-…) and put in place at the end (import/CityPlacement.h), so a
// failed import leaves nothing behind and an existing city is replaced only by a complete new one.
// What a killed import left is cleaned up by the next one.
#include <string>
#include <vector>

#include "import/Progress.h"
#include "import/osm/OsmReader.h"

namespace qiwu::import {

struct ImportRequest {
  std::string city;               // names map/<city>/ and data/<city>.mdb
  std::string programDir;         // where map/ and data/ lie
  std::string osm;                // an .osm or .osm.pbf file, or empty
  std::vector<std::string> gtfs;  // GTFS feeds (.zip or folders)
  int epsg = 0;                   // the map CRS; 0 chooses it from the data's centre
  bool replace = false;           // an existing city of that name is replaced
  std::vector<std::string> nameKeys =
      osm::DefaultNameKeys();  // the tags a feature's name comes from, in order
  bool allowApart = false;     // sources whose extents lie more than 20 km apart are imported all the same
  // The program's other data folders: a city one of them holds may not be imported here, since the
  // program would open that one instead.
  std::vector<std::string> otherDataFolders;
};

// Empty when `city` can name a folder and files beside the program; otherwise why not.
std::string RefuseCityName(const std::string& city);

// Runs the import and returns its summary (counts per layer and table, time). Throws InputError for
// bad input and ImportFailure for anything else that stops it.
std::string ImportCity(const ImportRequest& request, const Progress& progress);

}  // namespace qiwu::import
