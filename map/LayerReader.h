#pragma once
// Reads one vector layer through GDAL/OGR (read-only), reprojecting it into the map CRS and
// keeping every attribute as text.
#include <QString>
#include <memory>

#include "map/Layer.h"
#include "map/MapTypes.h"

class OGRSpatialReference;

// Reads layer sourceLayer (empty: the first) of the GDAL vector source file, a path relative to
// folder, transforming coordinates into mapCrs (metres). out receives a new layer named name
// (empty: the source layer's name). The source and every file GDAL reads for it must be regular
// files inside folder (map/DataSetConfinement.h); nothing beside them is written. A GeoPackage is
// read as it stands on disk, its -wal file included, through a private copy when one exists.
// A missing or refused file, a missing layer, a CRS that cannot be transformed, a coordinate that
// is not finite, or a SQLite statement stalled past the bound is a failure naming the file.
Outcome ReadVectorLayer(const QString& folder, const QString& file, const QString& sourceLayer,
                        const QString& name, const OGRSpatialReference& mapCrs, std::unique_ptr<Layer>& out);
