// Fuzz body for the workspace reader: any bytes as a .gst file.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "fuzz/targets/FuzzCheck.h"
#include "fuzz/targets/FuzzTargets.h"
#include "map/Style.h"
#include "map/Workspace.h"

namespace qiwufuzz {

namespace {

// The one layer file a fuzzed workspace may load: a point, a line and a region in metres.
constexpr char kSampleLayerName[] = "layer.geojson";
constexpr char kSampleLayer[] = R"({"type":"FeatureCollection","features":[
{"type":"Feature","properties":{"name":"甲"},"geometry":{"type":"Point","coordinates":[500000,3400000]}},
{"type":"Feature","properties":{"name":"乙's"},"geometry":{"type":"LineString","coordinates":[[500000,3400000],[500100,3400100]]}},
{"type":"Feature","properties":{"name":""},"geometry":{"type":"Polygon","coordinates":[[[0,0],[1,0],[1,1],[0,0]]]}}]})";

const QDir& WorkDir() {
  static QTemporaryDir dir;
  static const bool written = [] {
    QFile layer(dir.filePath(kSampleLayerName));
    return layer.open(QIODevice::WriteOnly) && layer.write(kSampleLayer) > 0;
  }();
  static const QDir workDir(dir.path());
  Check(dir.isValid() && written, "temporary folder for workspaces");
  return workDir;
}

// Layers are loaded only from the sample file: a fuzzed name could point at /dev/zero.
bool NamesOnlySampleLayers(const WorkspaceFile& file) {
  for (const WorkspaceLayerEntry& entry : file.layers)
    if (entry.file != QLatin1String(kSampleLayerName)) return false;
  return !file.layers.empty() && file.layers.size() <= 8;
}

}  // namespace

int WorkspaceInput(const std::uint8_t* data, std::size_t size) {
  const QString path = WorkDir().filePath(QStringLiteral("fuzz.gst"));
  {
    QFile gst(path);
    Check(gst.open(QIODevice::WriteOnly | QIODevice::Truncate), "write the workspace");
    gst.write(reinterpret_cast<const char*>(data), qint64(size));
  }
  WorkspaceFile file;
  const Outcome read = ReadWorkspaceFile(path, file);
  if (!read.ok()) {
    Check(!read.description.isEmpty(), "a failed read says why");
    return 0;
  }
  int previous = 0;
  for (const WorkspaceLayerEntry& entry : file.layers) {
    Check(entry.number > previous, "layers in ascending order, numbered from 1");
    Check(!entry.file.isEmpty(), "every layer names its file");
    previous = entry.number;
    QString styleError;
    ParseLayerStyle(entry.styleKeys, &styleError);
  }
  if (NamesOnlySampleLayers(file)) {
    Workspace workspace;
    const Outcome loaded = LoadWorkspace(path, workspace);
    Check(loaded.ok() ? workspace.layers.size() == file.layers.size() : !loaded.description.isEmpty(),
          "a loaded workspace holds its layers, a failed one says why");
  }
  return 0;
}

}  // namespace qiwufuzz
