#include "map/Feature.h"

#include <algorithm>

#include "map/Layer.h"

bool Feature::IsValid() const { return layer_ ? layer_->Store().Exists(id_) : type_ >= 0; }

int Feature::Type() const { return layer_ ? layer_->Store().TypeOf(id_) : type_; }

MapPoint Feature::Center() const {
  if (layer_) return layer_->Store().CenterOf(id_);
  if (type_ == kFeaturePoint && !vertices_.empty()) return vertices_.front();
  const MapRect r = Bounds();
  return {r.CenterX(), r.CenterY()};
}

MapRect Feature::Bounds() const {
  if (layer_) return layer_->Store().BoundsOf(id_);
  if (vertices_.empty()) return {};
  MapRect r{vertices_[0].x, vertices_[0].y, vertices_[0].x, vertices_[0].y};
  for (const MapPoint& p : vertices_)
    r = {std::min(r.minX, p.x), std::min(r.minY, p.y), std::max(r.maxX, p.x), std::max(r.maxY, p.y)};
  return r;
}

QString Feature::DisplayName() const {
  return layer_ ? layer_->Store().ValueOf(id_, layer_->DisplayField()).toString() : QString();
}

QString Feature::RecordKey() const { return layer_ ? QString::number(id_) : QString(); }

QString Feature::Value(const QString& field) const {
  return layer_ ? layer_->Store().ValueOf(id_, layer_->Store().FieldIndex(field)).toString() : QString();
}

int Feature::PartCount() const {
  if (layer_) return layer_->Store().PartCount(id_);
  return vertices_.empty() ? 0 : 1;
}

std::span<const MapPoint> Feature::Part(int part) const {
  if (layer_) return layer_->Store().Part(id_, part);
  return vertices_;
}

const FeatureStyle* Feature::Style() const {
  if (layer_) return layer_->Store().StyleOf(id_);
  return type_ >= 0 ? &style_ : nullptr;
}

MapRect FeatureSet::Bounds() const {
  if (items_.empty()) return {};
  MapRect r = items_.front().Bounds();
  for (const Feature& f : items_) r = r.United(f.Bounds());
  return r;
}
