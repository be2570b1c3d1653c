#include <cpl_conv.h>
#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <filesystem>
#include <functional>
#include <memory>

#include "tools/citygen/Shapes.h"
#include "tools/citygen/Writers.h"

namespace citygen {
namespace {

constexpr Vec2 kOrigin{kOriginX, kOriginY};

using FillFeature = std::function<void(OGRFeature&)>;

class GeoPackage {
 public:
  explicit GeoPackage(const std::string& path) {
    GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("GPKG");
    if (!driver) {
      error_ = "GDAL has no GeoPackage driver";
      return;
    }
    dataset_.reset(driver->Create(path.c_str(), 0, 0, 0, GDT_Unknown, nullptr));
    if (!dataset_) error_ = "cannot create " + path + ": " + CPLGetLastErrorMsg();
    srs_.importFromEPSG(4547);
    srs_.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  }

  const std::string& error() const { return error_; }

  // A layer with a text field `name` and the given extra text fields.
  OGRLayer* Layer(const char* name, OGRwkbGeometryType type,
                  const std::vector<std::string>& extraFields = {}) {
    if (!error_.empty()) return nullptr;
    OGRLayer* layer = dataset_->CreateLayer(name, &srs_, type, nullptr);
    if (!layer) {
      error_ = std::string("cannot create layer ") + name + ": " + CPLGetLastErrorMsg();
      return nullptr;
    }
    OGRFieldDefn field("name", OFTString);
    layer->CreateField(&field);
    for (const auto& extra : extraFields) {
      OGRFieldDefn other(extra.c_str(), OFTString);
      layer->CreateField(&other);
    }
    return layer;
  }

  void Add(OGRLayer* layer, const std::string& name, std::unique_ptr<OGRGeometry> shape,
           const FillFeature& fill = {}) {
    if (!layer || !error_.empty()) return;
    OGRFeature feature(layer->GetLayerDefn());
    feature.SetField("name", name.c_str());
    if (fill) fill(feature);
    feature.SetGeometryDirectly(shape.release());
    if (layer->CreateFeature(&feature) != OGRERR_NONE)
      error_ = std::string("cannot write ") + name + ": " + CPLGetLastErrorMsg();
  }

  void Begin() {
    if (dataset_) dataset_->StartTransaction();
  }
  std::string Close() {
    if (dataset_ && dataset_->CommitTransaction() != OGRERR_NONE && error_.empty())
      error_ = CPLGetLastErrorMsg();
    dataset_.reset();
    return error_;
  }

 private:
  std::unique_ptr<GDALDataset> dataset_;
  OGRSpatialReference srs_;
  std::string error_;
};

void AddAreas(GeoPackage& gpkg, const char* name, const std::vector<Area>& areas) {
  OGRLayer* layer = gpkg.Layer(name, wkbMultiPolygon);
  for (const Area& area : areas) gpkg.Add(layer, area.name, ToMultiPolygon(area.parts, kOrigin));
}

std::unique_ptr<OGRPoint> PointAt(Vec2 at) {
  return std::make_unique<OGRPoint>(at.x + kOrigin.x, at.y + kOrigin.y);
}

void AddPois(GeoPackage& gpkg, const City& city) {
  for (PoiType type : kPoiTypes) {
    const bool dining = type == PoiType::Dining;
    const std::vector<std::string> contact = {"linkman", "tel", "address", "web"};
    OGRLayer* layer = gpkg.Layer(PoiTypeName(type), wkbPoint, dining ? contact : std::vector<std::string>{});
    for (const Poi& poi : city.pois[size_t(type)]) {
      gpkg.Add(layer, poi.name, PointAt(poi.at), [&](OGRFeature& feature) {
        if (!dining) return;
        const std::string* values[] = {&poi.linkman, &poi.tel, &poi.address, &poi.web};
        for (int k = 0; k < 4; ++k) {
          if (!values[k]->empty()) feature.SetField(contact[k].c_str(), values[k]->c_str());
        }
      });
    }
  }
}

}  // namespace

const char* RoadLayerName(RoadClass roadClass) {
  switch (roadClass) {
    case RoadClass::Main:
      return layer::kMainRoads;
    case RoadClass::Secondary:
      return layer::kSecondaryRoads;
    default:
      return layer::kBranchRoads;
  }
}

std::string WriteLayers(const City& city, const std::string& gpkgPath) {
  GDALAllRegister();
  // The file is written under a temporary name and renamed at the end, so waiting for the disk
  // after every transaction buys nothing.
  const CPLConfigOptionSetter noSync("OGR_SQLITE_SYNCHRONOUS", "OFF", false);
  const std::string temporary = gpkgPath + ".new.gpkg";  // the driver wants the .gpkg ending
  std::filesystem::remove(temporary);
  GeoPackage gpkg(temporary);
  gpkg.Begin();
  AddAreas(gpkg, layer::kDistricts, city.districts);
  AddAreas(gpkg, layer::kGreens, city.greens);
  AddAreas(gpkg, layer::kWaters, city.waters);
  AddAreas(gpkg, layer::kWall, {city.wall});

  OGRLayer* borders = gpkg.Layer(layer::kBorders, wkbMultiLineString);
  for (const NamedLine& border : city.districtBorders)
    gpkg.Add(borders, border.name, ToMultiLine(border.parts, kOrigin));

  for (RoadClass roadClass : {RoadClass::Main, RoadClass::Secondary, RoadClass::Branch}) {
    OGRLayer* roads = gpkg.Layer(RoadLayerName(roadClass), wkbLineString);
    for (const Road& road : city.roads) {
      if (road.roadClass == roadClass) gpkg.Add(roads, road.name, ToLine(road.line, kOrigin));
    }
  }
  OGRLayer* streets = gpkg.Layer(layer::kStreets, wkbLineString, {"class"});
  for (const Road& road : city.roads) {
    gpkg.Add(streets, road.name, ToLine(road.line, kOrigin),
             [&](OGRFeature& feature) { feature.SetField("class", RoadLayerName(road.roadClass)); });
  }

  OGRLayer* lines = gpkg.Layer(layer::kBusLines, wkbLineString);
  for (const BusLine& line : city.lines) gpkg.Add(lines, line.name, ToLine(line.route, kOrigin));
  OGRLayer* stops = gpkg.Layer(layer::kBusStops, wkbPoint);
  for (const Stop& stop : city.stops) gpkg.Add(stops, stop.name, PointAt(stop.at));

  AddPois(gpkg, city);
  const std::string error = gpkg.Close();
  if (!error.empty()) return error;
  std::error_code failure;
  std::filesystem::rename(temporary, gpkgPath, failure);
  return failure ? "cannot replace " + gpkgPath + ": " + failure.message() : "";
}

}  // namespace citygen
