// Radius and nearest search on the fixture city: results, selection, marker and view fits.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "map/MapTypes.h"
#include "tests/features/FixtureCity.h"
#include "tests/features/PanelHarness.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/QtTexts.h"

namespace {
using fixture::At;

// The map's view shows rect centred, fitted to the widget's aspect.
void ExpectViewFits(const MapControl& map, const MapRect& rect) {
  const MapRect view = map.Bounds();
  EXPECT_NEAR(view.CenterX(), rect.CenterX(), 1e-6);
  EXPECT_NEAR(view.CenterY(), rect.CenterY(), 1e-6);
  EXPECT_GE(view.Width() + 1e-6, rect.Width());
  EXPECT_GE(view.Height() + 1e-6, rect.Height());
  const bool widthFits = std::abs(view.Width() - rect.Width()) < 1e-6;
  const bool heightFits = std::abs(view.Height() - rect.Height()) < 1e-6;
  EXPECT_TRUE(widthFits || heightFits);
}

TEST(RadiusSearch, FeaturesFoundAreListedInLayerOrderSelectedMarkedAndFramed) {
  const MapPoint c = At(0, 0);
  const MapPoint teaHouse = fixture::Restaurants()[6].at;
  const MapPoint pick{teaHouse.x + 300, teaHouse.y - 400};
  const struct {
    MapPoint at;
    const char* radius;
    QStringList listed;  // in layer order, not sorted
    MapRect frame;
  } cases[] = {
      // Bounds x 0..120, y -480..260 around the centre, a tenth more on every side.
      {c, "500", QStringList{"湖畔酒家", "O'Neil 酒吧", "老街面馆"},
       MapRect{c.x - 12, c.y - 480 - 74, c.x + 120 + 12, c.y + 260 + 74}},
      // One feature, left of and above the point: its side gets a whole span, the point's a tenth.
      {pick, "600", QStringList{"山顶茶社"},
       MapRect::FromCorners(teaHouse.x - 300, teaHouse.y + 400, pick.x + 30, pick.y - 40)},
  };
  for (const auto& k : cases) {
    MessageRecorder messages;
    PanelHarness h;
    PanelHarness::Choose(h.radius->cmbType1, QStringLiteral("餐饮娱乐"));
    h.radius->txtRadius->setText(QString::fromUtf8(k.radius));
    h.radius->RadiusSearch(k.at.x, k.at.y, h.lyrTempPoint);
    EXPECT_EQ(Items(h.radius->lstShow2), k.listed);
    EXPECT_EQ(h.SelectedFeatures().size(), k.listed.size());
    ExpectViewFits(*h.Map1, k.frame);
    EXPECT_EQ(h.Marker(), std::optional<MapPoint>(k.at));
    EXPECT_TRUE(messages.Messages().empty());
  }
}

TEST(RadiusSearch, NothingFoundEmptiesTheListAndLeavesTheView) {
  MessageRecorder messages;
  PanelHarness h;
  PanelHarness::Choose(h.radius->cmbType1, QStringLiteral("餐饮娱乐"));
  h.radius->RadiusSearch(At(0, 0).x, At(0, 0).y, h.lyrTempPoint);
  ASSERT_EQ(h.radius->lstShow2->count(), 3);
  const MapRect before = h.Map1->Bounds();
  const MapPoint empty = At(-8000, -8000);
  h.radius->RadiusSearch(empty.x, empty.y, h.lyrTempPoint);
  EXPECT_EQ(h.radius->lstShow2->count(), 0);
  EXPECT_TRUE(h.SelectedFeatures().isEmpty());
  EXPECT_DOUBLE_EQ(h.Map1->Bounds().minX, before.minX);
  EXPECT_DOUBLE_EQ(h.Map1->Bounds().maxY, before.maxY);
  EXPECT_EQ(h.Marker(), std::optional<MapPoint>(empty));
  EXPECT_TRUE(messages.Messages().empty());
}

TEST(RadiusSearch, TheRadiusIsTheLeadingNumberOfItsText) {
  const struct {
    const char* text;
    int found;
  } cases[] = {{"500", 3}, {"300米", 2}, {"  150", 1}, {"abc", 0},
               {"", 0},    {"480.5", 3}, {"nan", 0},   {"inf", 0}};
  PanelHarness h;
  PanelHarness::Choose(h.radius->cmbType1, QStringLiteral("餐饮娱乐"));
  for (const auto& c : cases) {
    h.radius->txtRadius->setText(QString::fromUtf8(c.text));
    h.radius->RadiusSearch(At(0, 0).x, At(0, 0).y, h.lyrTempPoint);
    EXPECT_EQ(h.radius->lstShow2->count(), c.found) << c.text;
  }
}

TEST(RadiusSearch, APickThatCannotBeSearchedIsRefusedAndChangesNothing) {
  PanelHarness h;
  PanelHarness::Choose(h.radius->cmbType1, QStringLiteral("餐饮娱乐"));
  h.radius->RadiusSearch(At(0, 0).x, At(0, 0).y, h.lyrTempPoint);
  const QStringList results = Items(h.radius->lstShow2);
  const MapRect view = h.Map1->Bounds();

  const struct {
    const char* type;  // empty: the selector holds no types
    const char* radius;
  } cases[] = {{"餐饮娱乐", "-5"},
               {"餐饮娱乐", "1000000000000000000000000000000000000000"},  // beyond single precision
               {"旅游景点", "500"},
               {"", "500"}};
  for (const auto& c : cases) {
    MessageRecorder messages;
    if (*c.type)
      PanelHarness::Choose(h.radius->cmbType1, QString::fromUtf8(c.type));
    else
      h.radius->cmbType1->clear();
    h.radius->txtRadius->setText(QString::fromUtf8(c.radius));
    h.radius->RadiusSearch(At(-9000, 9000).x, At(-9000, 9000).y, h.lyrTempPoint);
    ASSERT_EQ(messages.Messages().size(), 1u) << c.type << c.radius;
    EXPECT_EQ(messages.Messages()[0].icon, qiwu::MsgIcon::Information);
    EXPECT_EQ(Items(h.radius->lstShow2), results);
    EXPECT_EQ(h.Marker(), std::optional<MapPoint>(At(0, 0)));
    EXPECT_EQ(h.SelectedFeatures().size(), 3);
    EXPECT_DOUBLE_EQ(h.Map1->Bounds().minX, view.minX);
  }
}

TEST(NearestSearch, ShowsNameAndGroupedDistanceThenSelectsMarksAndFrames) {
  const MapPoint teaHouse = fixture::Restaurants()[6].at;
  const MapPoint nearTwin = fixture::Restaurants()[5].at;
  const struct {
    const char* type;
    MapPoint pick;
    QString name, distance;
    MapPoint feature;
    std::optional<MapRect> frame;  // else: the view shows feature and pick
  } cases[] = {
      // 山顶茶社 lies 1234.6 m east of the pick; every other restaurant is farther.
      {"餐饮娱乐", {teaHouse.x - 1234.6, teaHouse.y}, "山顶茶社", "1,235  米", teaHouse, std::nullopt},
      // Of equal distances the first in the layer wins.
      {"金融银行", At(0, 8000), "西侧银行", "300  米", fixture::Banks()[0].at, std::nullopt},
      // Of two features with one name the nearer is measured and framed, not the first.
      {"餐饮娱乐",
       {nearTwin.x + 60, nearTwin.y + 80},
       "连锁快餐",
       "100  米",
       nearTwin,
       MapRect::FromCorners(nearTwin.x - 60, nearTwin.y - 80, nearTwin.x + 66, nearTwin.y + 88)},
  };
  for (const auto& c : cases) {
    MessageRecorder messages;
    PanelHarness h;
    PanelHarness::Choose(h.nearest->cmbType2, QString::fromUtf8(c.type));
    h.nearest->NearestSearch(c.pick.x, c.pick.y, h.lyrTempPoint);
    EXPECT_EQ(h.nearest->txtNear->text(), c.name);
    EXPECT_EQ(h.nearest->lblDis->text(), c.distance);
    EXPECT_EQ(h.SelectedFeatures(), QStringList{c.name + "(" + c.type + ")"});
    EXPECT_EQ(h.Marker(), std::optional<MapPoint>(c.pick));
    if (c.frame)
      ExpectViewFits(*h.Map1, *c.frame);
    else
      EXPECT_TRUE(h.Map1->Bounds().Contains(c.feature) && h.Map1->Bounds().Contains(c.pick));
    EXPECT_TRUE(messages.Messages().empty());
  }
}

TEST(NearestSearch, APickThatCannotBeSearchedIsRefusedAndChangesNothing) {
  PanelHarness h;
  PanelHarness::Choose(h.nearest->cmbType2, QStringLiteral("金融银行"));
  h.nearest->NearestSearch(At(0, 8000).x, At(0, 8000).y, h.lyrTempPoint);
  for (const char* type : {"医院诊所", "旅游景点", ""}) {
    MessageRecorder messages;
    if (*type)
      PanelHarness::Choose(h.nearest->cmbType2, QString::fromUtf8(type));
    else
      h.nearest->cmbType2->clear();
    h.nearest->NearestSearch(At(10, 10).x, At(10, 10).y, h.lyrTempPoint);
    ASSERT_EQ(messages.Messages().size(), 1u) << type;
    EXPECT_EQ(messages.Messages()[0].icon, qiwu::MsgIcon::Information);
    EXPECT_EQ(h.nearest->txtNear->text(), QStringLiteral("西侧银行"));
    EXPECT_EQ(h.Marker(), std::optional<MapPoint>(At(0, 8000)));
    EXPECT_EQ(h.SelectedFeatures(), QStringList{QStringLiteral("西侧银行(金融银行)")});
  }
}

TEST(PickTool, EnterOnAFocusedPickButtonArmsItsSearch) {
  PanelHarness h;
  struct Case {
    QPushButton* button;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    bool forRadius;
  };
  const Case cases[] = {
      {h.radius->cmdClick0, Qt::Key_Return, Qt::NoModifier, true},
      {h.nearest->cmdClick1, Qt::Key_Enter, Qt::KeypadModifier, false},
  };
  for (const auto& c : cases) {
    h.Map1->ActivateTool(kToolPointer);
    c.button->setFocus(Qt::TabFocusReason);
    QTest::keyClick(c.button, c.key, c.modifiers);
    EXPECT_EQ(h.Map1->CurrentTool(), kToolPick) << c.button->text().toStdString();
    EXPECT_EQ(h.PickForRadius, c.forRadius) << c.button->text().toStdString();
  }
}

TEST(PickTool, OneArmingServesEveryFurtherClickOfItsSearch) {
  PanelHarness h;
  PanelHarness::Choose(h.radius->cmbType1, QStringLiteral("餐饮娱乐"));
  PanelHarness::Choose(h.nearest->cmbType2, QStringLiteral("餐饮娱乐"));
  h.Map1->SetBounds({At(-1000, -1000).x, At(-1000, -1000).y, At(1000, 1000).x, At(1000, 1000).y});
  QTest::mouseClick(h.nearest->cmdClick1, Qt::LeftButton);
  EXPECT_FALSE(h.PickForRadius);
  QTest::mouseClick(h.radius->cmdClick0, Qt::LeftButton);
  EXPECT_TRUE(h.PickForRadius);
  EXPECT_EQ(h.Map1->CurrentTool(), 1);
  h.radius->txtRadius->setText(QStringLiteral("200"));
  for (const MapPoint p : {At(0, 0), At(0, -400)}) {
    h.Map1->SetBounds({At(-1000, -1000).x, At(-1000, -1000).y, At(1000, 1000).x, At(1000, 1000).y});
    h.ClickMap(p);
    ASSERT_TRUE(h.Marker().has_value());
    EXPECT_NEAR(h.Marker()->x, p.x, 5);
    EXPECT_NEAR(h.Marker()->y, p.y, 5);
    EXPECT_EQ(h.radius->lstShow2->count(), 1);
    EXPECT_TRUE(h.nearest->txtNear->text().isEmpty());
  }
}

}  // namespace
