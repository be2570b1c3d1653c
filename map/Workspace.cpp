#include "map/Workspace.h"

#include <ogr_spatialref.h>

#include <QFileInfo>
#include <QRegularExpression>

#include "map/GdalLockDown.h"
#include "map/LayerReader.h"
#include "map/ServerLayers.h"

Outcome LoadWorkspace(const QString& gstPath, Workspace& out, const QString& serverConnection) {
  out = Workspace();
  LockDownGdal();
  if (Outcome read = ReadWorkspaceFile(gstPath, out.file); !read.ok()) return read;

  OGRSpatialReference mapCrs;
  // An EPSG code or WKT only: the text never names a file or a URL to fetch.
  static const QRegularExpression kEpsgOrWkt(QStringLiteral(R"(^\s*(EPSG:\d+|[A-Z][A-Z0-9_]*\s*\[.*)$)"),
                                             QRegularExpression::DotMatchesEverythingOption);
  if (!kEpsgOrWkt.match(out.file.projection).hasMatch() ||
      mapCrs.SetFromUserInput(out.file.projection.toUtf8().constData(),
                              OGRSpatialReference::SET_FROM_USER_INPUT_LIMITATIONS_get()) != OGRERR_NONE ||
      !mapCrs.IsProjected())
    return Outcome::Failure(
        kMapErrorBadProjection,
        QStringLiteral("工作空间文件 %1 的投影“%2”不是可用的投影坐标系").arg(gstPath, out.file.projection));
  mapCrs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);

  const QString folder = QFileInfo(gstPath).absolutePath();
  const ServerLayerSession serverLayers(serverConnection);  // a server city's layers come over one connection
  for (const WorkspaceLayerEntry& entry : out.file.layers) {
    std::unique_ptr<Layer> layer;
    if (Outcome r = ReadVectorLayer(folder, entry.file, entry.sourceLayer, entry.name, mapCrs, layer);
        !r.ok())
      return r;
    layer->SetVisible(entry.visible);
    layer->SetMaxVisibleWidth(entry.zoomMax);
    layer->SetDisplayField(entry.displayField);
    layer->SetStyle(ParseLayerStyle(entry.styleKeys));
    out.layers.push_back(std::move(layer));
  }
  return {};
}
