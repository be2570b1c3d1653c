#pragma once
// Opens a layer source of a data set through GDAL, read-only and with the city drivers only.
#include <gdal_priv.h>

#include <QString>
#include <QTemporaryDir>
#include <memory>

#include "map/MapTypes.h"

class DataSetConfinement;

// An open source; a GeoPackage with a -wal file is a private copy that lives as long as this.
struct LayerSource {
  std::unique_ptr<QTemporaryDir> copyFolder;
  GDALDatasetUniquePtr dataset;         // closed before the copy goes
  std::shared_ptr<GDALDataset> server;  // a server layer's connection, shared while a workspace loads

  GDALDataset& Dataset() const { return dataset ? *dataset : *server; }
};

// Opens file (relative to folder, checked to be a regular file inside it) under confinement. A
// GeoPackage is opened immutable, so SQLite neither creates nor changes a file beside it; when a
// -wal file stands beside it, both are copied into a private folder and the copy is opened, so
// that the rows still in the -wal are read too.
Outcome OpenLayerSource(const QString& folder, const QString& file, DataSetConfinement& confinement,
                        LayerSource& out);
