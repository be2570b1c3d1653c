#include "features/SpatialSearch.h"

#include <cmath>
#include <limits>

#include "data/TextValue.h"
#include "kit/NumberFormat.h"

float RadiusFromText(const QString& text) {
  const double radius = LeadingNumber(text);
  // Beyond single precision the conversion is undefined; such a radius is an infinity.
  constexpr float kInfinity = std::numeric_limits<float>::infinity();
  if (std::abs(radius) > std::numeric_limits<float>::max()) return radius < 0 ? -kInfinity : kInfinity;
  return static_cast<float>(radius);
}

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
  if (!std::isfinite(radius)) return QStringLiteral("查询半径过大，请输入一个有限的半径。");
  return radius < 0 ? QStringLiteral("查询半径不能为负数，请输入不小于 0 的半径。") : QString();
}

FeatureSet FeaturesInRadius(Layer& layer, MapPoint centre, double radius) {
  return layer.FeaturesWithinDistance(centre, radius, kUnitMetres, kSearchWhollyWithin);
}

QString DistanceCaption(double metres) { return qiwu::FormatGrouped(metres, 0) + QStringLiteral("  米"); }
