#pragma once
// Writing the data set. Each writer replaces its files as a whole (written under a temporary
// name and renamed), so a program reading the old files never sees half-written ones. Each
// returns an empty string on success, otherwise what went wrong.
#include <string>

#include "data/CityVocabulary.h"
#include "dataset/City.h"

namespace citygen {

// The map layers, all in one GeoPackage in the city's CRS (coordinates plus the city's origin).
std::string WriteLayers(const City& city, const std::string& gpkgPath);
// The city database: an SQLite file (named .mdb, as the program expects) with the bus table,
// the type table and one table per feature type.
std::string WriteDatabase(const City& city, const std::string& dbPath);
// The main workspace `<city>.gst` and the overview `<city>2.gst` in `dir`, both reading `gpkgName`
// (a file name relative to `dir`).
std::string WriteWorkspaces(const City& city, const std::string& dir, const std::string& gpkgName);

// Writes text at path under a temporary name and renames it.
std::string ReplaceFile(const std::string& path, const std::string& text);

// The layer names of the map, as the workspaces and the database use them.
namespace layer = city::layer;

const char* RoadLayerName(RoadClass roadClass);

}  // namespace citygen
