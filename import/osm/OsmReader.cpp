#include "import/osm/OsmReader.h"

#include <cpl_conv.h>
#include <gdal_priv.h>
#include <ogr_api.h>
#include <ogrsf_frmts.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "import/InputError.h"
#include "import/osm/OsmCensus.h"
#include "import/osm/OsmTags.h"

namespace qiwu::import::osm {
namespace {

// Tags read from a feature of the driver, whose field names launder ':' to '_'.
class FeatureTags : public Tags {
 public:
  explicit FeatureTags(const OGRFeature& feature) : feature_(feature) {}
  std::string operator()(const char* key) const override {
    std::string field(key);
    std::replace(field.begin(), field.end(), ':', '_');
    const int index = feature_.GetFieldIndex(field.c_str());
    return index >= 0 && feature_.IsFieldSetAndNotNull(index) ? feature_.GetFieldAsString(index) : "";
  }

 private:
  const OGRFeature& feature_;
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

void Sort(const std::string& layer, const OGRFeature& feature, const OGRGeometry& shape, Extract& into) {
  const FeatureTags tags(feature);
  const std::string name = DisplayName(tags);
  if (layer == "multipolygons") {
    if (const auto level = AdministrativeLevel(tags))
      into.boundaries.push_back({{name, Clone(shape), {}}, *level});
    if (IsWater(tags)) into.waters.push_back({name, Clone(shape), {}});
    if (IsGreen(tags)) into.greens.push_back({name, Clone(shape), {}});
  }
  if (name.empty()) return;
  if (layer == "lines")
    if (const auto roadClass = RoadClassOf(tags))
      into.roads.push_back({{name, Clone(shape), {}}, *roadClass});
  if (layer == "points" || layer == "multipolygons")
    if (const auto type = PlaceType(tags))
      into.places.push_back(
          {name, *type, PointOn(shape), tags("operator"), Telephone(tags), Address(tags), Website(tags), {}});
}

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

Extract ReadOsm(const std::string& path, const std::string& privateFolder,
                const std::vector<std::string>& nameKeys, const Progress& progress) {
  (void)nameKeys;
  const std::string config = privateFolder + "/osmconf.ini";
  std::ofstream(config, std::ios::binary | std::ios::trunc) << OsmConfiguration();
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
  long areasFromWays = 0;
  OGRLayer* layer = nullptr;
  const GdalErrors errors;
  for (;;) {
    CPLErrorReset();
    OGRFeatureUniquePtr feature(dataset->GetNextFeature(&layer, nullptr, nullptr, nullptr));
    if (!feature) {
      if (CPLGetLastErrorType() >= CE_Failure) {
        dataset.reset();
        throw InputError(
            path, 0,
            Refusal(errors.Text().empty() ? CPLGetLastErrorMsg() : errors.Text(), TakeCensus(path, {})));
      }
      break;
    }
    const std::string layerName = layer->GetName();
    const long read = ++extract.perLayer[layerName];
    if (progress && read % 100000 == 0) progress("  " + layerName + ": " + std::to_string(read));
    if (layerName == "multipolygons") {
      const int wayId = feature->GetFieldIndex("osm_way_id");
      if (wayId >= 0 && feature->IsFieldSetAndNotNull(wayId)) ++areasFromWays;
    }
    const OGRGeometry* shape = feature->GetGeometryRef();
    if (!shape || shape->IsEmpty()) continue;
    OGREnvelope box;
    shape->getEnvelope(&box);
    extract.extent.Merge(box);
    Sort(layerName, *feature, *shape, extract);
  }
  dataset.reset();

  const Census census = TakeCensus(path, progress);
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
  extract.bus = census.bus;
  return extract;
}

}  // namespace qiwu::import::osm
