#include "dataset/GeoPackage.h"

#include <cpl_conv.h>

namespace citygen {

GeoPackage::GeoPackage(const std::string& path) {
  // A program that chose its drivers keeps its choice.
  if (!GetGDALDriverManager()->GetDriverByName("GPKG")) GDALAllRegister();
  GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("GPKG");
  if (!driver) {
    error_ = "GDAL has no GeoPackage driver";
    return;
  }
  dataset_.reset(driver->Create(path.c_str(), 0, 0, 0, GDT_Unknown, nullptr));
  if (!dataset_) {
    error_ = "cannot create " + path + ": " + CPLGetLastErrorMsg();
    return;
  }
  dataset_->StartTransaction();
}

OGRLayer* GeoPackage::Layer(const std::string& name, OGRwkbGeometryType type,
                            const std::vector<std::string>& extraFields, int epsg) {
  if (!error_.empty()) return nullptr;
  OGRSpatialReference srs;
  srs.importFromEPSG(epsg);
  srs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  OGRLayer* layer = dataset_->CreateLayer(name.c_str(), &srs, type, nullptr);
  if (!layer) {
    error_ = "cannot create layer " + name + ": " + CPLGetLastErrorMsg();
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

void GeoPackage::Add(OGRLayer* layer, const std::string& name, std::unique_ptr<OGRGeometry> shape,
                     const FillFeature& fill) {
  if (!layer || !error_.empty()) return;
  OGRFeature feature(layer->GetLayerDefn());
  feature.SetField("name", name.c_str());
  if (fill) fill(feature);
  feature.SetGeometryDirectly(shape.release());
  if (layer->CreateFeature(&feature) != OGRERR_NONE)
    error_ = "cannot write " + name + ": " + CPLGetLastErrorMsg();
}

std::string GeoPackage::Close() {
  if (dataset_ && dataset_->CommitTransaction() != OGRERR_NONE && error_.empty())
    error_ = CPLGetLastErrorMsg();
  dataset_.reset();
  return error_;
}

}  // namespace citygen
