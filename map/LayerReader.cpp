#include "map/LayerReader.h"

#include <gdal_priv.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

#include <cmath>
#include <vector>

#include "map/DataSetConfinement.h"
#include "map/GdalLockDown.h"
#include "map/LayerSource.h"
#include "map/ServerLayers.h"

namespace {

struct TransformDeleter {
  void operator()(OGRCoordinateTransformation* t) const { OGRCoordinateTransformation::DestroyCT(t); }
};

QString GdalError() { return QString::fromUtf8(CPLGetLastErrorMsg()); }

// Flattens a geometry into parts of vertices and the feature type it makes; -1 when it holds no
// geometry we draw.
struct Flattened {
  int type = -1;
  std::vector<MapPoint> vertices;
  std::vector<std::size_t> partEnds;
};

void AddCurve(const OGRSimpleCurve& curve, Flattened& out) {
  for (int i = 0; i < curve.getNumPoints(); ++i) out.vertices.push_back({curve.getX(i), curve.getY(i)});
  out.partEnds.push_back(out.vertices.size());
}

void Flatten(const OGRGeometry& g, Flattened& out) {
  switch (wkbFlatten(g.getGeometryType())) {
    case wkbPoint: {
      const auto& p = *g.toPoint();
      if (p.IsEmpty()) return;
      out.type = kFeaturePoint;
      out.vertices.push_back({p.getX(), p.getY()});
      out.partEnds.push_back(out.vertices.size());
      return;
    }
    case wkbLineString:
    case wkbLinearRing:
      if (out.type < 0) out.type = kFeatureLine;
      AddCurve(*g.toLineString(), out);
      return;
    case wkbPolygon:
      out.type = kFeatureRegion;
      for (const OGRLinearRing* ring : *g.toPolygon()) AddCurve(*ring, out);
      return;
    case wkbMultiPoint:
    case wkbMultiLineString:
    case wkbMultiPolygon:
    case wkbGeometryCollection:
      for (const OGRGeometry* part : *g.toGeometryCollection()) Flatten(*part, out);
      return;
    default:
      if (g.hasCurveGeometry()) {
        std::unique_ptr<OGRGeometry> linear(g.getLinearGeometry());
        if (linear) Flatten(*linear, out);
      }
      return;
  }
}

bool AllFinite(const std::vector<MapPoint>& vertices) {
  for (const MapPoint& p : vertices)
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) return false;
  return true;
}

// What the confinement saw while the layer was read, as a failure; ok when nothing went wrong.
// GDAL's own failures count only when the read itself found nothing wrong.
Outcome ConfinementFailure(const DataSetConfinement& confinement, const QString& file, const QString& layer,
                           bool readOk) {
  if (const QString refused = confinement.Refused(); !refused.isEmpty())
    return Outcome::Failure(
        kMapErrorReadFailed,
        QStringLiteral("图层数据文件 %1 要读取数据集文件夹之外、不是普通文件或在网络上的“%2”，不予读取")
            .arg(file, refused));
  if (confinement.Stalled())
    return Outcome::Failure(kMapErrorReadFailed,
                            QStringLiteral("图层数据文件 %1 的图层 %2 读取时超过 %3 秒没有进展，不予读取")
                                .arg(file, layer)
                                .arg(DataSetConfinement::kStallSeconds));
  if (const QString failure = confinement.GdalFailure(); readOk && !failure.isEmpty())
    return Outcome::Failure(
        kMapErrorReadFailed,
        QStringLiteral("读取图层数据文件 %1 的图层 %2 出错：%3").arg(file, layer, failure));
  return {};
}

// The memory a feature takes as read: its vertices and its texts.
qint64 FeatureBytes(const Flattened& flat, const std::vector<QString>& values) {
  qint64 bytes = qint64(flat.vertices.size() * sizeof(MapPoint));
  for (const QString& value : values) bytes += value.size() * qint64(sizeof(QChar));
  return bytes;
}

