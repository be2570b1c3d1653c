// The 图层 drawer on the fixture city: a layer switched off is missing from the exported pictures
// and nowhere else; the zoom hint follows the view width; the tab leaves CardOpen alone. The
// legend of what is drawn, on a workspace whose layers have style cases.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <iterator>

#include "data/CityVocabulary.h"
#include "features/CityLegend.h"
#include "features/LayerDrawer.h"
#include "features/MapExport.h"
#include "features/ShowFeature.h"
#include "kit/ImageControl.h"
#include "kit/Twips.h"
#include "map/WorkspaceFile.h"
#include "mapwidgets/modMapFunction.h"
#include "tests/features/PanelHarness.h"
#include "tests/support/TestCity.h"

namespace {

// The panel harness with the 图层 drawer beside the other two.
struct DrawerHarness : PanelHarness {
  DrawerHarness() {
    picLayers = new QWidget(window.get());
    qiwu::SetTwipsGeometry(picLayers, InfoDrawers::kClosedLeft, LayerDrawer::kTop, LayerDrawer::kWidth,
                           LayerDrawer::kHeight);
    layers = new LayerDrawer(picLayers, *Map1, QCursor(Qt::PointingHandCursor));
  }
  QWidget* picLayers;
  LayerDrawer* layers;
};

QTreeWidgetItem* Row(const LayerDrawer& drawer, const QString& layer) {
  const QList<QTreeWidgetItem*> found = drawer.lstLayers->findItems(layer, Qt::MatchExactly, 0);
  if (found.isEmpty()) throw std::logic_error("no row " + layer.toStdString());
  return found.front();
}

// The user's click on a row's check box.
void Switch(const LayerDrawer& drawer, const QString& layer, bool on) {
  Row(drawer, layer)->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
}

std::vector<const Layer*> Without(std::vector<const Layer*> layers, const QString& name) {
  std::erase_if(layers, [&](const Layer* l) { return l->Name() == name; });
  return layers;
}

QImage Png(const QTemporaryDir& dir, const std::vector<const Layer*>& layers, const MapView& view,
           QSize size) {
  const QString path = dir.filePath(QStringLiteral("map.png"));
  QString error;
  if (!mapexport::WritePng(path, layers, view, size, error)) throw std::runtime_error(error.toStdString());
  return QImage(path).convertToFormat(QImage::Format_ARGB32);
}

QStringList Labels(const std::vector<LegendEntry>& entries, std::size_t from) {
  QStringList labels;
  for (std::size_t i = from; i < entries.size(); ++i) labels << entries[i].label;
  return labels;
}

TEST(LayerDrawer, ASwitchedOffLayerIsMissingFromTheExportButStillFoundAndSelectable) {
  struct Case {
    const char* layer;
    const char* feature;
    QSize size;  // 800 x 600 holds the legend, 320 x 200 does not
  };
  const Case cases[] = {
      {"加油站", "加油站007", {800, 600}},
      {"主干道", "解放路", {800, 600}},
      {"餐饮娱乐", "湖畔酒家", {320, 200}},  // a legend class: its entry stays, so no legend here
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.layer);
    DrawerHarness h;
    QTemporaryDir dir;
    const QString layer = QString::fromUtf8(c.layer), feature = QString::fromUtf8(c.feature);
    const MapView view = h.Map1->View();  // locating a feature below moves the map's view
    const QImage on = Png(dir, h.Map1->LayersBottomToTop(), view, c.size);
    Switch(*h.layers, layer, false);
    EXPECT_FALSE(h.Map1->FindLayer(layer)->Shown());
    // Switched off, the picture is the one drawn as if the layer were not there at all.
    const QImage off = Png(dir, h.Map1->LayersBottomToTop(), view, c.size);
    EXPECT_EQ(off, Png(dir, Without(h.Map1->LayersBottomToTop(), layer), view, c.size));
    EXPECT_NE(on, off);

    // The searches, the selection tools and the display limit go on as before.
    const std::vector<Layer*> selectable = h.Map1->SelectableLayers();
    EXPECT_NE(std::find(selectable.begin(), selectable.end(), h.Map1->FindLayer(layer)), selectable.end());
    EXPECT_TRUE(LocateFeature(*h.Map1, layer, QStringLiteral("name"), feature));
    EXPECT_EQ(h.SelectedFeatures(), QStringList{feature + "(" + layer + ")"});
    h.Map1->UnselectAll();
    ShowFeatureInAnyLayer(*h.Map1, feature);
    EXPECT_EQ(h.SelectedFeatures(), QStringList{feature + "(" + layer + ")"});

    h.Map1->UnselectAll();
    Switch(*h.layers, layer, true);
    EXPECT_EQ(Png(dir, h.Map1->LayersBottomToTop(), view, c.size), on);
  }
}

