#pragma once
// A map layer: a name, its features (FeatureStore) with an R-tree of their bounds, the style it
// is drawn with, its display limit and its selection. Coordinates and distances are map units,
// metres in the workspace CRS. The map (MapControl) owns its layers; Feature and Selection refer
// to them without owning.
//
// For the renderer: draw a layer when IsDrawnAt(view.Width()) and Shown(); IdsIn(view.Extent()) gives the
// ids to draw in layer order; Store() gives each id's TypeOf, PartCount/Part (vertices in map
// coordinates), ValueOf(id, Store().FieldIndex(Style().labelField)) for labels and StyleOf(id)
// (a FeatureStyle for inserted features, nullptr for data drawn in Style()).
// Selection().Contains(id) marks features to highlight, drawn at any view width.
#include <QString>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

#include "map/Feature.h"
#include "map/FeatureStore.h"
#include "map/MapTypes.h"
#include "map/SpatialIndex.h"
#include "map/Style.h"

class Layer;

// A layer's features and the R-tree of their bounds. A rendering shares them with the layer while it
// draws; an edit of the layer then works on a copy, so the rendering goes on seeing what it began with.
struct LayerContent {
  FeatureStore store;
  SpatialIndex index;
  // By id: the number of the style case each feature is drawn in (StyleCaseOf), read once when the
  // style is set. Empty while every feature is drawn in the layer's style; ids past its end are too.
  std::vector<std::uint8_t> styleCase;

  // Ids of features whose bounds meet r, ascending (layer order), into ids (cleared first).
  void IdsIn(const MapRect& r, std::vector<int>& ids) const;
};

// What a layer needs from the map that holds it.
class LayerHost {
 public:
  virtual void LayerSelectionChanged(Layer& layer) = 0;
  virtual void LayerContentChanged(Layer& layer) = 0;
  // How far from a clicked point a point or line still counts as hit, in metres.
  virtual double PickTolerance() const = 0;

 protected:
  ~LayerHost() = default;
};

constexpr int kSelectionAdd = 1;

// The selected features of one layer, in the order they were selected. Every change tells the
// layer's host (the map raises SelectionModified).
class Selection {
 public:
  explicit Selection(Layer& layer) : layer_(layer) {}

  int Count() const { return int(ids_.size()); }
  Feature Item(int index) const;  // 1 <= index <= Count()
  bool Contains(int id) const { return id >= 1 && id < int(member_.size()) && member_[id]; }
  const std::vector<int>& Ids() const { return ids_; }

  // f becomes the only selected feature (f must belong to this layer; otherwise nothing changes).
  void Replace(const Feature& f);
  // Features whose centre lies within r metres of (x, y). mode kSelectionNew (0) replaces the
  // selection, kSelectionAdd adds to it (also for the two below).
  void SelectWithinRadius(double x, double y, double r, int mode);
  // Features at (x, y): points and lines within the host's pick tolerance, regions containing it.
  void SelectAtPoint(double x, double y, int mode);
  // Features whose bounds lie inside rect.
  void SelectInRect(const MapRect& rect, int mode);
  void Clear();  // tells the host only when something was selected

  // Drops a removed feature from the selection without telling anyone (the caller does).
  bool Forget(int id);

 private:
  void Apply(std::vector<int> ids, int mode);
  void Set(std::vector<int> ids);

  Layer& layer_;
  std::vector<int> ids_;
  std::vector<bool> member_;  // by id
};

constexpr int kSearchNotFound = 0;
constexpr int kSearchExact = 1;

// Result of Layer::SearchByField: the found feature and a code, exact when code % 10 == 1.
struct FieldSearchResult {
  Feature feature;
  int code = 0;
  // Whether the feature's text equals the value searched for (the code's last digit says so).
  bool Exact() const { return code % 10 == kSearchExact; }
};

class Layer {
 public:
  // A layer of the given features, indexed at once. temporary: made by CreateTemporaryLayer,
  // always editable.
  Layer(QString name, FeatureStore store, bool temporary = false);
  Layer(const Layer&) = delete;
  Layer& operator=(const Layer&) = delete;

  const QString& Name() const { return name_; }
  bool IsTemporary() const { return temporary_; }
  MapRect Bounds() const { return content_->index.Extent(); }  // extent of all features

