// The map tools driven by synthetic mouse and key events at map coordinates.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QWheelEvent>

#include "map/MapTypes.h"
#include "tests/map/MapFixture.h"

namespace {

class ToolsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ws.WriteGpkg("t.gpkg", {{"行政区域", {{"全市", SquareWkt(500000, 3400000, 900)}}},
                            {"餐饮娱乐",
                             {{"近", PointWkt(500100, 3400000)},
                              {"远", PointWkt(500600, 3400000)},
                              {"上", PointWkt(500000, 3400300)}}}});
    ASSERT_TRUE(map.LoadWorkspace(ws.WriteGstForLayers("t.gst", "t.gpkg", {"行政区域", "餐饮娱乐"})).ok());
    map.DefineUserTool(kToolPick, kUserToolPoint, kCursorCrossHair);
    map.DefineUserTool(kToolMeasure, kUserToolPolyline, kCursorCrossHair);
  }

  QPointF At(MapPoint p) const { return map.MapToScreen(p); }

  void Mouse(QEvent::Type type, MapPoint p, Qt::MouseButton button = Qt::LeftButton,
             Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QPointF pos = At(p);
    const Qt::MouseButtons buttons =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, pos, map.mapToGlobal(pos), type == QEvent::MouseMove ? Qt::NoButton : button,
                      buttons, modifiers);
    QApplication::sendEvent(&map, &event);
  }
  void Click(MapPoint p, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    Mouse(QEvent::MouseButtonPress, p, Qt::LeftButton, modifiers);
    Mouse(QEvent::MouseButtonRelease, p, Qt::LeftButton, modifiers);
  }
  void Drag(MapPoint from, MapPoint to) {
    Mouse(QEvent::MouseButtonPress, from);
    Mouse(QEvent::MouseMove, {(from.x + to.x) / 2, (from.y + to.y) / 2});
    Mouse(QEvent::MouseMove, to);
    Mouse(QEvent::MouseButtonRelease, to);
  }

  TempWorkspace ws;
  SizedMap sized;
  MapControl& map = sized.map;  // 800 x 600 px, 4000 m wide around (500000, 3400000): 5 m a pixel
};

}  // namespace

TEST_F(ToolsTest, ZoomClicksCentreOnThePointAndHalveOrDoubleTheWidth) {
  struct Case {
    int tool;
    MapPoint at;
    double width;
  };
  for (const Case& c :
       {Case{kToolZoomIn, {501000, 3400500}, 2000}, Case{kToolZoomOut, {499000, 3399500}, 8000}}) {
    map.SetView(MapView({500000, 3400000}, 4000, {}));
    map.ActivateTool(c.tool);
    QSignalSpy viewChanged(&map, &MapControl::ViewChanged);
    Click(c.at);
    EXPECT_EQ(viewChanged.count(), 1);
    EXPECT_DOUBLE_EQ(map.ViewWidth(), c.width);
    EXPECT_NEAR(map.CenterX(), c.at.x, 1e-6);
    EXPECT_NEAR(map.CenterY(), c.at.y, 1e-6);
  }
}

TEST_F(ToolsTest, ZoomInDragShowsTheRectangle) {
  map.ActivateTool(kToolZoomIn);
  Drag({499500, 3400400}, {500500, 3399900});  // 1000 x 500 m
  EXPECT_NEAR(map.ViewWidth(), 1000, 1e-6);
  EXPECT_NEAR(map.CenterX(), 500000, 1e-6);
  EXPECT_NEAR(map.CenterY(), 3400150, 1e-6);
}

TEST_F(ToolsTest, PanDragMovesTheMapWithTheHandOnRelease) {
  map.ActivateTool(kToolPan);
  QSignalSpy viewChanged(&map, &MapControl::ViewChanged);
  const MapPoint grabbed{500500, 3400200};
  const QPointF from = At(grabbed);
  Mouse(QEvent::MouseButtonPress, grabbed);
  Mouse(QEvent::MouseMove, {500300, 3400100});
  EXPECT_EQ(viewChanged.count(), 0);  // the old image moves; the view changes on release
  Mouse(QEvent::MouseButtonRelease, {500300, 3400100});
  EXPECT_EQ(viewChanged.count(), 1);
  EXPECT_DOUBLE_EQ(map.ViewWidth(), 4000);
  // The grabbed map point now lies under the release point.
  const MapPoint under = map.ScreenToMap(from.x() - 40, from.y() + 20);
  EXPECT_NEAR(under.x, grabbed.x, 1e-6);
  EXPECT_NEAR(under.y, grabbed.y, 1e-6);
}

