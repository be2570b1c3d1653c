#pragma once
// Reading a generated data set back for the checks: database rows through SQLite, layer features
// through GDAL, workspace keys as text. The demo city is generated once per test program.
#include <ogr_geometry.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dataset/City.h"

namespace citytest {

using Row = std::vector<std::string>;  // NULL reads as ""

struct Feature {
  std::string name;
  std::unique_ptr<OGRGeometry> shape;
};

struct DataSet {
  std::filesystem::path root;  // the program directory
  std::string city;

  std::filesystem::path Gpkg() const { return root / "map" / city / (city + ".gpkg"); }
  std::filesystem::path MainWorkspace() const { return root / "map" / city / (city + ".gst"); }
  std::filesystem::path Overview() const { return root / "map" / city / (city + "2.gst"); }
  std::filesystem::path Database() const { return root / "data" / (city + ".mdb"); }

  std::vector<Row> Query(const std::string& sql) const;
  std::vector<Feature> Layer(const std::string& name) const;
  std::vector<std::string> LayerNames() const;
};

// One generated city and the model it came from, in a folder removed when the program ends.
struct Generated {
  citygen::City city;
  DataSet files;
};

// The demo city at scale 1 with the default seed (generated on first use).
const Generated& DemoCity();
// A city for other options, written into a fresh folder.
std::unique_ptr<Generated> GenerateInto(const std::string& folder, std::uint64_t seed, int scale);

// True for the tables of a city's timetable (docs/timetable.md).
bool IsTimetableTable(const std::string& table);

// The keys of a workspace: "\TABLE\3\NAME" -> "水系". Lines that are not `"\KEY" = "value"`, or
// that repeat a key, are added to `malformed` with their line number.
std::map<std::string, std::string> ReadWorkspace(const std::filesystem::path& path,
                                                 std::vector<std::string>* malformed);

struct WorkspaceLayer {
  std::string name;
  std::map<std::string, std::string> keys;  // without the "\TABLE\n\" prefix
};

// The layers of a workspace's keys, bottom to top, and a layer's position among them (-1: none).
std::vector<WorkspaceLayer> Layers(const std::map<std::string, std::string>& keys);
int Position(const std::vector<WorkspaceLayer>& layers, const std::string& name);

}  // namespace citytest
