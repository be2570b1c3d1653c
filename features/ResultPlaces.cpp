#include "features/ResultPlaces.h"

#include <QHash>

#include "map/LonLat.h"
#include "mapwidgets/MapControl.h"
#include "mapwidgets/modMapFunction.h"

namespace {

const QString kNameField = QStringLiteral("name");

QString AttributesText(const Feature& feature) {
  const FeatureStore& store = feature.OwnerLayer()->Store();
  QStringList pairs;
  for (int field = 0; field < store.Fields().size(); ++field)
    pairs.append(store.Fields()[field] + QStringLiteral("：") +
                 store.ValueOf(feature.Id(), field).toString());
  return pairs.join(QStringLiteral("；"));
}

// The centre of the first feature of each name of a layer (layer order, matched by field name
// exactly, as the keyword pick's SearchByField matches): built once per layer, so a long list costs
// one pass over each layer it looks in.
class CentresByName {
 public:
  std::optional<MapPoint> Find(const Layer* layer, const QString& name) {
    if (!layer) return std::nullopt;
    auto built = byLayer_.find(layer);
    if (built == byLayer_.end()) built = byLayer_.insert(layer, Build(layer->Store()));
    const auto found = built->constFind(name);
    return found == built->cend() ? std::nullopt : std::optional<MapPoint>(*found);
  }

 private:
  static QHash<QString, MapPoint> Build(const FeatureStore& store) {
    QHash<QString, MapPoint> centres;
    const int field = store.FieldIndex(kNameField);
    if (field < 0) return centres;
    for (int id = 1; id <= store.IdLimit(); ++id) {
      if (!store.Exists(id)) continue;
      const QString name = store.ValueOf(id, field).toString();
      if (!centres.contains(name)) centres.insert(name, store.CenterOf(id));  // the first of a name wins
    }
    return centres;
  }

  QHash<const Layer*, QHash<QString, MapPoint>> byLayer_;
};

std::optional<MapPoint> PickedCentre(MapControl& map, CentresByName& centres, const ResultRow& row) {
  if (row.name.isEmpty()) return std::nullopt;
  if (!row.type.isEmpty())
    if (const std::optional<MapPoint> own = centres.Find(map.FindLayer(row.type), row.name)) return own;
  for (const Layer* layer : LayersBelowMarker(map))
    if (const std::optional<MapPoint> found = centres.Find(layer, row.name)) return found;
  return std::nullopt;
}

}  // namespace

std::vector<ResultRow> RowsOfSelection(const MapControl& map) {
  std::vector<ResultRow> rows;
  for (int position = 1; position <= map.LayerCount(); ++position) {
    const Layer& layer = *map.LayerAt(position);
    if (layer.IsTemporary()) continue;
    const Selection& selection = layer.Selection();
    for (int item = 1; item <= selection.Count(); ++item) {
      const Feature feature = selection.Item(item);
      rows.push_back(RowOf(feature.DisplayName(), layer.Name()));
      rows.back().attributes = AttributesText(feature);
      rows.back().at = feature.Center();
    }
  }
  return rows;
}

void FillPlaces(MapControl& map, std::vector<ResultRow>& rows) {
  const LonLatTransform wgs84(map.Projection(), LonLatDatum::kWgs84);
  CentresByName centres;
  for (ResultRow& row : rows) {
    if (!row.at) row.at = PickedCentre(map, centres, row);
    row.lonLat = row.at ? wgs84.ToLonLat(*row.at) : std::nullopt;
  }
}
