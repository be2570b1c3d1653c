#include "tools/citygen/Generator.h"

#include <filesystem>

#include "dataset/Writers.h"
#include "tools/citygen/BusNetwork.h"
#include "tools/citygen/DemoTimetable.h"
#include "tools/citygen/Landscape.h"
#include "tools/citygen/Layout.h"
#include "tools/citygen/PointsOfInterest.h"
#include "tools/citygen/StreetNetwork.h"

namespace citygen {

City Generate(const Options& options) {
  Random random(options.seed);
  // Each stage draws from its own generator, so changing one stage leaves the others alone.
  NameBook names(random.Fork(10));
  Random layoutRandom = random.Fork(11);
  const Layout layout = MakeLayout(layoutRandom, options.scale);

  City city;
  city.name = options.cityName;
  const StreetNetwork streets = BuildStreets(layout, names);
  for (const Road& road : streets.roads) city.roads.push_back(road);
  BuildWaterAndWall(layout, names, city);
  BuildGreens(layout, names, city);
  BuildDistricts(layout, names, city);
  BuildPointsOfInterest(layout, streets, names, options.scale, city);
  BuildBusNetwork(layout, streets, names, options.scale, city);
  BuildTimetable(random.Fork(12), city);
  return city;
}

std::string WriteDataSet(const City& city, const std::string& outDir) {
  namespace fs = std::filesystem;
  const fs::path mapDir = fs::path(outDir) / "map" / city.name;
  const fs::path dataDir = fs::path(outDir) / "data";
  std::error_code failure;
  fs::create_directories(mapDir, failure);
  fs::create_directories(dataDir, failure);
  if (failure) return "cannot create the folders under " + outDir + ": " + failure.message();
  const std::string gpkgName = city.name + ".gpkg";
  std::string error = WriteLayers(city, (mapDir / gpkgName).string());
  if (error.empty()) error = WriteWorkspaces(city, mapDir.string(), gpkgName);
  if (error.empty()) error = WriteDatabase(city, (dataDir / (city.name + ".mdb")).string());
  return error;
}

}  // namespace citygen
