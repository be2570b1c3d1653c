#include "features/ResultPlaces.h"

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

std::optional<MapPoint> CentreNamed(Layer* layer, const QString& name) {
  if (!layer) return std::nullopt;
  const FieldSearchResult found = layer->SearchByField(kNameField, name);
  return found.Exact() ? std::optional<MapPoint>(found.feature.Center()) : std::nullopt;
}

std::optional<MapPoint> PickedCentre(MapControl& map, const ResultRow& row) {
  if (row.name.isEmpty()) return std::nullopt;
  if (!row.type.isEmpty())
    if (const std::optional<MapPoint> own = CentreNamed(map.FindLayer(row.type), row.name)) return own;
  for (Layer* layer : LayersBelowMarker(map))
    if (const std::optional<MapPoint> found = CentreNamed(layer, row.name)) return found;
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
  for (ResultRow& row : rows) {
    if (!row.at) row.at = PickedCentre(map, row);
    row.lonLat = row.at ? wgs84.ToLonLat(*row.at) : std::nullopt;
  }
}
