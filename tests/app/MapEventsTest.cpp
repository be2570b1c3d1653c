// The toolbar and the map events on the real frmMain: tools and pictures, the whole-map view,
// the view-width clamp and read-out, the measuring read-out, the overview and the point pick.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <functional>
#include <optional>

#include "features/NearestPanel.h"
#include "features/RadiusPanel.h"
#include "kit/Colors.h"
#include "kit/ImageControl.h"
#include "map/Layer.h"
#include "map/MapTypes.h"
#include "mapwidgets/MapControl.h"
#include "tests/app/ProgramDir.h"
#include "tests/app/WindowFixture.h"
#include "tests/app/WindowParts.h"
#include "tests/hostile/DataSetEdits.h"

using apptest::StartedWindow;

namespace {

constexpr quint32 kBlue = 0xFF0000;

// The number of the image each toolbar button shows (1..19), or 0 for a picture not in the list.
std::vector<int> ButtonImages(const frmMain& w) {
  std::vector<int> shown;
  for (const qiwu::ImageControl* button : w.imgTools) {
    int number = 0;
    for (int n = 1; n <= w.imgListTools.Count(); ++n)
      if (button->Picture().cacheKey() == w.imgListTools.Picture(n).cacheKey()) number = n;
    shown.push_back(number);
  }
  return shown;
}

// The window shown, so mouse events reach the maps.
struct ShownWindow : StartedWindow {
  ShownWindow() {
    window.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
  }
};

}  // namespace

TEST(Toolbar, ListHoldsNineteenImagesUnderTheirKeys) {
  StartedWindow started;
  const char* keys[] = {"pointer1", "pointer2", "zoomin1", "zoomin2", "zoomout1", "zoomout2", "pan1",
                        "pan2",     "all1",     "all2",    "ruler1",  "ruler2",   "point1",   "point2",
                        "radsel1",  "radsel2",  "winsel1", "winsel2", "Hand"};
  const qiwu::ImageList& images = started.window.imgListTools;
  ASSERT_EQ(images.Count(), 19);
  for (int n = 1; n <= 19; ++n) {
    EXPECT_EQ(images.Key(n), QString::fromUtf8(keys[n - 1]));
    EXPECT_FALSE(images.Picture(n).isNull());
  }
  // Released and pressed pictures differ.
  EXPECT_NE(images.Picture(1).toImage(), images.Picture(2).toImage());
}