  // Display: drawn while visible and the view width (metres) is <= the limit.
  void SetMaxVisibleWidth(double metres) { maxVisibleWidth_ = metres; }
  double MaxVisibleWidth() const { return maxVisibleWidth_; }
  void SetVisible(bool visible) { visible_ = visible; }
  bool Visible() const { return visible_; }
  bool IsDrawnAt(double viewWidth) const { return visible_ && viewWidth <= maxVisibleWidth_; }
  // The user's switch in the layer list: a layer switched off is left out of the map's pictures
  // (screen and exports) and nothing else; searches, selections and the display limit ignore it.
  void SetShown(bool shown) { shown_ = shown; }
  bool Shown() const { return shown_; }
  const LayerStyle& Style() const { return style_; }
  // Also finds each feature's style case.
  void SetStyle(const LayerStyle& style);
  // The attribute that names a feature (DisplayName), "name" unless the workspace says otherwise.
  void SetDisplayField(const QString& field) { displayField_ = content_->store.FieldIndex(field); }
  int DisplayField() const { return displayField_; }

  // Editing: data layers accept inserts and removals only after SetAllowEdits(true).
  void SetAllowEdits(bool allow) { allowEdits_ = allow; }
  bool AllowEdits() const { return allowEdits_ || temporary_; }

  // Every feature in layer order.
  FeatureSet ListFeatures();
  // Copies f's geometry and style into the layer; returns the new feature (invalid when refused).
  Feature InsertFeature(const Feature& f);
  // Removes a feature of this layer, by feature or by its RecordKey; false when absent or refused.
  // A temporary layer whose last feature goes starts afresh (ids from 1 again, no storage kept),
  // so a marker or frame replaced all day long costs the same at the end as at the start.
  bool RemoveFeature(const Feature& f);
  bool RemoveFeature(const QString& key);
  // Asks the map to draw this layer again.
  void RedrawLayer();

  // By display name (the first in layer order): key text / id, empty / 0 when absent.
  QString KeyOfNamedFeature(const QString& name) const;
  int IdOfNamedFeature(const QString& name) const;
  Feature FeatureForKey(const QString& key);  // invalid when absent
  Feature FeatureForId(int id);               // invalid when absent

  // Features within distance (metres) of p, in layer order. mode 0: centre within; 1: any part
  // within; 2 (kSearchWhollyWithin): every vertex within. unit must be kUnitMetres.
  FeatureSet FeaturesWithinDistance(MapPoint p, double distance, int unit, int mode);
  // The first feature in layer order whose field's text equals value exactly (code kSearchExact),
  // or kSearchNotFound, also when the layer has no such field.
  FieldSearchResult SearchByField(const QString& field, const QString& value);
  // The feature whose centre is nearest p (planar metres); of equal distances the earliest in
  // layer order. Invalid for an empty layer.
  Feature NearestFeature(MapPoint p);

  // Ids of features whose bounds meet r, ascending (layer order).
  std::vector<int> IdsIn(const MapRect& r) const;
  // Ids of features at p: points and lines within tolerance (metres), regions containing p.
  std::vector<int> IdsAtPoint(MapPoint p, double tolerance) const;

  // The reference stays valid until the layer's next edit.
  const FeatureStore& Store() const { return content_->store; }
  // The features and index as they are now, shared: later edits of the layer do not reach them.
  std::shared_ptr<const LayerContent> Content() const { return content_; }
  ::Selection& Selection() { return selection_; }
  const ::Selection& Selection() const { return selection_; }

  // The map holding this layer (not owned; nullptr for a layer on its own).
  void SetHost(LayerHost* host) { host_ = host; }
  LayerHost* Host() const { return host_; }

 private:
  void Restart();  // empties the layer's storage and index
  // The content to edit: copied first while a rendering still shares it.
  LayerContent& Editable();
  QString name_;
  std::shared_ptr<LayerContent> content_;
  LayerStyle style_;
  ::Selection selection_{*this};
  LayerHost* host_ = nullptr;
  int displayField_ = -1;
  double maxVisibleWidth_ = std::numeric_limits<double>::infinity();
  bool visible_ = true;
  bool shown_ = true;
  bool allowEdits_ = false;
  bool temporary_ = false;
};
