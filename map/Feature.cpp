#include "map/Feature.h"

#include <algorithm>

#include "map/Layer.h"

bool Feature::IsValid() const { return layer_ ? layer_->Store().Exists(id_) : made_ != nullptr; }

int Feature::Type() const { return layer_ ? layer_->Store().TypeOf(id_) : made_ ? made_->type : -1; }

MapPoint Feature::Center() const {
  if (layer_) return layer_->Store().CenterOf(id_);
  const MapRect r = Bounds();
  return {r.CenterX(), r.CenterY()};
}

MapRect Feature::Bounds() const {
  if (layer_) return layer_->Store().BoundsOf(id_);
  if (!made_ || made_->vertices.empty()) return {};
  const MapPoint& first = made_->vertices.front();
  MapRect r{first.x, first.y, first.x, first.y};
  for (const MapPoint& p : made_->vertices)
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
  return made_ && !made_->vertices.empty() ? 1 : 0;
}

std::span<const MapPoint> Feature::Part(int part) const {
  if (layer_) return layer_->Store().Part(id_, part);
  return made_ ? std::span<const MapPoint>(made_->vertices) : std::span<const MapPoint>();
}

const FeatureStyle* Feature::Style() const {
  if (layer_) return layer_->Store().StyleOf(id_);
  return made_ ? &made_->style : nullptr;
}

MapRect FeatureSet::Bounds() const {
  if (items_.empty()) return {};
  MapRect r = items_.front().Bounds();
  for (const Feature& f : items_) r = r.United(f.Bounds());
  return r;
}
