#include "import/osm/OsmReader.h"

#include <cpl_conv.h>
#include <gdal_priv.h>
#include <ogr_api.h>
#include <ogrsf_frmts.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string_view>
#include <unordered_set>
#include <utility>

#include "data/CityVocabulary.h"
#include "import/InputError.h"
#include "import/osm/OsmCensus.h"
#include "import/osm/OsmTags.h"

namespace qiwu::import::osm {
namespace {

// Tags read from a feature of the driver, whose field names launder ':' to '_'. Only the fields
// that are set are looked at: a feature sets a few of the configuration's dozens.
class FeatureTags : public Tags {
 public:
  explicit FeatureTags(const OGRFeature& feature) {
    const OGRFeatureDefn& fields = *feature.GetDefnRef();
    for (int k = 0; k < fields.GetFieldCount(); ++k)
      if (feature.IsFieldSetAndNotNull(k))
        set_.emplace_back(fields.GetFieldDefn(k)->GetNameRef(), feature.GetFieldAsString(k));
  }
  std::string operator()(const char* key) const override {
    for (const auto& [field, value] : set_)
      if (Launders(key, field)) return value;
    return {};
  }

 private:
  static bool Launders(std::string_view key, std::string_view field) {
    if (key.size() != field.size()) return false;
    for (std::size_t k = 0; k < key.size(); ++k)
      if (field[k] != (key[k] == ':' ? '_' : key[k])) return false;
    return true;
  }
  std::vector<std::pair<std::string_view, std::string>> set_;  // field name, value
};

LonLat PointOn(const OGRGeometry& shape) {
  if (wkbFlatten(shape.getGeometryType()) == wkbPoint)
    return {shape.toPoint()->getX(), shape.toPoint()->getY()};
  const OGRGeometryH surface = OGR_G_PointOnSurface(OGRGeometry::ToHandle(const_cast<OGRGeometry*>(&shape)));
  if (!surface) {
    OGREnvelope box;
    shape.getEnvelope(&box);
    return {(box.MinX + box.MaxX) / 2, (box.MinY + box.MaxY) / 2};
  }
  const LonLat at{OGR_G_GetX(surface, 0), OGR_G_GetY(surface, 0)};
  OGR_G_DestroyGeometry(surface);
  return at;
}

std::unique_ptr<OGRGeometry> Clone(const OGRGeometry& shape) {
  return std::unique_ptr<OGRGeometry>(shape.clone());
}

const char* RoadLayer(citygen::RoadClass roadClass) {
  switch (roadClass) {
    case citygen::RoadClass::Main:
      return city::layer::kMainRoads;
    case citygen::RoadClass::Secondary:
      return city::layer::kSecondaryRoads;
    case citygen::RoadClass::Branch:
      break;
  }
  return city::layer::kBranchRoads;
}

// Puts a feature of the driver where it belongs and counts it in the report by its main tag: kept
// as the layers it went to, else left out for being unnamed or matched by no rule.
class Sorter {
 public:
  Sorter(const std::vector<std::string>& nameKeys, Extract& into) : nameKeys_(nameKeys), into_(into) {}

  void Sort(const std::string& layer, const OGRFeature& feature, const OGRGeometry& shape) {
    const FeatureTags tags(feature);
    // Route relations are the census's to count.
    const bool counted = tags("type") != "route";
    const std::string name = NameFrom(tags, nameKeys_);
    kept_.clear();
    unnamed_ = false;
    if (layer == "multipolygons") SortArea(tags, name, shape);
    if (layer == "lines") SortLine(tags, name, shape);
    if (layer == "points" || layer == "multipolygons")
      if (const auto type = PlaceType(tags); type && Named(name)) {
        into_.places.push_back({name, *type, PointOn(shape), tags("operator"), Telephone(tags), Address(tags),
                                Website(tags), OtherNames(tags, nameKeys_, name)});
        Keep(citygen::PoiTypeName(*type));
      }
    if (!counted) return;
    if (!kept_.empty())
      into_.report.Kept(MainTag(tags), kept_);
    else
      into_.report.LeftOut(MainTag(tags), unnamed_ ? "unnamed" : IsTransitStop(tags) ? "a stop" : "no rule");
  }