TEST(Toolbar, EachButtonChoosesItsToolAndShowsItselfPressed) {
  StartedWindow started;
  frmMain& w = started.window;
  const char* tips[] = {"指针", "放大", "缩小", "平移", "查看全图", "测距", "点选", "圆选", "框选"};
  const int tools[] = {kToolPointer, kToolZoomIn,      kToolZoomOut,      kToolPan,       -1,
                       kToolMeasure, kToolSelectPoint, kToolSelectRadius, kToolSelectRect};
  EXPECT_EQ(ButtonImages(w), (std::vector<int>{1, 3, 5, 7, 9, 11, 13, 15, 17}));
  for (int i = 0; i < 9; ++i) {
    if (i == 4) continue;
    SCOPED_TRACE(i);
    EXPECT_EQ(w.imgTools[i]->toolTip(), QString::fromUtf8(tips[i]));
    QTest::mouseClick(w.imgTools[i], Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(w.Map1->CurrentTool(), tools[i]);
    std::vector<int> expected{1, 3, 5, 7, 9, 11, 13, 15, 17};
    expected[i] = 2 * i + 2;
    EXPECT_EQ(ButtonImages(w), expected);
  }
}

namespace {

// The rectangle of every feature the map holds, marker layers left out.
MapRect AllFeatures(const MapControl& map) {
  std::optional<MapRect> all;
  for (const Layer* layer : map.LayersBottomToTop())
    if (!layer->IsTemporary() && layer->Store().Count() > 0)
      all = all ? all->United(layer->Bounds()) : layer->Bounds();
  return all.value();
}

}  // namespace

// The whole-map button shows the districts; a city whose district layer is empty is shown whole
// by all its features (not the empty layer's point at 0,0). Either way the tool stays.
TEST(Toolbar, WholeMapShowsTheCityAndKeepsTheTool) {
  struct Case {
    const char* name;
    bool emptyDistricts;
  };
  for (const Case& c : {Case{"districts", false}, Case{"no districts", true}}) {
    SCOPED_TRACE(c.name);
    const auto dir = apptest::CopyOfDemo();
    if (c.emptyDistricts)
      hostile::ExecSql(hostile::LayerFile(dir->path()), QStringLiteral("delete from 行政区域"));
    StartedWindow started(dir->path());
    frmMain& w = started.window;
    ASSERT_EQ(w.Map1->FindLayer(QStringLiteral("行政区域"))->Store().Count() == 0, c.emptyDistricts);
    w.imgTools_Click(3);
    w.Map1->SetViewWidth(500);
    QTest::mouseClick(w.imgTools[4], Qt::LeftButton, {}, QPoint(10, 10));

    const MapRect area =
        c.emptyDistricts ? AllFeatures(*w.Map1) : w.Map1->FindLayer(QStringLiteral("行政区域"))->Bounds();
    const MapRect view = w.Map1->Bounds();
    ASSERT_LT(area.Width(), 46200) << "the demo city fits the widest view";
    const double eps = 1e-6 * area.Width();
    EXPECT_NEAR(view.CenterX(), area.CenterX(), eps);
    EXPECT_NEAR(view.CenterY(), area.CenterY(), eps);
    // The view holds the whole area and is tight on one axis.
    EXPECT_TRUE(view.Contains({area.minX + eps, area.minY + eps}) &&
                view.Contains({area.maxX - eps, area.maxY - eps}));
    EXPECT_TRUE(std::abs(view.Width() - area.Width()) < eps || std::abs(view.Height() - area.Height()) < eps);
    EXPECT_EQ(w.Map1->CurrentTool(), kToolPan);
    EXPECT_EQ(ButtonImages(w), (std::vector<int>{1, 3, 5, 7, 9, 11, 13, 15, 17}));
    EXPECT_TRUE(started.messages.Messages().empty()) << started.messages.Texts().join('\n').toStdString();
  }
}

TEST(ViewChange, WidthIsClampedAndShownInBlueUntilTheTimerTicks) {
  StartedWindow started;
  frmMain& w = started.window;
  const struct {
    double set, width;
    const char* caption;
  } cases[] = {
      {1234.5, 1234.5, "视野 1,234.50 米"}, {40, 100, "视野 100.00 米"},
      {50000, 46200, "视野 46,200.00 米"},  {100, 100, "视野 100.00 米"},
      {46200, 46200, "视野 46,200.00 米"},  {999.996, 999.996, "视野 1,000.00 米"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.set);
    w.Timer1_Timer();
    ASSERT_EQ(qiwu::ForeColor(w.lblZoom), 0u);
    w.Map1->SetViewWidth(c.set);
    EXPECT_DOUBLE_EQ(w.Map1->ViewWidth(), c.width);
    EXPECT_EQ(w.lblZoom->text(), QString::fromUtf8(c.caption));
    EXPECT_EQ(qiwu::ForeColor(w.lblZoom), kBlue);
    EXPECT_TRUE(w.Timer1->isActive());
  }
  w.Timer1_Timer();
  EXPECT_EQ(qiwu::ForeColor(w.lblZoom), 0u);
  EXPECT_FALSE(w.Timer1->isActive());
}

TEST(ViewChange, RedrawsTheFrameOnTheOverview) {
  StartedWindow started;
  frmMain& w = started.window;
  ASSERT_EQ(w.lyrRect->ListFeatures().Count(), 1) << "the load's frame is a bare rectangle";
  w.Map1->SetViewWidth(2000);
  EXPECT_EQ(w.lyrRect->ListFeatures().Count(), 3) << "then the rectangle and the cross hair";
}

// The wheel keeps the point under the cursor in place, also where the width limits cut its zoom.
TEST(ViewChange, WheelAtTheWidthLimitsKeepsThePointUnderTheCursor) {
  StartedWindow started;
  frmMain& w = started.window;
  struct Case {
    double start;
    int notches;  // + zooms in
    double width;
  };
  for (const Case& c : {Case{46200, -3, 46200}, Case{30000, -1, 46200}, Case{100, 3, 100}, Case{150, 1, 100},
                        Case{1000, 1, 500}}) {
    SCOPED_TRACE(c.start);
    w.Map1->SetViewWidth(c.start);
    const QPointF cursor(w.Map1->width() * 0.8, w.Map1->height() * 0.3);
    const MapPoint under = w.Map1->ScreenToMap(cursor.x(), cursor.y());
    for (int n = 0; n < std::abs(c.notches); ++n) {
      QWheelEvent wheel(cursor, w.Map1->mapToGlobal(cursor), {}, {0, c.notches > 0 ? 120 : -120},
                        Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
      QApplication::sendEvent(w.Map1, &wheel);
    }
    EXPECT_DOUBLE_EQ(w.Map1->ViewWidth(), c.width);
    const MapPoint still = w.Map1->ScreenToMap(cursor.x(), cursor.y());
    EXPECT_NEAR(still.x, under.x, 1e-6 * c.width);
    EXPECT_NEAR(still.y, under.y, 1e-6 * c.width);
  }
}

// Clicks at 300 px and then 400 px apart on a map showing one metre a pixel.
TEST(Measuring, ShowsTheRunningLengthWhileDrawingAndResetsWhenFinished) {
  ShownWindow shown;
  frmMain& w = shown.window;
  ASSERT_EQ(w.Map1->width(), 800);
  w.Map1->SetViewWidth(800);
  QTest::mouseClick(w.imgTools[5], Qt::LeftButton, {}, QPoint(10, 10));
  ASSERT_EQ(w.Map1->CurrentTool(), kToolMeasure);

  QTest::mouseClick(w.Map1, Qt::LeftButton, {}, QPoint(100, 100));
  EXPECT_EQ(w.lblDist->text(), QStringLiteral("显示距离"));
  QTest::mouseClick(w.Map1, Qt::LeftButton, {}, QPoint(400, 100));
  EXPECT_EQ(w.lblDist->text(), QStringLiteral("300 米"));
  QTest::mouseClick(w.Map1, Qt::LeftButton, {}, QPoint(400, 500));
  EXPECT_EQ(w.lblDist->text(), QStringLiteral("700 米"));
  EXPECT_EQ(qiwu::ForeColor(w.lblDist), kBlue);

  QTest::mouseDClick(w.Map1, Qt::LeftButton, {}, QPoint(400, 500));
  EXPECT_EQ(w.lblDist->text(), QStringLiteral("显示距离"));
  EXPECT_EQ(qiwu::ForeColor(w.lblDist), 0u);
}

// Another tool taken in the middle of a measurement ends it as Esc would.
TEST(Measuring, ChangingToolMidwayPutsTheLabelBack) {
  ShownWindow shown;
  frmMain& w = shown.window;
  const std::vector<std::function<void()>> changes = {
      [&] { QTest::mouseClick(w.imgTools[0], Qt::LeftButton, {}, QPoint(10, 10)); },
      [&] { apptest::Part<NearestPanel>(w)->cmdClick1->click(); },
      [&] { w.imgType_Click(1); },
  };
  for (std::size_t i = 0; i < changes.size(); ++i) {
    SCOPED_TRACE(i);
    QTest::mouseClick(w.imgTools[5], Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseClick(w.Map1, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseClick(w.Map1, Qt::LeftButton, {}, QPoint(400, 100));
    ASSERT_EQ(qiwu::ForeColor(w.lblDist), kBlue);
    changes[i]();
    EXPECT_EQ(w.lblDist->text(), QStringLiteral("显示距离"));
    EXPECT_EQ(qiwu::ForeColor(w.lblDist), 0u);
  }
}

TEST(Measuring, GroupsThousandsAndIgnoresOtherTools) {
  StartedWindow started;
  frmMain& w = started.window;
  const std::vector<MapPoint> points{{0, 0}, {1000, 0}, {1000, 234.6}};
  emit w.Map1->PolylineToolStep(kToolMeasure, kPolyToolInProgress, points, false, false);
  EXPECT_EQ(w.lblDist->text(), QStringLiteral("1,235 米"));
  emit w.Map1->PolylineToolStep(7, kPolyToolInProgress, points, false, false);
  EXPECT_EQ(w.lblDist->text(), QStringLiteral("显示距离"));
}

TEST(Overview, PressRecentresTheMainMapKeepingItsWidth) {
  ShownWindow shown;
  frmMain& w = shown.window;
  w.Map1->SetViewWidth(2500);
  const QPoint press(40, 90);
  const MapPoint target = w.Map2->ScreenToMap(press.x(), press.y());
  QTest::mousePress(w.Map2, Qt::LeftButton, {}, press);
  EXPECT_NEAR(w.Map1->CenterX(), target.x, 1e-6);
  EXPECT_NEAR(w.Map1->CenterY(), target.y, 1e-6);
  EXPECT_DOUBLE_EQ(w.Map1->ViewWidth(), 2500);
  EXPECT_EQ(w.lyrRect->ListFeatures().Count(), 3);
}

// The overview always shows the whole city: the user's wheel, keys and middle drag leave it.
TEST(Overview, KeepsItsViewUnderWheelKeysAndMiddleDrag) {
  ShownWindow shown;
  frmMain& w = shown.window;
  const MapView before = w.Map2->View();
  const QPoint at(40, 60);
  QWheelEvent wheel(at, w.Map2->mapToGlobal(at), {}, {0, 120}, Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(w.Map2, &wheel);
  w.Map2->setFocus();
  for (Qt::Key key : {Qt::Key_Left, Qt::Key_Up, Qt::Key_Plus, Qt::Key_Minus}) QTest::keyClick(w.Map2, key);
  QTest::mousePress(w.Map2, Qt::MiddleButton, {}, at);
  QTest::mouseMove(w.Map2, at + QPoint(30, 20));
  QTest::mouseRelease(w.Map2, Qt::MiddleButton, {}, at + QPoint(30, 20));
  EXPECT_EQ(w.Map2->View(), before);
}

// After the nearest panel's button every pick runs the nearest search, never the radius search.
TEST(PointPick, DispatchesToTheSearchWhoseButtonWasPressedLast) {
  ShownWindow shown;
  frmMain& w = shown.window;
  w.Map1->SetViewWidth(3000);
  apptest::Part<NearestPanel>(w)->cmdClick1->click();
  ASSERT_EQ(w.Map1->CurrentTool(), kToolPick);
  for (QPoint at : {QPoint(300, 300), QPoint(500, 200)}) {
    apptest::Part<NearestPanel>(w)->txtNear->clear();
    QTest::mouseClick(w.Map1, Qt::LeftButton, {}, at);
    EXPECT_FALSE(apptest::Part<NearestPanel>(w)->txtNear->text().isEmpty());
    EXPECT_EQ(apptest::ListShow(w, 2)->count(), 0);
  }
  EXPECT_FALSE(w.PickForRadius);

  apptest::Part<RadiusPanel>(w)->txtRadius->setText(QStringLiteral("5000"));
  apptest::Part<RadiusPanel>(w)->cmdClick0->click();
  EXPECT_TRUE(w.PickForRadius);
  apptest::Part<NearestPanel>(w)->txtNear->clear();
  QTest::mouseClick(w.Map1, Qt::LeftButton, {}, QPoint(400, 300));
  EXPECT_GT(apptest::ListShow(w, 2)->count(), 0);
  EXPECT_TRUE(apptest::Part<NearestPanel>(w)->txtNear->text().isEmpty());
  EXPECT_TRUE(shown.messages.Messages().empty()) << shown.messages.Texts().join('\n').toStdString();
}

// A handler whose map operation fails reports it in a critical box; the program goes on.
TEST(Handlers, FailureInsideAHandlerIsReportedAndTheWindowCarriesOn) {
  const auto dir = apptest::CopyWithoutLayer(QStringLiteral("行政区域"));
  StartedWindow started(dir->path());
  frmMain& w = started.window;
  ASSERT_TRUE(started.messages.Messages().empty()) << started.messages.Texts().join('\n').toStdString();
  QTest::mouseClick(w.imgTools[3], Qt::LeftButton, {}, QPoint(10, 10));

  QTest::mouseClick(w.imgTools[4], Qt::LeftButton, {}, QPoint(10, 10));
  ASSERT_EQ(started.messages.Messages().size(), 1u);
  const qiwu::Message& report = started.messages.Messages()[0];
  EXPECT_EQ(report.icon, qiwu::MsgIcon::Critical);
  EXPECT_EQ(report.title, QStringLiteral("运行错误"));
  EXPECT_TRUE(report.text.contains(QStringLiteral("行政区域"))) << report.text.toStdString();

  EXPECT_EQ(w.Map1->CurrentTool(), kToolPan);
  QTest::mouseClick(w.imgTools[1], Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_EQ(w.Map1->CurrentTool(), kToolZoomIn);
}
