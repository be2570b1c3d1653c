#include "tests/tools/CityFiles.h"

#include <gdal_priv.h>
#include <gtest/gtest.h>
#include <ogrsf_frmts.h>
#include <sqlite3.h>
#include <unistd.h>

#include <fstream>

#include "data/CityVocabulary.h"
#include "tools/citygen/Generator.h"

namespace citytest {
namespace {

struct TempRoot {
  std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("qiwu-citygen-test-" + std::to_string(getpid()));
  ~TempRoot() { std::filesystem::remove_all(path); }
};

const std::filesystem::path& Root() {
  static TempRoot root;
  return root.path;
}

}  // namespace

std::vector<Row> DataSet::Query(const std::string& sql) const {
  std::vector<Row> rows;
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(Database().c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    ADD_FAILURE() << "cannot open " << Database();
    sqlite3_close(db);
    return rows;
  }
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
    ADD_FAILURE() << sql << ": " << sqlite3_errmsg(db);
  } else {
    while (sqlite3_step(statement) == SQLITE_ROW) {
      Row row;
      for (int k = 0; k < sqlite3_column_count(statement); ++k) {
        const unsigned char* text = sqlite3_column_text(statement, k);
        row.push_back(text ? reinterpret_cast<const char*>(text) : "");
      }
      rows.push_back(std::move(row));
    }
  }
  sqlite3_finalize(statement);
  sqlite3_close(db);
  return rows;
}

std::vector<Feature> DataSet::Layer(const std::string& name) const {
  GDALAllRegister();
  std::vector<Feature> features;
  std::unique_ptr<GDALDataset> source(GDALDataset::Open(Gpkg().c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
  if (!source) {
    ADD_FAILURE() << "cannot open " << Gpkg();
    return features;
  }
  OGRLayer* layer = source->GetLayerByName(name.c_str());
  if (!layer) {
    ADD_FAILURE() << "no layer " << name;
    return features;
  }
  for (auto& feature : *layer) {
    const OGRGeometry* shape = feature->GetGeometryRef();
    features.push_back(
        {feature->GetFieldAsString("name"), std::unique_ptr<OGRGeometry>(shape ? shape->clone() : nullptr)});
  }
  return features;
}

std::vector<std::string> DataSet::LayerNames() const {
  GDALAllRegister();
  std::vector<std::string> names;
  std::unique_ptr<GDALDataset> source(GDALDataset::Open(Gpkg().c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
  if (source) {
    for (OGRLayer* layer : source->GetLayers()) names.push_back(layer->GetName());
  }
  return names;
}

std::unique_ptr<Generated> GenerateInto(const std::string& folder, std::uint64_t seed, int scale) {
  citygen::Options options;
  options.outDir = (Root() / folder).string();
  options.seed = seed;
  options.scale = scale;
  auto generated = std::make_unique<Generated>();
  generated->city = citygen::Generate(options);
  const std::string error = citygen::WriteDataSet(generated->city, options.outDir);
  EXPECT_EQ(error, "");
  generated->files = {options.outDir, options.cityName};
  return generated;
}

bool IsTimetableTable(const std::string& table) {
  namespace names = city::timetable;
  for (const char* name : {names::kPlatforms, names::kPatterns, names::kTrips, names::kCalendar,
                           names::kCalendarDates, names::kFrequencies, names::kCityFacts})
    if (table == name) return true;
  return false;
}

const Generated& DemoCity() {
  static const std::unique_ptr<Generated> demo = GenerateInto("demo", citygen::Options().seed, 1);
  return *demo;
}

std::map<std::string, std::string> ReadWorkspace(const std::filesystem::path& path,
                                                 std::vector<std::string>* malformed) {
  std::map<std::string, std::string> keys;
  std::ifstream in(path);
  std::string line;
  bool inside = false;
  for (int number = 1; std::getline(in, line); ++number) {
    if (line == "begin_metadata") {
      inside = true;
    } else if (line == "end_metadata") {
      inside = false;
    } else if (inside) {
      // "\KEY\PATH" = "value"
      const std::size_t middle = line.find("\" = \"");
      const bool wellFormed = line.size() > 8 && line.starts_with("\"\\") && line.ends_with('"') &&
                              middle != std::string::npos && line.find('"', 1) == middle &&
                              line.find('"', middle + 5) == line.size() - 1;
      if (wellFormed &&
          keys.emplace(line.substr(1, middle - 1), line.substr(middle + 5, line.size() - middle - 6))
              .second) {
        continue;
      }
      if (malformed)
        malformed->push_back(std::to_string(number) + (wellFormed ? " repeats a key: " : ": ") + line);
    }
  }
  return keys;
}

std::vector<WorkspaceLayer> Layers(const std::map<std::string, std::string>& keys) {
  std::vector<WorkspaceLayer> layers;
  for (int n = 1; keys.count("\\TABLE\\" + std::to_string(n) + "\\FILE"); ++n) {
    const std::string prefix = "\\TABLE\\" + std::to_string(n) + "\\";
    WorkspaceLayer layer;
    for (const auto& [key, value] : keys)
      if (key.starts_with(prefix)) layer.keys[key.substr(prefix.size())] = value;
    layer.name = layer.keys["NAME"];
    layers.push_back(layer);
  }
  return layers;
}

int Position(const std::vector<WorkspaceLayer>& layers, const std::string& name) {
  for (std::size_t k = 0; k < layers.size(); ++k)
    if (layers[k].name == name) return int(k);
  return -1;
}

}  // namespace citytest