 private:
  void SortArea(const Tags& tags, const std::string& name, const OGRGeometry& shape) {
    if (const auto level = AdministrativeLevel(tags)) {
      into_.boundaries.push_back({Drawn(tags, name, shape), *level});
      Keep(city::layer::kDistricts + (" admin_level=" + std::to_string(*level)));
    }
    if (IsWater(tags)) {
      into_.waters.push_back(Drawn(tags, name, shape));
      Keep(city::layer::kWaters);
    }
    if (IsGreen(tags)) {
      into_.greens.push_back(Drawn(tags, name, shape));
      Keep(city::layer::kGreens);
    }
    if (IsBuilding(tags)) {
      into_.buildings.push_back(Drawn(tags, name, shape));
      Keep(city::layer::kBuildings);
    }
  }

  void SortLine(const Tags& tags, const std::string& name, const OGRGeometry& shape) {
    const std::size_t streets = into_.roads.size() + into_.footways.size();
    if (const auto roadClass = RoadClassOf(tags); roadClass && Named(name)) {
      into_.roads.push_back({Drawn(tags, name, shape), *roadClass, IsWalkable(tags)});
      Keep(RoadLayer(*roadClass));
    }
    if (std::string kind = FootwayKind(tags); !kind.empty() && Named(name)) {
      into_.footways.push_back({Drawn(tags, name, shape), std::move(kind)});
      Keep(city::layer::kFootways);
    }
    // The walking network's other ways: walkable, and neither a street nor a footway of a layer.
    if (streets == into_.roads.size() + into_.footways.size() && IsWalkable(tags)) {
      into_.walkways.push_back({Drawn(tags, name, shape), tags("highway")});
      Keep(city::layer::kWalkways);
    }
    if (std::string kind = RailwayKind(tags); !kind.empty()) {
      into_.railways.push_back({Drawn(tags, name, shape), std::move(kind)});
      Keep(city::layer::kRailways);
    }
    if (std::string kind = RiverKind(tags); !kind.empty()) {
      into_.rivers.push_back({Drawn(tags, name, shape), std::move(kind)});
      Keep(city::layer::kRivers);
    }
  }

  Way Drawn(const Tags& tags, const std::string& name, const OGRGeometry& shape) const {
    return {name, Clone(shape),
            name.empty() ? std::vector<std::string>{} : OtherNames(tags, nameKeys_, name)};
  }

  // Whether a feature that a rule keeps only by name has one; one without is counted as unnamed
  // unless another rule keeps it.
  bool Named(const std::string& name) {
    if (name.empty()) unnamed_ = true;
    return !name.empty();
  }
  void Keep(const std::string& layer) { kept_ += (kept_.empty() ? "" : " + ") + layer; }

  const std::vector<std::string>& nameKeys_;
  Extract& into_;
  std::string kept_;
  bool unnamed_ = false;
};

// GDAL's errors while the file is read, the first few joined, for the message that ends the import.
class GdalErrors {
 public:
  GdalErrors() { CPLPushErrorHandlerEx(&GdalErrors::Keep, this); }
  ~GdalErrors() { CPLPopErrorHandler(); }
  GdalErrors(const GdalErrors&) = delete;
  GdalErrors& operator=(const GdalErrors&) = delete;
  const std::string& Text() const { return text_; }

