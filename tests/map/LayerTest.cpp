// The layer model: searches by field, distance and nearest; names and keys; selections.
#include <gtest/gtest.h>

#include <memory>

#include "map/Layer.h"

namespace {

struct FeatureDef {
  int type;
  std::vector<std::vector<MapPoint>> parts;
  QString name;
};

std::unique_ptr<Layer> MakeLayer(const std::vector<FeatureDef>& features,
                                 QStringList fields = {QStringLiteral("name")}) {
  FeatureStore store(fields);
  for (const FeatureDef& s : features) {
    std::vector<std::span<const MapPoint>> parts(s.parts.begin(), s.parts.end());
    const QString values[] = {s.name};
    store.Add(s.type, parts, values);
  }
  return std::make_unique<Layer>(QStringLiteral("test"), std::move(store));
}

FeatureDef Point(double x, double y, const QString& name) { return {kFeaturePoint, {{{x, y}}}, name}; }

std::vector<QString> Names(const FeatureSet& set) {
  std::vector<QString> names;
  for (const Feature& f : set) names.push_back(f.DisplayName());
  return names;
}

// Counts SelectionModified-like reports from a layer.
struct RecordingHost : LayerHost {
  void LayerSelectionChanged(Layer&) override { ++selectionChanges; }
  void LayerContentChanged(Layer&) override { ++contentChanges; }
  double PickTolerance() const override { return tolerance; }
  int selectionChanges = 0;
  int contentChanges = 0;
  double tolerance = 5;
};

}  // namespace

TEST(LayerTest, DisplayLimitIncludesItsBoundary) {
  auto layer = MakeLayer({Point(0, 0, "a")});
  layer->SetMaxVisibleWidth(3000);
  EXPECT_TRUE(layer->IsDrawnAt(3000));
  EXPECT_FALSE(layer->IsDrawnAt(3000.01));
  layer->SetVisible(false);
  EXPECT_FALSE(layer->IsDrawnAt(100));
}

TEST(LayerTest, SearchByFieldIsExactAndFirstInLayerOrder) {
  auto layer = MakeLayer({Point(0, 0, "人民公园东门"), Point(1, 0, "人民公园"), Point(2, 0, "人民公园")});
  struct Case {
    QString field, value;
    int code;
    int id;
  };
  const Case cases[] = {
      {"name", "人民公园", kSearchExact, 2},  // the first of two equal names
      {"name", "人民公园东门", kSearchExact, 1},
      {"name", "人民", kSearchNotFound, 0},         // a prefix is no match
      {"name", "人民公园 ", kSearchNotFound, 0},    // nor a trailing blank
      {"address", "人民公园", kSearchNotFound, 0},  // a field the layer lacks: not found, no failure
  };
  for (const Case& c : cases) {
    const FieldSearchResult r = layer->SearchByField(c.field, c.value);
    EXPECT_EQ(r.code % 10 == 1, c.code == kSearchExact)
        << c.field.toStdString() << " " << c.value.toStdString();
    EXPECT_EQ(r.feature.Id(), c.id) << c.value.toStdString();
  }
}

TEST(LayerTest, WhollyWithinDistanceNeedsEveryVertexInside) {
  auto layer = MakeLayer({
      {kFeatureLine, {{{0, 0}, {50, 0}}}, "inside line"},
      {kFeatureLine, {{{0, 0}, {200, 0}}}, "half inside line"},
      {kFeatureRegion, {{{-10, -10}, {10, -10}, {10, 10}, {-10, 10}, {-10, -10}}}, "inside square"},
      {kFeatureRegion, {{{80, -10}, {120, -10}, {120, 10}, {80, 10}, {80, -10}}}, "square on the rim"},
      Point(99, 0, "point inside"),
      Point(101, 0, "point outside"),
  });
  EXPECT_EQ(Names(layer->FeaturesWithinDistance({0, 0}, 100, kUnitMetres, kSearchWhollyWithin)),
            (std::vector<QString>{"inside line", "inside square", "point inside"}));
  // Partly within: the half-inside line and the square touching the circle count too.
  EXPECT_EQ(layer->FeaturesWithinDistance({0, 0}, 100, kUnitMetres, 1).Count(), 5);
  EXPECT_EQ(layer->FeaturesWithinDistance({0, 0}, 100, 3, kSearchWhollyWithin).Count(), 0);  // not metres
}

TEST(LayerTest, NearestTakesTheEarliestOfEqualDistances) {
  auto layer = MakeLayer({Point(30, 0, "far"), Point(0, 10, "first tie"), Point(10, 0, "second tie"),
                          Point(-10, 0, "third tie")});
  EXPECT_EQ(layer->NearestFeature({0, 0}).DisplayName(), "first tie");
  EXPECT_EQ(layer->NearestFeature({29, 0}).DisplayName(), "far");
  layer->SetAllowEdits(true);
  ASSERT_TRUE(layer->RemoveFeature(layer->FeatureForId(2)));
  EXPECT_EQ(layer->NearestFeature({0, 0}).DisplayName(), "second tie");
  EXPECT_FALSE(MakeLayer({})->NearestFeature({0, 0}).IsValid());
}

TEST(LayerTest, NearestMeasuresToTheCentreOfLinesAndRegions) {
  // The long line's bounds reach the point, but its centre lies 500 m away.
  auto layer = MakeLayer({{kFeatureLine, {{{-500, 0}, {1500, 0}}}, "long line"}, Point(0, 100, "point")});
  EXPECT_EQ(layer->NearestFeature({0, 0}).DisplayName(), "point");
}

