#pragma once
// GDAL and PROJ set up for untrusted city data sets: no network at all, only the drivers a program
// needs, and GDAL's local file system confined while a data set is read (map/DataSetConfinement.h).
#include <QStringList>
#include <memory>

// The drivers of a city data set's layers: GeoPackage, Shapefile, MapInfo TAB, GeoJSON and the
// vector VRT (whose sources must lie inside the data set too).
const QStringList& CityLayerDrivers();

// Registers GDAL's drivers and keeps only keepDrivers (GDAL's short names); replaces every network
// and archive file system of GDAL (/vsicurl/, /vsis3/, /vsizip/, /vsistdin/, ...; /vsimem/ stays)
// but those of keepArchives (e.g. "/vsizip/" for the importer's GTFS feeds) with one that refuses,
// refuses every HTTP request, turns PROJ's network off and installs the confinement. A kept archive
// file system still opens its archive through the confined local one. Call once before any other
// GDAL use; later calls do nothing.
void LockDownGdal(const QStringList& keepDrivers = CityLayerDrivers(), const QStringList& keepArchives = {});

// GDAL's PostgreSQL driver, for the layers of a server city. LockDownGdal keeps it aside, never
// registered, unless keepDrivers names it: a VRT's source could otherwise name any server. Registered
// while the returned object lives (several may live at once).
std::shared_ptr<void> RegisterServerDriver();
