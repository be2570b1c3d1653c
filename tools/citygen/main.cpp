// qiwu-citygen: writes the demo city's data set into a program directory.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/citygen/Generator.h"
#include "tools/citygen/GtfsWriter.h"
#include "tools/citygen/OsmWriter.h"

namespace {

const char* kUsage =
    "usage: qiwu-citygen [--out DIR] [--seed N] [--scale N] [--city NAME] [--gtfs DIR] [--osm FILE]\n"
    "  --out DIR    program directory to write map/<city>/ and data/ into (default: .)\n"
    "  --seed N     random seed; the same seed gives the same city (default 20240607)\n"
    "  --scale N    a city N times as large: more roads, stops, lines and places (default 1)\n"
    "  --city NAME  the city's name, used for the folder and file names (default 栖坞市)\n"
    "  --gtfs DIR   also write the bus network as a GTFS feed into the folder DIR\n"
    "  --osm FILE   also write the city as an OpenStreetMap XML extract\n";

bool ParseNumber(const char* text, unsigned long long& value) {
  char* end = nullptr;
  value = std::strtoull(text, &end, 10);
  return *text && *end == '\0';
}

}  // namespace

int main(int argc, char** argv) {
  citygen::Options options;
  std::string gtfsDir;
  std::string osmPath;
  for (int k = 1; k < argc; ++k) {
    const std::string option = argv[k];
    if (option == "--help" || option == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (k + 1 >= argc) {
      std::fprintf(stderr, "qiwu-citygen: %s needs a value\n%s", option.c_str(), kUsage);
      return 2;
    }
    const char* value = argv[++k];
    unsigned long long number = 0;
    if (option == "--out") {
      options.outDir = value;
    } else if (option == "--gtfs" && *value) {
      gtfsDir = value;
    } else if (option == "--osm" && *value) {
      osmPath = value;
    } else if (option == "--city" && *value) {
      options.cityName = value;
    } else if (option == "--seed" && ParseNumber(value, number)) {
      options.seed = number;
    } else if (option == "--scale" && ParseNumber(value, number) && number >= 1 && number <= 100) {
      options.scale = int(number);
    } else {
      std::fprintf(stderr, "qiwu-citygen: bad option %s %s\n%s", option.c_str(), value, kUsage);
      return 2;
    }
  }
  const auto start = std::chrono::steady_clock::now();
  const citygen::City city = citygen::Generate(options);
  std::string error = citygen::WriteDataSet(city, options.outDir);
  if (error.empty() && !gtfsDir.empty()) error = citygen::WriteGtfsFeed(city, gtfsDir);
  if (error.empty() && !osmPath.empty()) error = citygen::WriteOsmXml(city, osmPath);
  if (!error.empty()) {
    std::fprintf(stderr, "qiwu-citygen: %s\n", error.c_str());
    return 1;
  }
  std::size_t rows = 0, pois = 0;
  for (const auto& line : city.lines) rows += line.stops.size();
  for (const auto& list : city.pois) pois += list.size();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%s: %zu roads, %zu bus lines, %zu stops, %zu bus rows, %zu places; %.1f s\n",
              city.name.c_str(), city.roads.size(), city.lines.size(), city.stops.size(), rows, pois,
              seconds);
  return 0;
}