 private:
  static void CPL_STDCALL Keep(CPLErr level, CPLErrorNum, const char* message) {
    auto* self = static_cast<GdalErrors*>(CPLGetErrorHandlerUserData());
    if (level < CE_Failure || ++self->count_ > 4) return;
    self->text_ += (self->text_.empty() ? "" : "; ") + std::string(message ? message : "");
  }
  std::string text_;
  int count_ = 0;
};

// Why the file cannot be read: GDAL's own error, and the node outside the world if there is one.
std::string Refusal(const std::string& gdalError, const Census& census) {
  std::string why;
  if (census.outsideNode) {
    char at[64];
    std::snprintf(at, sizeof at, "%.7f, %.7f", census.outsideAt.lon, census.outsideAt.lat);
    why = "node " + std::to_string(census.outsideNode) + " lies outside the world (longitude, latitude " +
          at + ")";
  }
  if (!gdalError.empty()) why += (why.empty() ? "" : "; ") + std::string("GDAL's OSM driver: ") + gdalError;
  return why;
}

// Ways the driver handed out: its lines, and its areas made of one closed way.
long WaysRead(const Extract& extract, long areasFromWays) {
  const auto lines = extract.perLayer.find("lines");
  return (lines == extract.perLayer.end() ? 0 : lines->second) + areasFromWays;
}

}  // namespace

std::vector<std::string> DefaultNameKeys() { return {"name:zh-Hans", "name:zh", "name"}; }

std::string OsmConfiguration(const std::vector<std::string>& nameKeys) {
  if (nameKeys.empty()) throw std::invalid_argument("no tag to take names from");
  for (const std::string& key : nameKeys)
    if (const std::string why = RefuseNameKey(key); !why.empty()) throw std::invalid_argument(why);
  std::istringstream lines(OsmConfiguration());
  std::string text;
  for (std::string line; std::getline(lines, line); text += line + '\n') {
    if (!line.starts_with("attributes=")) continue;
    const std::string listed = "," + line.substr(line.find('=') + 1) + ",";
    for (const std::string& key : nameKeys)
      if (listed.find("," + key + ",") == std::string::npos) line += "," + key;
  }
  return text;
}

Extract ReadOsm(const std::string& path, const std::string& privateFolder,
                const std::vector<std::string>& nameKeys, const Progress& progress) {
  const std::string config = privateFolder + "/osmconf.ini";
  std::ofstream(config, std::ios::binary | std::ios::trunc) << OsmConfiguration(nameKeys);
  // Unsorted node ids (common in .osm files) need the plain index; a node index too big for memory
  // spills into the private folder rather than the current one.
  const CPLConfigOptionSetter plainIndex("OSM_USE_CUSTOM_INDEXING", "NO", false);
  const CPLConfigOptionSetter temporary("CPL_TMPDIR", privateFolder.c_str(), false);
  const char* const allowed[] = {"OSM", nullptr};
  const std::string configOption = "CONFIG_FILE=" + config;
  const char* const options[] = {configOption.c_str(), nullptr};
  if (progress) progress("reading " + path);
  GDALDatasetUniquePtr dataset(
      GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, allowed, options));
  if (!dataset) throw InputError(path, 0, std::string("not an OpenStreetMap file: ") + CPLGetLastErrorMsg());

  Extract extract;
  extract.report = SourceReport(path);
  Sorter sorter(nameKeys, extract);
  std::unordered_set<long> areaRelationsRead;
  long areasFromWays = 0;
  OGRLayer* layer = nullptr;
  const GdalErrors errors;
  for (;;) {
    CPLErrorReset();
    OGRFeatureUniquePtr feature(dataset->GetNextFeature(&layer, nullptr, nullptr, nullptr));
    if (!feature) {
      if (CPLGetLastErrorType() >= CE_Failure) {
        dataset.reset();
        throw InputError(path, 0,
                         Refusal(errors.Text().empty() ? CPLGetLastErrorMsg() : errors.Text(),
                                 TakeCensus(path, nameKeys, extract.report, {})));
      }
      break;
    }
    const std::string layerName = layer->GetName();
    const long read = ++extract.perLayer[layerName];
    if (progress && read % 100000 == 0) progress("  " + layerName + ": " + std::to_string(read));
    if (layerName == "multipolygons") {
      const int wayId = feature->GetFieldIndex("osm_way_id");
      if (wayId >= 0 && feature->IsFieldSetAndNotNull(wayId))
        ++areasFromWays;
      else
        areaRelationsRead.insert(std::atol(feature->GetFieldAsString("osm_id")));
    }
    const OGRGeometry* shape = feature->GetGeometryRef();
    if (!shape || shape->IsEmpty()) {
      extract.report.LeftOut(MainTag(FeatureTags(*feature)), "no shape");
      continue;
    }
    OGREnvelope box;
    shape->getEnvelope(&box);
    extract.extent.Merge(box);
    sorter.Sort(layerName, *feature, *shape);
  }
  dataset.reset();

  const Census census = TakeCensus(path, nameKeys, extract.report, progress);
  const long points = extract.perLayer.count("points") ? extract.perLayer.at("points") : 0;
  const long ways = WaysRead(extract, areasFromWays);
  const bool waysWhole = ways <= census.taggedWays && ways >= census.taggedWays - census.taggedWaysInAreas;
  if (const std::string why = Refusal(errors.Text(), census); !why.empty()) throw InputError(path, 0, why);
  if (points != census.taggedNodes || !waysWhole)
    throw InputError(path, 0,
                     "GDAL's OSM driver handed out " + std::to_string(points) + " tagged nodes and " +
                         std::to_string(ways) + " tagged ways, but the file holds " +
                         std::to_string(census.taggedNodes) + " and " + std::to_string(census.taggedWays) +
                         ": features were lost (is the temporary folder full?)");
  for (const auto& [id, kind] : census.areaRelations)
    if (!areaRelationsRead.count(id)) extract.report.LeftOut(kind, "does not assemble");
  extract.bus = census.transit;
  extract.bounds = census.bounds;
  return extract;
}

}  // namespace qiwu::import::osm
