#pragma once
// Reads one vector layer through GDAL/OGR (read-only), reprojecting it into the map CRS and
// keeping every attribute as text.
#include <QString>
#include <memory>

#include "map/Layer.h"
#include "map/MapTypes.h"

class OGRSpatialReference;

// Reads layer sourceLayer (empty: the first) of the GDAL vector source at path, transforming
// coordinates into mapCrs (metres). out receives a new layer named name (empty: the source
// layer's name). A missing file or layer, or a CRS that cannot be transformed, is a failure that
// names the file.
MapResult ReadVectorLayer(const QString& path, const QString& sourceLayer, const QString& name,
                          const OGRSpatialReference& mapCrs, std::unique_ptr<Layer>& out);
