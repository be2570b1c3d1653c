#include <algorithm>

#include "map/Layer.h"

Feature Selection::Item(int index) const { return Feature(&layer_, ids_[index - 1]); }

void Selection::Replace(const Feature& f) {
  if (f.OwnerLayer() != &layer_ || !f.IsValid()) return;
  Set({f.Id()});
}

void Selection::SelectWithinRadius(double x, double y, double r, int mode) {
  std::vector<int> ids;
  for (const Feature& f : layer_.FeaturesWithinDistance({x, y}, r, kUnitMetres, 0)) ids.push_back(f.Id());
  Apply(std::move(ids), mode);
}

void Selection::SelectAtPoint(double x, double y, int mode) {
  const double tolerance = layer_.Host() ? layer_.Host()->PickTolerance() : 0;
  Apply(layer_.IdsAtPoint({x, y}, tolerance), mode);
}

void Selection::SelectInRect(const MapRect& rect, int mode) {
  std::vector<int> ids;
  for (int id : layer_.IdsIn(rect)) {
    const MapRect b = layer_.Store().BoundsOf(id);
    if (rect.Contains({b.minX, b.minY}) && rect.Contains({b.maxX, b.maxY})) ids.push_back(id);
  }
  Apply(std::move(ids), mode);
}

void Selection::Clear() {
  if (!ids_.empty()) Set({});
}

bool Selection::Forget(int id) {
  if (!Contains(id)) return false;
  member_[id] = false;
  ids_.erase(std::find(ids_.begin(), ids_.end(), id));
  return true;
}

void Selection::Apply(std::vector<int> ids, int mode) {
  if (mode == kSelectionAdd) {
    std::vector<int> merged = ids_;
    for (int id : ids)
      if (!Contains(id)) merged.push_back(id);
    if (merged.size() == ids_.size()) return;  // nothing added: no change to report
    ids = std::move(merged);
  }
  Set(std::move(ids));
}

void Selection::Set(std::vector<int> ids) {
  for (int id : ids_) member_[id] = false;
  ids_ = std::move(ids);
  for (int id : ids_) {
    if (id >= int(member_.size())) member_.resize(std::size_t(layer_.Store().IdLimit()) + 1);
    member_[id] = true;
  }
  if (layer_.Host()) layer_.Host()->LayerSelectionChanged(layer_);
}
