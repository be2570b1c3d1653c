#pragma once
// The city's legend: its ten classes first, in their order, then the map's other switched-on
// layers in their own styles (MapLegendEntries), for the legend drawer and the exports.
#include <iterator>

#include "data/CityVocabulary.h"
#include "map/Legend.h"

inline std::vector<LegendEntry> CityLegendEntries(const std::vector<const Layer*>& bottomToTop) {
  static const QStringList classes(std::begin(city::kLegendClasses), std::end(city::kLegendClasses));
  return MapLegendEntries(classes, bottomToTop);
}
