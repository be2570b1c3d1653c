#include "map/Layer.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "map/Geometry.h"

namespace {

std::vector<SpatialIndex::Entry> IndexEntries(const FeatureStore& store) {
  std::vector<SpatialIndex::Entry> entries;
  entries.reserve(std::size_t(store.Count()));
  for (int id = 1; id <= store.IdLimit(); ++id)
    if (store.Exists(id)) entries.emplace_back(SpatialIndex::ToBox(store.BoundsOf(id)), id);
  return entries;
}

// Each feature's style case by id; empty when every feature is drawn in the layer's style.
std::vector<std::uint8_t> StyleCases(const FeatureStore& store, const LayerStyle& style) {
  const int field = store.FieldIndex(style.caseField);
  if (style.cases.empty() || field < 0) return {};
  std::vector<std::uint8_t> cases(std::size_t(store.IdLimit()) + 1, 0);
  bool any = false;
  for (int id = 1; id <= store.IdLimit(); ++id) {
    if (!store.Exists(id)) continue;
    cases[std::size_t(id)] = std::uint8_t(StyleCaseOf(style, store.ValueOf(id, field)));
    any |= cases[std::size_t(id)] != 0;
  }
  return any ? cases : std::vector<std::uint8_t>();
}

MapRect Around(MapPoint p, double r) { return {p.x - r, p.y - r, p.x + r, p.y + r}; }

// Distance from p to the feature's geometry: 0 inside a region.
double DistanceToFeature(const FeatureStore& store, int id, MapPoint p) {
  double best = std::numeric_limits<double>::infinity();
  bool inside = false;
  for (int k = 0; k < store.PartCount(id); ++k) {
    const auto part = store.Part(id, k);
    best = std::min(best, DistanceToPath(p, part));
    if (store.TypeOf(id) == kFeatureRegion && RingContains(part, p)) inside = !inside;
  }
  return inside ? 0 : best;
}

bool WhollyWithin(const FeatureStore& store, int id, MapPoint p, double r) {
  for (int k = 0; k < store.PartCount(id); ++k)
    for (const MapPoint& v : store.Part(id, k))
      if (Distance(p, v) > r) return false;
  return true;
}

}  // namespace

void LayerContent::IdsIn(const MapRect& r, std::vector<int>& ids) const {
  ids.clear();
  const MapRect all = index.Extent();
  if (r.minX <= all.minX && r.minY <= all.minY && r.maxX >= all.maxX && r.maxY >= all.maxY) {
    // Every feature: in id order straight away, without asking the tree and sorting.
    ids.reserve(std::size_t(store.Count()));
    for (int id = 1; id <= store.IdLimit(); ++id)
      if (store.Exists(id)) ids.push_back(id);
    return;
  }
  index.Query(r, ids);
  std::sort(ids.begin(), ids.end());
}

Layer::Layer(QString name, FeatureStore store, bool temporary)
    : name_(std::move(name)), temporary_(temporary) {
  SpatialIndex index(IndexEntries(store));
  content_ = std::make_shared<LayerContent>(LayerContent{std::move(store), std::move(index), {}});
  displayField_ = content_->store.FieldIndex(QStringLiteral("name"));
}

void Layer::SetStyle(const LayerStyle& style) {
  style_ = style;
  std::vector<std::uint8_t> cases = StyleCases(content_->store, style);
  if (cases != content_->styleCase) Editable().styleCase = std::move(cases);
}

LayerContent& Layer::Editable() {
  if (content_.use_count() > 1) content_ = std::make_shared<LayerContent>(*content_);
  return *content_;
}

FeatureSet Layer::ListFeatures() {
  std::vector<Feature> items;
  items.reserve(std::size_t(content_->store.Count()));
  for (int id = 1; id <= content_->store.IdLimit(); ++id)
    if (content_->store.Exists(id)) items.emplace_back(this, id);
  return FeatureSet(std::move(items));
}

Feature Layer::InsertFeature(const Feature& f) {
  if (!AllowEdits() || !f.IsValid()) return {};
  std::vector<std::span<const MapPoint>> parts;
  for (int k = 0; k < f.PartCount(); ++k) parts.push_back(f.Part(k));
  LayerContent& content = Editable();
  const int id = content.store.Add(f.Type(), parts, {});
  if (const FeatureStyle* style = f.Style()) content.store.SetStyle(id, *style);
  content.index.Insert(content.store.BoundsOf(id), id);
  if (host_) host_->LayerContentChanged(*this);
  return Feature(this, id);
}

