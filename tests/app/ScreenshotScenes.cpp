#include "tests/app/ScreenshotScenes.h"

#include <QComboBox>
#include <QListWidget>
#include <algorithm>
#include <cstdlib>

#include "bus/BusPanel.h"
#include "bus/modBusChange.h"
#include "data/CityVocabulary.h"
#include "data/modGetRecord.h"
#include "map/Layer.h"
#include "mapwidgets/MapControl.h"

namespace {

const QString kRestaurants = QStringLiteral("餐饮娱乐");

bool HasFullCard(const Feature& restaurant) {
  const QString condition = " where name  = '" + modGetRecord::SqlText(restaurant.DisplayName()) + "'";
  return !modGetRecord::GetFieldValue(kRestaurants, "address", condition).isEmpty() &&
         !modGetRecord::GetFieldValue(kRestaurants, "web", condition).isEmpty();
}

struct LineEnds {
  QString line;
  QString first;
  QString last;
};

std::vector<LineEnds> ReadLineEnds(BusPanel& bus, int lines) {
  std::vector<LineEnds> ends;
  for (int i = 0; i < std::min(lines, bus.cmbBus->count()); ++i) {
    bus.cmbBus->setCurrentIndex(i);
    emit bus.cmbBus->activated(i);
    const QListWidget* stops = bus.lstShow3;
    if (stops->count() < 2) continue;
    ends.push_back({bus.cmbBus->currentText(), BusPanel::ListEntryTarget(stops->item(0)->text(), true).name,
                    BusPanel::ListEntryTarget(stops->item(stops->count() - 1)->text(), true).name});
  }
  return ends;
}

}  // namespace

std::vector<Feature> RestaurantsWithFullCards(MapControl& map, int count) {
  std::vector<Feature> found;
  for (const Feature& f : map.FindLayer(kRestaurants)->ListFeatures()) {
    if (int(found.size()) == count) break;
    if (HasFullCard(f)) found.push_back(f);
  }
  return found;
}

MapPoint BusyCorner(MapControl& map) {
  Layer* layer = map.FindLayer(kRestaurants);
  MapPoint corner;
  int most = 0;
  for (const Feature& f : layer->ListFeatures()) {
    const int around =
        layer->FeaturesWithinDistance(f.Center(), 400, kUnitMetres, kSearchWhollyWithin).Count();
    if (around > most && around <= 6) most = around, corner = {f.CenterX() + 40, f.CenterY() - 30};
  }
  return corner;
}

MapPoint QuietSpot(MapControl& map, MapPoint start) {
  Layer* layer = map.FindLayer(kRestaurants);
  for (int ring = 0; ring <= 20; ++ring) {
    for (int dx = -ring; dx <= ring; ++dx) {
      for (int dy = -ring; dy <= ring; ++dy) {
        if (std::max(std::abs(dx), std::abs(dy)) != ring) continue;
        const MapPoint p{start.x + 100 * dx, start.y + 100 * dy};
        const Feature nearest = layer->NearestFeature(p);
        const double distance = map.MeasureDistance(p.x, p.y, nearest.CenterX(), nearest.CenterY());
        if (nearest.IsValid() && distance >= 250 && distance <= 400) return p;
      }
    }
  }
  return start;
}

TransferScene FindTransfer(BusPanel& bus) {
  const std::vector<LineEnds> ends = ReadLineEnds(bus, 30);
  for (const LineEnds& from : ends) {
    for (const LineEnds& to : ends) {
      if (from.first == to.last) continue;
      const QString plan = modBusChange::FindBusChange(from.first, to.last, city::kBusTable);
      const qsizetype plans = plan.count(QStringLiteral(" 换 "));
      if (plans >= 3 && plans <= 5) return {from.line, from.first, to.last};
    }
  }
  return {};
}
