#include "features/SpatialSearch.h"

#include "app/kit/NumberFormat.h"
#include "data/TextValue.h"

float RadiusFromText(const QString& text) { return static_cast<float>(LeadingNumber(text)); }

Layer* FindWorkspaceLayer(const Workspace& workspace, const QString& name) {
  for (auto layer = workspace.layers.rbegin(); layer != workspace.layers.rend(); ++layer)
    if ((*layer)->Name() == name) return layer->get();
  return nullptr;
}

QString SearchRefusal(const QString& type, const Layer* layer, bool needsFeatures) {
  if (type.isEmpty()) return QStringLiteral("请先选择地物类型。");
  if (!layer) return QStringLiteral("地图上没有“%1”图层，无法查询。").arg(type);
  if (needsFeatures && layer->Store().Count() == 0) return QStringLiteral("“%1”图层中没有地物。").arg(type);
  return QString();
}

QString RadiusRefusal(double radius) {
  return radius < 0 ? QStringLiteral("查询半径不能为负数，请输入不小于 0 的半径。") : QString();
}

FeatureSet FeaturesInRadius(Layer& layer, MapPoint centre, double radius) {
  return layer.FeaturesWithinDistance(centre, radius, kUnitMetres, kSearchWhollyWithin);
}

QString DistanceCaption(double metres) { return qiwu::FormatGrouped(metres, 0) + QStringLiteral("  米"); }