bool Layer::RemoveFeature(const Feature& f) {
  if (f.OwnerLayer() != this || !AllowEdits() || !Store().Exists(f.Id())) return false;
  LayerContent& content = Editable();
  content.index.Remove(content.store.BoundsOf(f.Id()), f.Id());
  content.store.Remove(f.Id());
  const bool wasSelected = selection_.Forget(f.Id());
  if (temporary_ && content.store.Count() == 0) Restart();
  if (host_) {
    host_->LayerContentChanged(*this);
    if (wasSelected) host_->LayerSelectionChanged(*this);
  }
  return true;
}

void Layer::Restart() {
  content_ = std::make_shared<LayerContent>(LayerContent{FeatureStore(Store().Fields()), {}, {}});
}

bool Layer::RemoveFeature(const QString& key) { return RemoveFeature(FeatureForKey(key)); }

void Layer::RedrawLayer() {
  if (host_) host_->LayerContentChanged(*this);
}

int Layer::IdOfNamedFeature(const QString& name) const {
  for (int id = 1; id <= content_->store.IdLimit(); ++id)
    if (content_->store.Exists(id) && content_->store.ValueOf(id, displayField_) == name) return id;
  return 0;
}

QString Layer::KeyOfNamedFeature(const QString& name) const {
  const int id = IdOfNamedFeature(name);
  return id ? QString::number(id) : QString();
}

Feature Layer::FeatureForKey(const QString& key) {
  bool ok = false;
  const int id = key.toInt(&ok);
  return ok ? FeatureForId(id) : Feature();
}

Feature Layer::FeatureForId(int id) { return content_->store.Exists(id) ? Feature(this, id) : Feature(); }

FeatureSet Layer::FeaturesWithinDistance(MapPoint p, double distance, int unit, int mode) {
  if (unit != kUnitMetres || distance < 0) return {};
  std::vector<SpatialIndex::Entry> entries;
  content_->index.Query(Around(p, distance), entries);
  std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.second < b.second; });
  std::vector<Feature> found;
  for (const auto& [box, id] : entries) {
    const MapRect b = SpatialIndex::ToRect(box);
    // Bounds inside the circle hold every vertex; bounds farther than the distance hold none.
    const double farthest =
        std::hypot(std::max(p.x - b.minX, b.maxX - p.x), std::max(p.y - b.minY, b.maxY - p.y));
    const double nearest =
        std::hypot(std::max({b.minX - p.x, 0.0, p.x - b.maxX}), std::max({b.minY - p.y, 0.0, p.y - b.maxY}));
    bool hit;
    if (mode == kSearchWhollyWithin) {
      hit = farthest <= distance || (nearest <= distance && WhollyWithin(content_->store, id, p, distance));
    } else if (mode == 1) {
      hit = farthest <= distance ||
            (nearest <= distance && DistanceToFeature(content_->store, id, p) <= distance);
    } else {
      hit = Distance(p, {b.CenterX(), b.CenterY()}) <= distance;
    }
    if (hit) found.emplace_back(this, id);
  }
  return FeatureSet(std::move(found));
}

FieldSearchResult Layer::SearchByField(const QString& field, const QString& value) {
  const int fieldIndex = content_->store.FieldIndex(field);
  if (fieldIndex < 0) return {};
  for (int id = 1; id <= content_->store.IdLimit(); ++id)
    if (content_->store.Exists(id) && content_->store.ValueOf(id, fieldIndex) == value)
      return {Feature(this, id), kSearchExact};
  return {};
}

Feature Layer::NearestFeature(MapPoint p) {
  const int first = content_->index.Nearest(p);
  if (!first) return {};
  // The feature with the nearest bounds need not have the nearest centre (a long line), nor be
  // the earliest of a tie; but every feature whose centre lies within its centre's distance has
  // bounds meeting the square around p of that half side.
  const double reach = Distance(p, content_->store.CenterOf(first));
  int bestId = first;
  double best = reach;
  for (int id : IdsIn(Around(p, reach))) {  // ascending: the first of equals stays
    const double d = Distance(p, content_->store.CenterOf(id));
    if (d < best || (d == best && id < bestId)) {
      best = d;
      bestId = id;
    }
  }
  return Feature(this, bestId);
}

std::vector<int> Layer::IdsIn(const MapRect& r) const {
  std::vector<int> ids;
  content_->IdsIn(r, ids);
  return ids;
}

std::vector<int> Layer::IdsAtPoint(MapPoint p, double tolerance) const {
  std::vector<int> ids;
  for (int id : IdsIn(Around(p, tolerance))) {
    const double d = DistanceToFeature(content_->store, id, p);
    if (content_->store.TypeOf(id) == kFeatureRegion ? d == 0 : d <= tolerance) ids.push_back(id);
  }
  return ids;
}
