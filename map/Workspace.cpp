#include "map/Workspace.h"

#include <ogr_spatialref.h>

#include <QDir>
#include <QFileInfo>

#include "map/LayerReader.h"

MapResult LoadWorkspace(const QString& gstPath, Workspace& out) {
  out = Workspace();
  if (MapResult read = ReadWorkspaceFile(gstPath, out.file); !read.ok) return read;

  OGRSpatialReference mapCrs;
  if (out.file.projection.isEmpty() ||
      mapCrs.SetFromUserInput(out.file.projection.toUtf8().constData()) != OGRERR_NONE ||
      !mapCrs.IsProjected())
    return MapResult::Failure(
        kMapErrorBadProjection,
        QStringLiteral("工作空间文件 %1 的投影“%2”不是可用的投影坐标系").arg(gstPath, out.file.projection));
  mapCrs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);

  const QDir base = QFileInfo(gstPath).absoluteDir();
  for (const WorkspaceLayerEntry& entry : out.file.layers) {
    std::unique_ptr<Layer> layer;
    if (MapResult r =
            ReadVectorLayer(base.filePath(entry.file), entry.sourceLayer, entry.name, mapCrs, layer);
        !r.ok)
      return r;
    layer->SetVisible(entry.visible);
    layer->SetMaxVisibleWidth(entry.zoomMax);
    layer->SetDisplayField(entry.displayField);
    layer->SetStyle(ParseLayerStyle(entry.styleKeys));
    out.layers.push_back(std::move(layer));
  }
  return {};
}
