#include "map/LayerReader.h"

#include <gdal_priv.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

#include <QFileInfo>
#include <mutex>
#include <vector>

namespace {

struct DatasetCloser {
  void operator()(GDALDataset* d) const { GDALClose(d); }
};
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

}  // namespace

MapResult ReadVectorLayer(const QString& path, const QString& sourceLayer, const QString& name,
                          const OGRSpatialReference& mapCrs, std::unique_ptr<Layer>& out) {
  static std::once_flag registered;
  std::call_once(registered, [] { GDALAllRegister(); });

  if (!QFileInfo::exists(path))
    return MapResult::Failure(kMapErrorFileMissing, QStringLiteral("图层数据文件不存在：%1").arg(path));
  std::unique_ptr<GDALDataset, DatasetCloser> dataset(GDALDataset::FromHandle(
      GDALOpenEx(path.toUtf8().constData(), GDAL_OF_VECTOR | GDAL_OF_READONLY, nullptr, nullptr, nullptr)));
  if (!dataset)
    return MapResult::Failure(kMapErrorReadFailed,
                              QStringLiteral("无法打开图层数据文件 %1：%2").arg(path, GdalError()));
  OGRLayer* source = sourceLayer.isEmpty() ? dataset->GetLayer(0)
                                           : dataset->GetLayerByName(sourceLayer.toUtf8().constData());
  if (!source)
    return MapResult::Failure(kMapErrorLayerMissing,
                              QStringLiteral("图层数据文件 %1 中没有图层 %2").arg(path, sourceLayer));

  std::unique_ptr<OGRCoordinateTransformation, TransformDeleter> transform;
  if (const OGRSpatialReference* layerCrs = source->GetSpatialRef(); layerCrs && !layerCrs->IsSame(&mapCrs)) {
    OGRSpatialReference from(*layerCrs);
    from.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    transform.reset(OGRCreateCoordinateTransformation(&from, &mapCrs));
    if (!transform)
      return MapResult::Failure(
          kMapErrorBadProjection,
          QStringLiteral("图层数据文件 %1 的坐标系无法转换到地图坐标系：%2").arg(path, GdalError()));
  }

  OGRFeatureDefn* definition = source->GetLayerDefn();
  QStringList fields;
  for (int i = 0; i < definition->GetFieldCount(); ++i)
    fields << QString::fromUtf8(definition->GetFieldDefn(i)->GetNameRef());
  FeatureStore store(fields);
  const GIntBig expected = source->GetFeatureCount(FALSE);
  if (expected > 0) store.Reserve(std::size_t(expected), std::size_t(expected));

  std::vector<QString> values(std::size_t(fields.size()));
  std::vector<std::span<const MapPoint>> parts;
  source->ResetReading();
  for (auto& feature : *source) {
    OGRGeometry* geometry = feature->GetGeometryRef();
    if (!geometry) continue;
    if (transform && geometry->transform(transform.get()) != OGRERR_NONE)
      return MapResult::Failure(kMapErrorBadProjection,
                                QStringLiteral("图层数据文件 %1 的坐标无法转换：%2").arg(path, GdalError()));
    Flattened flat;
    Flatten(*geometry, flat);
    if (flat.type < 0) continue;
    parts.clear();
    std::size_t begin = 0;
    for (std::size_t end : flat.partEnds) {
      parts.emplace_back(flat.vertices.data() + begin, end - begin);
      begin = end;
    }
    for (int i = 0; i < fields.size(); ++i)
      values[std::size_t(i)] =
          feature->IsFieldSetAndNotNull(i) ? QString::fromUtf8(feature->GetFieldAsString(i)) : QString();
    store.Add(flat.type, parts, values);
  }

  out =
      std::make_unique<Layer>(name.isEmpty() ? QString::fromUtf8(source->GetName()) : name, std::move(store));
  return {};
}
