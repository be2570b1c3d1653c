#pragma once
// The legend drawer's picture and a printed page's legend: the city's legend classes drawn from the
// map's layers.
#include <iterator>

#include "data/CityVocabulary.h"
#include "map/Legend.h"

inline QStringList CityLegendClasses() {
  return QStringList(std::begin(city::kLegendClasses), std::end(city::kLegendClasses));
}

inline QImage RenderCityLegend(const std::vector<const Layer*>& layers, QSize size, qreal devicePixelRatio) {
  static const QStringList classes = CityLegendClasses();
  return RenderLegend(classes, layers, size, devicePixelRatio);
}

// The legend of layers (the switched-on ones) as a printed page lists it: one entry per class some
// layer shows, in the drawer's order.
inline std::vector<LegendEntry> CityLegendEntries(const std::vector<const Layer*>& layers) {
  std::vector<LegendEntry> entries = LegendEntries(CityLegendClasses(), layers);
  std::erase_if(entries, [](const LegendEntry& e) { return !e.hasLayer; });
  return entries;
}
