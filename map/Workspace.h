#pragma once
// A workspace loaded: the layers its file lists (WorkspaceFile.h), read from their sources through
// GDAL and reprojected into the workspace CRS. Paths are file paths; coordinates metres in the
// workspace CRS.
#include <QString>
#include <memory>
#include <vector>

#include "map/Layer.h"
#include "map/MapTypes.h"
#include "map/WorkspaceFile.h"

// A loaded workspace: its layers bottom to top, owned here until moved into a map.
struct Workspace {
  WorkspaceFile file;
  std::vector<std::unique_ptr<Layer>> layers;
};

// Reads the .gst and every layer it lists, from the .gst's folder only (LayerReader.h), and its
// "pg:" layers over serverConnection (ServerLayers.h; empty for a file city). A missing or refused
// data file, a source lacking the named layer or an unusable CRS (not an EPSG code or WKT, or not
// projected) is a failure naming the file.
Outcome LoadWorkspace(const QString& gstPath, Workspace& out, const QString& serverConnection = QString());
