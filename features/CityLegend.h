#pragma once
// The legend drawer's picture: the city's legend classes drawn from the map's layers.
#include <iterator>

#include "data/CityVocabulary.h"
#include "map/Legend.h"

inline QImage RenderCityLegend(const std::vector<const Layer*>& layers, QSize size, qreal devicePixelRatio) {
  static const QStringList classes(std::begin(city::kLegendClasses), std::end(city::kLegendClasses));
  return RenderLegend(classes, layers, size, devicePixelRatio);
}