TEST(LayerDrawer, ListsTheMapsLayersTopFirstEachSwitchedOn) {
  DrawerHarness h;
  QStringList rows;
  for (int i = 0; i < h.layers->lstLayers->topLevelItemCount(); ++i) {
    rows << h.layers->lstLayers->topLevelItem(i)->text(0);
    EXPECT_EQ(h.layers->lstLayers->topLevelItem(i)->checkState(0), Qt::Checked);
    EXPECT_FALSE(h.layers->lstLayers->topLevelItem(i)->icon(0).isNull());
  }
  // The fixture city's layers, top first; the marker layer tempPoint is not listed.
  EXPECT_EQ(rows,
            QStringList({"餐饮娱乐", "大中专院校", "金融银行", "加油站", "医院诊所", "主干道", "行政区域"}));
}

TEST(LayerDrawer, TheZoomHintFollowsTheViewWidth) {
  DrawerHarness h;
  h.Map1->FindLayer(QStringLiteral("加油站"))->SetMaxVisibleWidth(3000);
  const struct {
    double width;
    bool hint;
  } cases[] = {{2500, false}, {3000, false}, {3000.5, true}, {8000, true}, {1000, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.width);
    h.Map1->SetViewWidth(c.width);
    EXPECT_EQ(Row(*h.layers, QStringLiteral("加油站"))->text(1),
              c.hint ? LayerDrawer::kZoomInHint : QString());
    EXPECT_EQ(Row(*h.layers, QStringLiteral("行政区域"))->text(1), QString());  // no limit
  }
}

TEST(LayerDrawer, TheTabOpensAndClosesLikeTheOtherDrawersAndLeavesCardOpenAlone) {
  for (const bool cardOpen : {false, true}) {
    SCOPED_TRACE(cardOpen);
    DrawerHarness h;
    EXPECT_EQ(qiwu::TwipsGeometry(h.layers->imgLayers), QRect(0, 0, 405, LayerDrawer::kHeight));
    if (cardOpen) QTest::mouseClick(h.drawers->imgInfo[0], Qt::LeftButton);
    ASSERT_EQ(h.drawers->CardOpen, cardOpen);
    QTest::mouseClick(h.layers->imgLayers, Qt::LeftButton);
    EXPECT_EQ(qiwu::TwipsLeft(h.picLayers), InfoDrawers::kOpenLeft);
    EXPECT_EQ(h.drawers->CardOpen, cardOpen);
    QTest::mouseClick(h.layers->imgLayers, Qt::LeftButton);
    EXPECT_EQ(qiwu::TwipsLeft(h.picLayers), InfoDrawers::kClosedLeft);
    EXPECT_EQ(h.drawers->CardOpen, cardOpen);
  }
}

// A workspace whose bus lines and waters are drawn by the value of an attribute, as the importer
// writes them for the modes of transit and the kinds of water.
class CasesCity {
 public:
  CasesCity() {
    testcity::City city;
    city.layers = {
        {"水系",
         {{"江", testcity::SquareWkt(500000, 3400000, 800)},
          {"河", testcity::SquareWkt(502000, 3400000, 300)}}},
        {"公交路线",
         {{"1路", testcity::LineWkt({{499000, 3399000}, {501000, 3399000}})},
          {"地铁2号线", testcity::LineWkt({{499000, 3399500}, {501000, 3399500}})},
          {"轮渡", testcity::LineWkt({{499000, 3400500}, {501000, 3400500}})}}},
        {"旅游景点", {{"钟楼", testcity::PointWkt(500000, 3400000)}}},
    };
    const QString gst = testcity::Write(city, dir_.path());
    WorkspaceFile workspace;
    if (!ReadWorkspaceFile(gst, workspace).ok()) throw std::runtime_error("workspace not read");
    workspace.layers[0].keys = {{"STYLE\\BRUSH\\COLOR", "#AAD3F2"},
                                {"STYLE\\BY", "name"},
                                {"STYLE\\CASE\\河\\BRUSH\\COLOR", "#5090D0"},
                                {"STYLE\\CASE\\河\\LEGEND", "河流"}};
    workspace.layers[1].keys = {{"STYLE\\PEN\\COLOR", "#3A7BD5"},
                                {"STYLE\\BY", "name"},
                                {"STYLE\\CASE\\地铁2号线\\PEN\\COLOR", "#C0392B"},
                                {"STYLE\\CASE\\地铁2号线\\LEGEND", "地铁"},
                                {"STYLE\\CASE\\轮渡\\PEN\\PATTERN", "dash"}};
    if (!WriteWorkspaceFile(gst, workspace).ok()) throw std::runtime_error("workspace not written");
    if (!map.LoadWorkspace(gst).ok()) throw std::runtime_error("workspace not loaded");
  }
  MapControl map;

