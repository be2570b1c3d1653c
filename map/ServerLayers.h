#pragma once
// Layers on a database server: a workspace entry whose file is "pg:TABLE" names a PostGIS table
// of the open server city, read through GDAL's PostgreSQL driver over the city's connection.
#include <QString>
#include <memory>

#include "map/LayerSource.h"

// The libpq connection string of the open server city (checked by whoever opened it); empty
// while no server city is open, and then "pg:" layers fail to load.
void SetServerLayerConnection(const QString& connection);

bool IsServerLayer(const QString& file);
QString ServerLayerTable(const QString& file);  // TABLE of "pg:TABLE"

// Opens the server's layer schema for file ("pg:TABLE") into out.server. GDAL's PostgreSQL driver
// is registered only while such a connection is open (GdalLockDown.h), so no file of a data set
// reaches a server.
MapResult OpenServerLayerSource(const QString& file, LayerSource& out);

// While alive, the server layers read on this thread share one connection: a workspace's load
// opens one, not one per layer.
class ServerLayerSession {
 public:
  ServerLayerSession();
  ~ServerLayerSession();
  ServerLayerSession(const ServerLayerSession&) = delete;
  ServerLayerSession& operator=(const ServerLayerSession&) = delete;

 private:
  std::shared_ptr<GDALDataset> shared_;
  ServerLayerSession* outer_;
  friend MapResult OpenServerLayerSource(const QString& file, LayerSource& out);
};