TEST(LayerTest, IdsStayStableAndKeysFindFeatures) {
  auto layer = MakeLayer({Point(0, 0, "甲"), Point(1, 1, "乙"), Point(2, 2, "丙")});
  EXPECT_FALSE(layer->RemoveFeature(layer->FeatureForId(1)));  // a data layer refuses edits by default
  layer->SetAllowEdits(true);
  EXPECT_TRUE(layer->RemoveFeature(layer->KeyOfNamedFeature("甲")));
  EXPECT_EQ(layer->IdOfNamedFeature("乙"), 2);
  EXPECT_EQ(layer->FeatureForKey(layer->KeyOfNamedFeature("丙")).DisplayName(), "丙");
  EXPECT_FALSE(layer->FeatureForId(1).IsValid());
  EXPECT_FALSE(layer->FeatureForKey("x").IsValid());
  EXPECT_EQ(layer->IdOfNamedFeature("甲"), 0);

  const Feature inserted = layer->InsertFeature(Feature(kFeaturePoint, {{5, 5}}, FeatureStyle{}));
  EXPECT_EQ(inserted.Id(), 4);  // a removed id is not reused
  EXPECT_EQ(layer->ListFeatures().Count(), 3);
  EXPECT_EQ(layer->IdsIn({4, 4, 6, 6}), std::vector<int>{4});
  EXPECT_EQ(layer->KeyOfNamedFeature(""), "4");  // an inserted feature has no name
  // A rectangle holding the whole layer lists it without the tree: removed ids stay out there too.
  const struct {
    MapRect rect;
    std::vector<int> ids;
  } cases[] = {{{-10, -10, 10, 10}, {2, 3, 4}}, {{0.5, 0.5, 5, 5}, {2, 3, 4}}, {{1.5, 1.5, 5, 5}, {3, 4}}};
  for (const auto& c : cases) EXPECT_EQ(layer->IdsIn(c.rect), c.ids) << c.rect.minX;
}

TEST(LayerTest, ContentTakenBeforeAnEditKeepsWhatItHad) {
  auto layer = MakeLayer({Point(0, 0, "甲"), Point(1, 1, "乙")});
  layer->SetAllowEdits(true);
  const std::shared_ptr<const LayerContent> before = layer->Content();
  layer->RemoveFeature(layer->FeatureForId(1));
  layer->InsertFeature(Feature(kFeaturePoint, {{5, 5}}, FeatureStyle{}));
  std::vector<int> ids;
  before->IdsIn({-10, -10, 10, 10}, ids);
  EXPECT_EQ(ids, (std::vector<int>{1, 2}));
  EXPECT_EQ(layer->IdsIn({-10, -10, 10, 10}), (std::vector<int>{2, 3}));
}

TEST(LayerTest, EveryProgramChangeOfTheSelectionIsReported) {
  auto layer = MakeLayer({Point(0, 0, "a"), Point(100, 0, "b"), Point(1000, 0, "c")});
  RecordingHost host;
  layer->SetHost(&host);
  Selection& sel = layer->Selection();

  sel.Replace(layer->FeatureForId(3));
  EXPECT_EQ(host.selectionChanges, 1);
  EXPECT_EQ(sel.Item(1).DisplayName(), "c");

  sel.SelectWithinRadius(0, 0, 150, kSelectionNew);
  EXPECT_EQ(host.selectionChanges, 2);
  EXPECT_EQ(sel.Count(), 2);
  EXPECT_FALSE(sel.Contains(3));

  sel.SelectAtPoint(1003, 0, kSelectionAdd);  // within the host's 5 m tolerance
  EXPECT_EQ(host.selectionChanges, 3);
  EXPECT_EQ(sel.Count(), 3);

  layer->SetAllowEdits(true);
  layer->RemoveFeature(layer->FeatureForId(1));  // removing a selected feature changes the selection
  EXPECT_EQ(host.selectionChanges, 4);
  EXPECT_EQ(sel.Count(), 2);

  sel.Clear();
  sel.Clear();  // nothing left to clear: no second report
  EXPECT_EQ(host.selectionChanges, 5);
}

TEST(LayerTest, SelectAtPointHitsPointsNearAndRegionsContaining) {
  auto layer = MakeLayer({
      Point(0, 0, "point"),
      {kFeatureRegion, {{{-100, -100}, {100, -100}, {100, 100}, {-100, 100}, {-100, -100}}}, "square"},
      {kFeatureLine, {{{-100, 50}, {100, 50}}}, "line"},
  });
  RecordingHost host;
  layer->SetHost(&host);
  struct Case {
    MapPoint at;
    std::vector<int> ids;
  };
  const Case cases[] = {
      {{3, 4}, {1, 2}},   // 5 m from the point: within tolerance; inside the square
      {{4, 4}, {2}},      // 5.66 m: only the square
      {{0, 54}, {2, 3}},  // 4 m from the line
      {{150, 0}, {}},     // outside everything
  };
  for (const Case& c : cases) {
    layer->Selection().SelectAtPoint(c.at.x, c.at.y, kSelectionNew);
    EXPECT_EQ(layer->Selection().Ids(), c.ids) << c.at.x << "," << c.at.y;
  }
}
