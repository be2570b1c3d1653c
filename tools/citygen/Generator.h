#pragma once
// The demo city generator: builds a City from a seed and writes its data set into a program
// directory (map/<city>/<city>.gpkg, the two workspaces, data/<city>.mdb).
#include <cstdint>
#include <string>

#include "dataset/City.h"

namespace citygen {

struct Options {
  std::string outDir = ".";  // the program directory
  std::uint64_t seed = 20240607;
  int scale = 1;  // multiplies the city's area, its roads, stops, lines and places
  std::string cityName = "栖坞市";
};

// The whole city for these options; the same options always give the same city.
City Generate(const Options& options);

// Writes the data set of `city` under `outDir`; returns an empty string or the error.
std::string WriteDataSet(const City& city, const std::string& outDir);

}  // namespace citygen
