#include "map/FeatureStore.h"

#include <algorithm>

FeatureStore::FeatureStore(QStringList fields) : fields_(std::move(fields)) {}

int FeatureStore::Add(int type, std::span<const std::span<const MapPoint>> parts,
                      std::span<const QString> values) {
  for (const auto& part : parts) {
    vertices_.insert(vertices_.end(), part.begin(), part.end());
    partStart_.push_back(std::uint32_t(vertices_.size()));
  }
  featurePart_.push_back(std::uint32_t(partStart_.size() - 1));
  types_.push_back(std::uint8_t(type));
  alive_.push_back(1);
  for (int f = 0; f < fields_.size(); ++f) {
    if (f < int(values.size())) text_ += values[f];
    valueStart_.push_back(std::uint32_t(text_.size()));
  }
  ++count_;
  return IdLimit();
}

int FeatureStore::Add(int type, std::span<const MapPoint> singlePart, std::span<const QString> values) {
  const std::span<const MapPoint> parts[] = {singlePart};
  return Add(type, parts, values);
}

bool FeatureStore::Remove(int id) {
  if (!Exists(id)) return false;
  alive_[id - 1] = 0;
  styles_.erase(id);
  --count_;
  return true;
}

std::span<const MapPoint> FeatureStore::Part(int id, int part) const {
  const std::uint32_t p = featurePart_[id - 1] + std::uint32_t(part);
  return {vertices_.data() + partStart_[p], vertices_.data() + partStart_[p + 1]};
}

MapRect FeatureStore::BoundsOf(int id) const {
  const MapPoint* first = vertices_.data() + partStart_[featurePart_[id - 1]];
  const MapPoint* last = vertices_.data() + partStart_[featurePart_[id]];
  if (first == last) return {};
  MapRect r{first->x, first->y, first->x, first->y};
  for (const MapPoint* p = first + 1; p < last; ++p) {
    r.minX = std::min(r.minX, p->x);
    r.minY = std::min(r.minY, p->y);
    r.maxX = std::max(r.maxX, p->x);
    r.maxY = std::max(r.maxY, p->y);
  }
  return r;
}

MapPoint FeatureStore::CenterOf(int id) const {
  const MapRect r = BoundsOf(id);
  return {r.CenterX(), r.CenterY()};
}

QStringView FeatureStore::ValueOf(int id, int field) const {
  if (field < 0 || field >= fields_.size()) return {};
  const std::size_t slot = std::size_t(id - 1) * fields_.size() + field;
  return QStringView(text_).mid(valueStart_[slot], valueStart_[slot + 1] - valueStart_[slot]);
}

const FeatureStyle* FeatureStore::StyleOf(int id) const {
  const auto it = styles_.find(id);
  return it == styles_.end() ? nullptr : &it->second;
}

void FeatureStore::Reserve(std::size_t vertices, std::size_t features) {
  vertices_.reserve(vertices);
  partStart_.reserve(features + 1);
  featurePart_.reserve(features + 1);
  types_.reserve(features);
  alive_.reserve(features);
  valueStart_.reserve(features * fields_.size() + 1);
}
