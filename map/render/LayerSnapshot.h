#pragma once
// A layer as one rendering draws it: the features and index it shares with the layer (edits of the
// layer go to a copy meanwhile), and its style, display limit and selection copied when the rendering
// began. A rendering off the window's thread draws only from these.
#include <memory>
#include <vector>

#include "map/Layer.h"

class LayerSnapshot {
 public:
  explicit LayerSnapshot(const Layer& layer)
      : content_(layer.Content()),
        style_(layer.Style()),
        selected_(layer.Selection().Ids()),
        maxVisibleWidth_(layer.MaxVisibleWidth()),
        visible_(layer.Visible()),
        shown_(layer.Shown()),
        temporary_(layer.IsTemporary()) {}

  const FeatureStore& Store() const { return content_->store; }
  const LayerStyle& Style() const { return style_; }
  // Whether some feature is drawn in a style case; CaseOf gives its number (0: Style()).
  bool HasCases() const { return !content_->styleCase.empty(); }
  int CaseOf(int id) const {
    const auto& cases = content_->styleCase;
    return std::size_t(id) < cases.size() ? cases[std::size_t(id)] : 0;
  }
  const std::vector<int>& SelectedIds() const { return selected_; }
  bool Visible() const { return visible_; }
  bool IsTemporary() const { return temporary_; }
  // A layer switched off by the user is not drawn; its selection still is (Visible()).
  bool IsDrawnAt(double viewWidth) const { return visible_ && shown_ && viewWidth <= maxVisibleWidth_; }
  void IdsIn(const MapRect& r, std::vector<int>& ids) const { content_->IdsIn(r, ids); }

 private:
  std::shared_ptr<const LayerContent> content_;
  LayerStyle style_;
  std::vector<int> selected_;
  double maxVisibleWidth_;
  bool visible_;
  bool shown_;
  bool temporary_;
};

inline std::vector<LayerSnapshot> Snapshots(const std::vector<const Layer*>& layers) {
  std::vector<LayerSnapshot> out;
  out.reserve(layers.size());
  for (const Layer* layer : layers) out.emplace_back(*layer);
  return out;
}
