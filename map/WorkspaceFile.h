#pragma once
// The workspace file (.gst, docs/workspace-format.md) as it is written: its settings and its layer
// entries. One reader and one writer, used by the map, the demo city's generator, the importer and
// the publisher.
#include <QMap>
#include <QString>
#include <limits>
#include <utility>
#include <vector>

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
  // Every key of the entry but FILE, LAYER and NAME, without "\TABLE\n\", in file order: what the
  // writer writes (the fields above are what the reader made of them).
  std::vector<std::pair<QString, QString>> keys;
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
Outcome ReadWorkspaceFile(const QString& path, WorkspaceFile& out);

// The text of workspace: the header; its name, projection, centre and view width where set; then
// every layer numbered from 1, bottom first: FILE, LAYER and NAME where set, and its keys in order.
QString WorkspaceText(const WorkspaceFile& workspace);

// Writes workspace's text at path, through a temporary file renamed over it; a failure names the file.
Outcome WriteWorkspaceFile(const QString& path, const WorkspaceFile& workspace);
