#pragma once
// The features of one layer, stored compactly: one vertex array for the whole layer with part
// and feature offsets into it, and all attribute texts in one character pool. A layer of a
// million points costs a few dozen bytes a feature, with no heap block per feature.
//
// Features are numbered by id from 1 in the order they were added; ids are stable, a removed
// feature's id is never reused. Layer order is ascending id. Coordinates are map coordinates
// (metres in the workspace CRS).
#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

#include "map/MapTypes.h"

class FeatureStore {
 public:
  // fields: the attribute names, every feature has a text value for each.
  explicit FeatureStore(QStringList fields = {});

  // Adds a feature of type kFeatureRegion/Line/Point with its parts (rings of a region, pieces of
  // a line, one one-vertex part for a point) and one value per field (missing ones are empty).
  // Returns its id. The store copies what it is given.
  int Add(int type, std::span<const std::span<const MapPoint>> parts, std::span<const QString> values);
  int Add(int type, std::span<const MapPoint> singlePart, std::span<const QString> values);

  // Marks a feature removed; its id stays taken. False when it is absent or already removed.
  bool Remove(int id);

  // Ids run from 1 to IdLimit(); Exists says whether one is present (not removed).
  int IdLimit() const { return int(types_.size()); }
  int Count() const { return count_; }
  bool Exists(int id) const { return id >= 1 && id <= IdLimit() && alive_[id - 1]; }

  // Geometry of an existing feature; spans point into the store and stay valid until the next Add.
  int TypeOf(int id) const { return types_[id - 1]; }
  int PartCount(int id) const { return int(featurePart_[id] - featurePart_[id - 1]); }
  std::span<const MapPoint> Part(int id, int part) const;
  MapRect BoundsOf(int id) const;
  // The centre of the feature's bounds: a point's own position.
  MapPoint CenterOf(int id) const;

  // Attributes: the field names, and a value by field index (empty for an unknown index).
  const QStringList& Fields() const { return fields_; }
  int FieldIndex(const QString& field) const { return int(fields_.indexOf(field)); }
  QStringView ValueOf(int id, int field) const;

  // Style of a feature the program inserted (markers, frames); nullptr for data features, which
  // are drawn with their layer's LayerStyle.
  const FeatureStyle* StyleOf(int id) const;
  void SetStyle(int id, const FeatureStyle& style) { styles_[id] = style; }

  // Memory reserved for features to come (vertices, features) before a bulk load.
  void Reserve(std::size_t vertices, std::size_t features);

 private:
  QStringList fields_;
  std::vector<MapPoint> vertices_;
  std::vector<std::uint32_t> partStart_{0};    // vertex index of each part, plus the end
  std::vector<std::uint32_t> featurePart_{0};  // part index of each feature's first part, plus the end
  std::vector<std::uint8_t> types_;
  std::vector<std::uint8_t> alive_;
  QString text_;                              // every attribute value, one after another
  std::vector<std::uint32_t> valueStart_{0};  // text_ index of each value, plus the end
  std::unordered_map<int, FeatureStyle> styles_;
  int count_ = 0;
};
