#pragma once
// Workspaces (.gst, docs/workspace-format.md): the file's settings, and the layers read from
// their sources through GDAL and reprojected into the workspace CRS. Paths are file paths;
// coordinates metres in the workspace CRS.
#include <QMap>
#include <QString>
#include <memory>
#include <vector>

#include "map/Layer.h"
#include "map/MapTypes.h"

// One \TABLE\n\ entry of a workspace.
struct WorkspaceLayerEntry {
  int number = 0;       // n, 1 = bottom
  QString file;         // relative to the .gst
  QString sourceLayer;  // layer inside the source; empty: the first
  QString name;         // map layer name; empty: the source layer's name
  QString displayField = QStringLiteral("name");
  bool visible = true;
  double zoomMax = std::numeric_limits<double>::infinity();  // metres
  QMap<QString, QString> styleKeys;  // STYLE\..., LABEL\..., LEGEND keys without "\TABLE\n\"
};

// What a .gst file says.
struct WorkspaceFile {
  QString path;
  QString name;
  QString projection;  // EPSG:n or WKT
  bool hasCenter = false;
  MapPoint center;
  double zoomLevel = 0;                     // metres; 0: fit the layers
  std::vector<WorkspaceLayerEntry> layers;  // bottom to top
};

// The largest workspace file read: 1 MiB (a city of a thousand layers needs a tenth of it).
inline constexpr qint64 kMaxWorkspaceBytes = 1024 * 1024;

// Parses a .gst (UTF-8): a regular file in its own folder (no link out of it, no FIFO or device)
// of at most kMaxWorkspaceBytes. A missing or refused file, or a malformed line (named by file and
// line number; a number that is NaN or infinite is malformed), is a failure.
MapResult ReadWorkspaceFile(const QString& path, WorkspaceFile& out);

// A loaded workspace: its layers bottom to top, owned here until moved into a map.
struct Workspace {
  WorkspaceFile file;
  std::vector<std::unique_ptr<Layer>> layers;
};

// Reads the .gst and every layer it lists, from the .gst's folder only (LayerReader.h). A missing
// or refused data file, a source lacking the named layer or an unusable CRS (not an EPSG code or
// WKT, or not projected) is a failure naming the file.
MapResult LoadWorkspace(const QString& gstPath, Workspace& out);