TEST_F(ToolsTest, WheelZoomsAboutTheCursor) {
  const MapPoint anchor{501000, 3399000};
  const QPointF pos = At(anchor);
  QWheelEvent wheel(pos, map.mapToGlobal(pos), {}, {0, 120}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                    false);
  QApplication::sendEvent(&map, &wheel);
  EXPECT_DOUBLE_EQ(map.ViewWidth(), 2000);
  const MapPoint still = map.ScreenToMap(pos.x(), pos.y());
  EXPECT_NEAR(still.x, anchor.x, 1e-6);
  EXPECT_NEAR(still.y, anchor.y, 1e-6);
}

TEST_F(ToolsTest, PointToolReportsThePickedPoint) {
  map.ActivateTool(kToolPick);
  EXPECT_EQ(map.cursor().shape(), Qt::CrossCursor);
  QSignalSpy completed(&map, &MapControl::ToolCompleted);
  QSignalSpy pressed(&map, &MapControl::MouseDown);
  Click({500250, 3399750}, Qt::ShiftModifier);
  ASSERT_EQ(completed.count(), 1);
  const QList<QVariant> args = completed.first();
  EXPECT_EQ(args[0].toInt(), kToolPick);
  EXPECT_DOUBLE_EQ(args[1].toDouble(), 500250);
  EXPECT_DOUBLE_EQ(args[2].toDouble(), 3399750);
  EXPECT_DOUBLE_EQ(args[3].toDouble(), 500250);
  EXPECT_DOUBLE_EQ(args[4].toDouble(), 3399750);
  EXPECT_TRUE(args[6].toBool());   // shift
  EXPECT_FALSE(args[7].toBool());  // ctrl
  ASSERT_EQ(pressed.count(), 1);
  EXPECT_EQ(pressed.first()[0].toInt(), 1);  // left button
  EXPECT_EQ(pressed.first()[1].toInt(), 1);  // shift
  EXPECT_DOUBLE_EQ(pressed.first()[2].toDouble(), 450);
  EXPECT_DOUBLE_EQ(pressed.first()[3].toDouble(), 350);
}

TEST_F(ToolsTest, PolylineToolReportsEachVertexThenTheFinishOrCancel) {
  map.ActivateTool(kToolMeasure);
  std::vector<std::pair<int, std::vector<MapPoint>>> steps;
  QObject::connect(&map, &MapControl::PolylineToolStep,
                   [&](int tool, int phase, const std::vector<MapPoint>& points, bool, bool) {
                     EXPECT_EQ(tool, kToolMeasure);
                     steps.emplace_back(phase, points);
                   });
  const MapPoint a{500000, 3400000}, b{500300, 3400000}, c{500300, 3400400};
  Click(a);
  Click(b);
  Click(c);
  Mouse(QEvent::MouseButtonDblClick, c);
  Mouse(QEvent::MouseButtonRelease, c);
  const std::vector<std::pair<int, std::vector<MapPoint>>> expected = {{kPolyToolBegin, {a}},
                                                                       {kPolyToolInProgress, {a, b}},
                                                                       {kPolyToolInProgress, {a, b, c}},
                                                                       {kPolyToolEnd, {a, b, c}}};
  EXPECT_EQ(steps, expected);

  steps.clear();
  Click(b);
  Click(c);
  QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(&map, &esc);
  ASSERT_EQ(steps.size(), 3u);
  EXPECT_EQ(steps.back().first, kPolyToolEndEscaped);
  Click(a);  // a new line starts afresh
  EXPECT_EQ(steps.back(), (std::pair<int, std::vector<MapPoint>>{kPolyToolBegin, {a}}));
}

