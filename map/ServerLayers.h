#pragma once
// Layers on a database server: a workspace entry whose file is "pg:TABLE" names a PostGIS table
// of the open server city, read through GDAL's PostgreSQL driver over the city's connection.
#include <QString>

#include "map/LayerSource.h"

// The libpq connection string of the open server city (checked by whoever opened it); empty
// while no server city is open, and then "pg:" layers fail to load.
void SetServerLayerConnection(const QString& connection);

bool IsServerLayer(const QString& file);
QString ServerLayerTable(const QString& file);  // TABLE of "pg:TABLE"

// Opens the server's layer schema for file ("pg:TABLE"). GDAL's PostgreSQL driver is registered
// only while out's dataset is open (GdalLockDown.h), so no file of a data set reaches a server.
MapResult OpenServerLayerSource(const QString& file, LayerSource& out);
