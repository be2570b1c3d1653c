#pragma once
// Layers on a database server: a workspace entry whose file is "pg:TABLE" names a PostGIS table
// of the open server city, read through GDAL's PostgreSQL driver over the connection string the
// workspace load is given (the city database's, checked and rebuilt for GDAL).
#include <QString>
#include <memory>

#include "map/LayerSource.h"
#include "map/LoadBudget.h"

bool IsServerLayer(const QString& file);
QString ServerLayerTable(const QString& file);  // TABLE of "pg:TABLE"

// Opens the server's layer schema for file ("pg:TABLE") into out.server, over the connection of the
// session alive on this thread; without one, or with an empty connection (a file city), it fails.
// GDAL's PostgreSQL driver is registered only while such a connection is open (GdalLockDown.h), so no
// file of a data set reaches a server.
Outcome OpenServerLayerSource(const QString& file, LayerSource& out);

// While alive, the server layers read on this thread come over connection (a connection string for
// GDAL; empty for a file city, whose layers reach no server), share one connection and one
// LoadBudget: a workspace's load opens one connection, not one per layer, and is bounded as a whole.
class ServerLayerSession {
 public:
  explicit ServerLayerSession(const QString& connection);
  ~ServerLayerSession();
  ServerLayerSession(const ServerLayerSession&) = delete;
  ServerLayerSession& operator=(const ServerLayerSession&) = delete;

  // The budget of the session alive on this thread; null outside one.
  static LoadBudget* CurrentBudget();

 private:
  QString connection_;
  std::shared_ptr<GDALDataset> shared_;
  LoadBudget budget_;
  ServerLayerSession* outer_;
  friend Outcome OpenServerLayerSource(const QString& file, LayerSource& out);
};