TEST_F(ToolsTest, SelectionToolsSelectWhatTheyCover) {
  Layer* dining = map.FindLayer("餐饮娱乐");
  Layer* district = map.FindLayer("行政区域");
  QSignalSpy modified(&map, &MapControl::SelectionModified);

  map.ActivateTool(kToolSelectRadius);
  Drag({500000, 3400000}, {500350, 3400000});  // 350 m: "近" and "上"
  EXPECT_EQ(dining->Selection().Ids(), (std::vector<int>{1, 3}));
  EXPECT_EQ(district->Selection().Count(), 1);  // its centre lies inside the circle too
  EXPECT_GE(modified.count(), 1);

  map.ActivateTool(kToolSelectRect);
  Drag({500050, 3399950}, {500700, 3400050});
  EXPECT_EQ(dining->Selection().Ids(), (std::vector<int>{1, 2}));
  EXPECT_EQ(district->Selection().Count(), 0);

  map.ActivateTool(kToolSelectPoint);
  Click({500600 + 10, 3400000});  // two pixels off the point: it is hit, not the district beneath
  EXPECT_EQ(dining->Selection().Ids(), std::vector<int>{2});
  EXPECT_EQ(district->Selection().Count(), 0);
  Click({500400, 3399500});  // no point here: the district
  EXPECT_EQ(dining->Selection().Count(), 0);
  EXPECT_EQ(district->Selection().Count(), 1);
}

TEST_F(ToolsTest, UnknownToolsAreIgnoredAndUserToolsCanBeRedefined) {
  map.ActivateTool(kToolPan);
  map.ActivateTool(1234);
  EXPECT_EQ(map.CurrentTool(), kToolPan);
  map.ActivateTool(kToolMeasure);
  map.DefineUserTool(kToolMeasure, kUserToolPoint, kCursorCrossHair);  // redefinition of the active tool
  QSignalSpy completed(&map, &MapControl::ToolCompleted);
  Click({500000, 3400000});
  EXPECT_EQ(completed.count(), 1);
}

// The middle button pans in every tool, and the tool itself sees nothing of it.
TEST_F(ToolsTest, MiddleDragPansInEveryToolLeavingTheToolAlone) {
  const MapPoint grabbed{500500, 3400200}, released{500300, 3400100};
  for (int tool : {kToolPointer, kToolPan, kToolZoomIn, kToolZoomOut, kToolSelectPoint, kToolSelectRadius,
                   kToolSelectRect, kToolPick, kToolMeasure}) {
    SCOPED_TRACE(tool);
    map.SetView(MapView({500000, 3400000}, 4000, {}));
    map.UnselectAll();
    map.ActivateTool(tool);
    QSignalSpy viewChanged(&map, &MapControl::ViewChanged);
    QSignalSpy completed(&map, &MapControl::ToolCompleted);
    QSignalSpy steps(&map, &MapControl::PolylineToolStep);
    QSignalSpy selected(&map, &MapControl::SelectionModified);
    const QPointF from = At(grabbed);
    Mouse(QEvent::MouseButtonPress, grabbed, Qt::MiddleButton);
    Mouse(QEvent::MouseMove, released, Qt::MiddleButton);
    Mouse(QEvent::MouseButtonRelease, released, Qt::MiddleButton);
    EXPECT_EQ(viewChanged.count(), 1);
    EXPECT_DOUBLE_EQ(map.ViewWidth(), 4000);
    const MapPoint under = map.ScreenToMap(from.x() - 40, from.y() + 20);
    EXPECT_NEAR(under.x, grabbed.x, 1e-6);
    EXPECT_NEAR(under.y, grabbed.y, 1e-6);
    EXPECT_EQ(completed.count() + steps.count() + selected.count(), 0);
    EXPECT_EQ(map.CurrentTool(), tool);
  }
}

TEST_F(ToolsTest, ArrowKeysPanAQuarterAndPlusMinusZoomAboutTheCentre) {
  struct Case {
    Qt::Key key;
    MapPoint centre;
    double width;
  };
  // 4000 x 3000 m: a quarter across is 1000 m, a quarter down 750 m.
  const Case cases[] = {{Qt::Key_Left, {499000, 3400000}, 4000}, {Qt::Key_Right, {501000, 3400000}, 4000},
                        {Qt::Key_Up, {500000, 3400750}, 4000},   {Qt::Key_Down, {500000, 3399250}, 4000},
                        {Qt::Key_Plus, {500000, 3400000}, 2000}, {Qt::Key_Minus, {500000, 3400000}, 8000}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    map.SetView(MapView({500000, 3400000}, 4000, {}));
    QKeyEvent press(QEvent::KeyPress, c.key, Qt::NoModifier);
    QApplication::sendEvent(&map, &press);
    EXPECT_NEAR(map.CenterX(), c.centre.x, 1e-6);
    EXPECT_NEAR(map.CenterY(), c.centre.y, 1e-6);
    EXPECT_DOUBLE_EQ(map.ViewWidth(), c.width);
  }
}
