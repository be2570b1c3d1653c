#pragma once
// One GeoPackage file written layer by layer in one transaction. The first failure is kept; later
// calls do nothing.
#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace citygen {

class GeoPackage {
 public:
  using FillFeature = std::function<void(OGRFeature&)>;

  explicit GeoPackage(const std::string& path);

  const std::string& error() const { return error_; }

  // A layer in the CRS of the EPSG code with a text field `name` and the given extra text fields.
  OGRLayer* Layer(const std::string& name, OGRwkbGeometryType type,
                  const std::vector<std::string>& extraFields, int epsg);
  void Add(OGRLayer* layer, const std::string& name, std::unique_ptr<OGRGeometry> shape,
           const FillFeature& fill = {});
  // Commits and closes the file; returns the first failure or an empty string.
  std::string Close();

 private:
  GDALDatasetUniquePtr dataset_;
  std::string error_;
};

}  // namespace citygen