// Reads the layer of an open source under confinement, and within budget when one is given.
Outcome ReadOpenLayer(GDALDataset& dataset, const QString& path, const QString& sourceLayer,
                      const QString& name, const OGRSpatialReference& mapCrs, DataSetConfinement& confinement,
                      LoadBudget* budget, std::unique_ptr<Layer>& out) {
  OGRLayer* source =
      sourceLayer.isEmpty() ? dataset.GetLayer(0) : dataset.GetLayerByName(sourceLayer.toUtf8().constData());
  if (!source)
    return Outcome::Failure(kMapErrorLayerMissing,
                            QStringLiteral("图层数据文件 %1 中没有图层 %2").arg(path, sourceLayer));

  std::unique_ptr<OGRCoordinateTransformation, TransformDeleter> transform;
  if (const OGRSpatialReference* layerCrs = source->GetSpatialRef(); layerCrs && !layerCrs->IsSame(&mapCrs)) {
    OGRSpatialReference from(*layerCrs);
    from.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    transform.reset(OGRCreateCoordinateTransformation(&from, &mapCrs));
    if (!transform)
      return Outcome::Failure(
          kMapErrorBadProjection,
          QStringLiteral("图层数据文件 %1 的坐标系无法转换到地图坐标系：%2").arg(path, GdalError()));
  }

  OGRFeatureDefn* definition = source->GetLayerDefn();
  QStringList fields;
  for (int i = 0; i < definition->GetFieldCount(); ++i)
    fields << QString::fromUtf8(definition->GetFieldDefn(i)->GetNameRef());
  FeatureStore store(fields);
  // Counting first makes a source that never ends (a recursive view) stall within the bound.
  const GIntBig expected = source->GetFeatureCount(TRUE);
  if (confinement.Stalled()) return Outcome::Failure(kMapErrorReadFailed, path);
  confinement.Renew();
  if (expected > 0) store.Reserve(std::size_t(expected), std::size_t(expected));

  std::vector<QString> values(std::size_t(fields.size()));
  std::vector<std::span<const MapPoint>> parts;
  source->ResetReading();
  for (auto& feature : *source) {
    confinement.Renew();
    OGRGeometry* geometry = feature->GetGeometryRef();
    if (!geometry) continue;
    if (transform && geometry->transform(transform.get()) != OGRERR_NONE)
      return Outcome::Failure(kMapErrorBadProjection,
                              QStringLiteral("图层数据文件 %1 的坐标无法转换：%2").arg(path, GdalError()));
    Flattened flat;
    Flatten(*geometry, flat);
    if (flat.type < 0) continue;
    if (!AllFinite(flat.vertices))
      return Outcome::Failure(
          kMapErrorReadFailed,
          QStringLiteral("图层数据文件 %1 中要素 %2 的坐标不是有限数").arg(path).arg(feature->GetFID()));
    parts.clear();
    std::size_t begin = 0;
    for (std::size_t end : flat.partEnds) {
      parts.emplace_back(flat.vertices.data() + begin, end - begin);
      begin = end;
    }
    for (int i = 0; i < fields.size(); ++i)
      values[std::size_t(i)] =
          feature->IsFieldSetAndNotNull(i) ? QString::fromUtf8(feature->GetFieldAsString(i)) : QString();
    if (budget)
      if (const QString spent = budget->Spend(FeatureBytes(flat, values), path); !spent.isEmpty())
        return Outcome::Failure(kMapErrorReadFailed, spent);
    store.Add(flat.type, parts, values);
  }

  out =
      std::make_unique<Layer>(name.isEmpty() ? QString::fromUtf8(source->GetName()) : name, std::move(store));
  return {};
}

}  // namespace

Outcome ReadVectorLayer(const QString& folder, const QString& file, const QString& sourceLayer,
                        const QString& name, const OGRSpatialReference& mapCrs, std::unique_ptr<Layer>& out) {
  LockDownGdal();
  // A server layer's name is no file: it is opened before the confinement of the folder begins.
  const bool onServer = IsServerLayer(file);
  LayerSource opened;
  Outcome result = onServer ? OpenServerLayerSource(file, opened) : Outcome{};
  DataSetConfinement confinement({folder});
  if (!onServer) result = OpenLayerSource(folder, file, confinement, opened);
  const QString layer = onServer && sourceLayer.isEmpty() ? ServerLayerTable(file) : sourceLayer;
  // A layer read alone (not in a workspace's load) is bounded as a load of its own.
  LoadBudget alone;
  LoadBudget* budget = onServer ? ServerLayerSession::CurrentBudget() : nullptr;
  if (onServer && !budget) budget = &alone;
  if (result.ok())
    result = ReadOpenLayer(opened.Dataset(), file, layer, name, mapCrs, confinement, budget, out);
  opened.dataset.reset();
  opened.server.reset();
  if (Outcome seen = ConfinementFailure(confinement, file, sourceLayer, result.ok()); !seen.ok()) {
    out.reset();
    return seen;
  }
  return result;
}