 private:
  QTemporaryDir dir_;
};

TEST(Legend, TheClassesFirstThenEveryOtherSwitchedOnLayerWithOneEntryPerStyleCase) {
  CasesCity city;
  const QStringList classes(std::begin(city::kLegendClasses), std::end(city::kLegendClasses));
  const struct {
    const char* off;  // a layer switched off, or none
    QStringList after;
  } cases[] = {
      // Top first: the sights are a class; the bus lines' own style and cases; the waters are a
      // class, so only their case follows.
      {"", {"公交路线", "地铁", "公交路线：轮渡", "河流"}},
      {"公交路线", {"河流"}},
      {"水系", {"公交路线", "地铁", "公交路线：轮渡"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.off);
    for (int i = 1; i <= city.map.LayerCount(); ++i)
      city.map.LayerAt(i)->SetShown(city.map.LayerAt(i)->Name() != QString::fromUtf8(c.off));
    const std::vector<LegendEntry> entries = CityLegendEntries(city.map.LayersBottomToTop());
    ASSERT_GE(entries.size(), 10u);
    EXPECT_EQ(Labels(entries, 0).mid(0, 10), classes);  // the classes stay, switched off or not
    EXPECT_EQ(Labels(entries, 10), c.after);
  }
  for (int i = 1; i <= city.map.LayerCount(); ++i) city.map.LayerAt(i)->SetShown(true);
  const std::vector<LegendEntry> entries = CityLegendEntries(city.map.LayersBottomToTop());
  const struct {
    std::size_t index;
    LegendEntry::Kind kind;
    QColor colour;     // pen for lines, brush for areas
    Qt::PenStyle pen;  // solid unless a case says otherwise
  } styles[] = {
      {10, LegendEntry::Kind::Line, QColor(0x3A, 0x7B, 0xD5), Qt::SolidLine},
      {11, LegendEntry::Kind::Line, QColor(0xC0, 0x39, 0x2B), Qt::SolidLine},
      {12, LegendEntry::Kind::Line, QColor(0x3A, 0x7B, 0xD5), Qt::DashLine},
      {13, LegendEntry::Kind::Area, QColor(0x50, 0x90, 0xD0), Qt::SolidLine},
  };
  for (const auto& s : styles) {
    SCOPED_TRACE(s.index);
    const LegendEntry& e = entries.at(s.index);
    EXPECT_EQ(e.kind, s.kind);
    EXPECT_EQ(s.kind == LegendEntry::Kind::Line ? e.style.penColor : e.style.brushColor, s.colour);
    EXPECT_EQ(e.style.penPattern, s.pen);
  }
  // The class 水系 shows the waters' own style.
  EXPECT_EQ(entries[8].style.brushColor, QColor(0xAA, 0xD3, 0xF2));

  // The drawer lists the cases under their layer.
  const auto picLayers = std::make_unique<QWidget>();
  const LayerDrawer* drawer = new LayerDrawer(picLayers.get(), city.map, QCursor());
  QTreeWidgetItem* bus = Row(*drawer, QStringLiteral("公交路线"));
  ASSERT_EQ(bus->childCount(), 2);
  EXPECT_EQ(bus->child(0)->text(0), QStringLiteral("地铁"));
  EXPECT_EQ(bus->child(1)->text(0), QStringLiteral("公交路线：轮渡"));
}

}  // namespace
