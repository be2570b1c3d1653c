#pragma once
// A map feature as the program handles it: a small value that either refers to a feature of a
// layer (owner layer + id) or, when made by the map (MakePointFeature...) and not yet inserted,
// carries its own geometry and style. Coordinates are map coordinates (metres in the workspace
// CRS). A Feature does not own its layer; it stays meaningful while that layer lives.
#include <QString>
#include <memory>
#include <span>
#include <vector>

#include "map/MapTypes.h"

class Layer;

class Feature {
 public:
  Feature() = default;  // no feature: IsValid() is false
  // The feature id of layer (the layer is not owned).
  Feature(Layer* layer, int id) : layer_(layer), id_(id) {}
  // A free-standing feature of one part (a point is one vertex, a region one closed ring).
  Feature(int type, std::vector<MapPoint> vertices, const FeatureStyle& style)
      : made_(std::make_shared<const Made>(Made{type, std::move(vertices), style})) {}

  // True for a feature present in its layer, or a free-standing one.
  bool IsValid() const;

  int Type() const;  // kFeatureRegion 0, kFeatureLine 1, kFeaturePoint 2
  double CenterX() const { return Center().x; }
  double CenterY() const { return Center().y; }
  MapPoint Center() const;  // the centre of the bounds: a point's own position
  MapRect Bounds() const;
  QString DisplayName() const;    // the layer's display field ("name"); empty for made features
  QString RecordKey() const;      // the id as text ("17"); empty for a free-standing feature
  int Id() const { return id_; }  // 1-based in its layer, stable; 0 for a free-standing feature
  Layer* OwnerLayer() const { return layer_; }

  // Attribute text of a field; empty when the layer has no such field.
  QString Value(const QString& field) const;

  // Geometry: parts of vertices in map coordinates.
  int PartCount() const;
  std::span<const MapPoint> Part(int part) const;

  // The style of a made or inserted feature; nullptr for a data feature (drawn in its layer's style).
  const FeatureStyle* Style() const;

  // Same layer and id (free-standing features are never equal).
  bool operator==(const Feature& other) const { return layer_ && layer_ == other.layer_ && id_ == other.id_; }

 private:
  // What a free-standing feature carries; shared, as it never changes once made.
  struct Made {
    int type;
    std::vector<MapPoint> vertices;
    FeatureStyle style;
  };

  Layer* layer_ = nullptr;
  int id_ = 0;
  std::shared_ptr<const Made> made_;
};

// Features in a given order, numbered from 1 like the program's collections.
class FeatureSet {
 public:
  FeatureSet() = default;
  explicit FeatureSet(std::vector<Feature> items) : items_(std::move(items)) {}

  int Count() const { return int(items_.size()); }
  const Feature& Item(int index) const { return items_[index - 1]; }  // 1 <= index <= Count()
  MapRect Bounds() const;  // combined bounds; an empty rectangle at 0,0 for no features

  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  std::vector<Feature> items_;
};
