// A double click on a plan line draws its route on the main map.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <string>

#include "bus/BusPanel.h"
#include "bus/PlanRoute.h"
#include "bus/PlanTextBox.h"
#include "bus/RouteOverlay.h"
#include "bus/frmBus.h"
#include "mapwidgets/MapControl.h"
#include "tests/bus/BusPanelFixture.h"

namespace {

TEST(PlanLine, ALineOfTheAnswerNamesItsLegs) {
  struct Case {
    QString line;
    std::vector<RideLeg> legs;
  };
  const QString a = QStringLiteral("甲"), b = QStringLiteral("乙");
  const Case cases[] = {
      {"1路  直达；经过 6 站", {{"1路", a, b}}},
      {"7   直达；经过 2 站", {{"7", a, b}}},
      {"环城线 直达；经过 12 站", {{"环城线", a, b}}},
      {"K101路 直达；经过 3 站", {{"K101路", a, b}}},
      {"3路-->学府 换 2路 经过 5 站", {{"3路", a, "学府"}, {"2路", "学府", b}}},
      {"专线2-->新 村 换 12路 经过 105 站", {{"专线2", a, "新 村"}, {"12路", "新 村", b}}},
      {"======***======*****======***======", {}},
      {"站名输入有误！", {}},
      {"需要转车一次以上！", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(QString(c.line).toStdString());
    const std::vector<RideLeg> legs = ParsePlanLine(c.line, a, b);
    ASSERT_EQ(legs.size(), c.legs.size());
    for (std::size_t i = 0; i < legs.size(); ++i) {
      EXPECT_EQ(legs[i].line, c.legs[i].line);
      EXPECT_EQ(legs[i].from, c.legs[i].from);
      EXPECT_EQ(legs[i].to, c.legs[i].to);
    }
  }
}

TEST(PlanLine, TheRiddenStopsRunFromBoardingToAlighting) {
  const QStringList loop = {"甲", "乙", "丙", "丁", "乙", "戊"};
  struct Case {
    QString from;
    QString to;
    QStringList expected;
  };
  const Case cases[] = {
      {"甲", "丙", {"甲", "乙", "丙"}},
      {"丁", "甲", {"丁", "丙", "乙", "甲"}},
      {"戊", "乙", {"戊", "乙"}},  // the line passes 乙 twice: the shorter ride
      {"丙", "丙", {"丙"}},
      {"甲", "无", {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RiddenStops(loop, c.from, c.to), c.expected) << c.from.toStdString() << c.to.toStdString();
  }
}

class RouteDrawingTest : public ::testing::Test {
 protected:
  void DoubleClickPlanLine(int number) {
    PlanTextBox* box = p.PlanWindow()->rtxtBusChange;
    QTextCursor cursor(box->document()->findBlockByNumber(number));
    const QPoint at = box->cursorRect(cursor).center() + QPoint(4, 0);
    QTest::mouseDClick(box->viewport(), Qt::LeftButton, {}, at);
  }

  static std::vector<QPointF> Positions(const QStringList& stops) {
    std::vector<QPointF> points;
    for (const auto& s : stops) points.push_back(FixtureStopPositions().at(s));
    return points;
  }

  static std::vector<QPointF> Points(const RoutePath& path) {
    std::vector<QPointF> points;
    for (const auto& pt : path.points) points.emplace_back(pt.x, pt.y);
    return points;
  }

  QStringList MarkLabels() const {
    QStringList labels;
    for (const auto& m : Overlay()->Marks()) labels << m.label;
    return labels;
  }

  RouteOverlay* Overlay() const { return h.map->findChild<RouteOverlay*>(); }

  PanelHarness h;
  BusPanel& p = *h.panel;
};

TEST_F(RouteDrawingTest, AChangeRouteDrawsBothRidesMarksThreeStopsAndFitsTheView) {
  const int layers = h.map->LayerCount();
  h.Search(QStringLiteral("东门"), QStringLiteral("火车站"));
  DoubleClickPlanLine(0);  // 3路-->学府 换 2路
  ASSERT_NE(Overlay(), nullptr);
  ASSERT_EQ(Overlay()->Paths().size(), 2u);
  EXPECT_EQ(Points(Overlay()->Paths()[0]), Positions({"东门", "学府"}));
  EXPECT_EQ(Points(Overlay()->Paths()[1]), Positions({"学府", "新村", "钟楼", "体育馆", "火车站"}));
  EXPECT_EQ(MarkLabels(), (QStringList{"东门", "学府", "火车站"}));
  const MapRect view = h.map->Bounds();
  for (const auto& stop : {"东门", "学府", "火车站"}) {
    EXPECT_TRUE(view.Contains({FixtureStopPositions().at(stop).x(), FixtureStopPositions().at(stop).y()}))
        << stop;
  }
  EXPECT_LT(view.Width(), 6000);  // closer than the whole-city start view
  EXPECT_EQ(h.map->LayerCount(), layers);

  DoubleClickPlanLine(1);  // 1路-->钟楼 换 2路
  EXPECT_EQ(Points(Overlay()->Paths()[0]),
            Positions({"东门", "西街", "北桥", "南湖", "花园", "老街", "钟楼"}));
  EXPECT_EQ(Points(Overlay()->Paths()[1]), Positions({"钟楼", "体育馆", "火车站"}));
  EXPECT_EQ(MarkLabels(), (QStringList{"东门", "钟楼", "火车站"}));
}

TEST_F(RouteDrawingTest, ADirectLineDrawsOneRideAgainstTheLinesOrder) {
  h.Search(QStringLiteral("钟楼"), QStringLiteral("北桥"));
  ASSERT_EQ(p.PlanWindow()->rtxtBusChange->Text(), QStringLiteral("1路  直达；经过 4 站\r\n"));
  DoubleClickPlanLine(0);
  ASSERT_NE(Overlay(), nullptr);
  ASSERT_EQ(Overlay()->Paths().size(), 1u);
  EXPECT_EQ(Points(Overlay()->Paths()[0]), Positions({"钟楼", "老街", "花园", "南湖", "北桥"}));
  EXPECT_EQ(MarkLabels(), (QStringList{"钟楼", "北桥"}));
}

TEST_F(RouteDrawingTest, TheRouteGoesWhenThePlanWindowClosesOrTheCitySwitches) {
  h.Search(QStringLiteral("东门"), QStringLiteral("火车站"));
  DoubleClickPlanLine(0);
  ASSERT_FALSE(Overlay()->Paths().empty());
  frmBus* plan = p.PlanWindow();
  plan->activateWindow();
  // An owned window counts as active with its owner: wait for the plan window itself.
  ASSERT_TRUE(QTest::qWaitFor([plan] { return plan->isActiveWindow(); }));
  QTest::keyClick(plan->rtxtBusChange, Qt::Key_Escape);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(p.PlanWindow(), nullptr);
  EXPECT_TRUE(Overlay()->Paths().empty());
  EXPECT_FALSE(Overlay()->isVisible());

  h.Search(QStringLiteral("东门"), QStringLiteral("火车站"));
  DoubleClickPlanLine(0);
  ASSERT_FALSE(Overlay()->Paths().empty());
  p.CitySwitched();
  EXPECT_TRUE(Overlay()->Marks().empty());
  EXPECT_FALSE(Overlay()->isVisible());
  DoubleClickPlanLine(0);  // the old city's plan, still shown, draws nothing on the new map
  EXPECT_TRUE(Overlay()->Paths().empty());
}

TEST(RouteLabel, StaysInsideTheMapBesideItsMark) {
  const QRectF map(0, 0, 640, 480);
  const QSizeF label(80, 20);
  const QPointF marks[] = {{320, 240}, {636, 240}, {320, 4}, {636, 4}, {4, 476}, {636, 476}, {4, 4}};
  for (const QPointF& at : marks) {
    SCOPED_TRACE(std::to_string(at.x()) + "," + std::to_string(at.y()));
    const QRectF placed = RouteOverlay::LabelPlace(label, at, map);
    EXPECT_EQ(placed.size(), label);
    EXPECT_TRUE(map.contains(placed));
    EXPECT_FALSE(placed.adjusted(-7, -7, 7, 7).contains(at));  // clear of the mark's dot
  }
  EXPECT_EQ(RouteOverlay::LabelPlace({700, 20}, {320, 240}, map).left(), 0);  // wider than the map
}

TEST_F(RouteDrawingTest, MessagesDrawNothingAndANewSearchRemovesTheRoute) {
  h.Search(QStringLiteral("东门"), QStringLiteral("火车站"));
  DoubleClickPlanLine(2);  // the separator
  EXPECT_EQ(Overlay(), nullptr);
  DoubleClickPlanLine(0);
  ASSERT_NE(Overlay(), nullptr);
  EXPECT_TRUE(Overlay()->isVisible());

  const double width = h.map->ViewWidth();
  h.Search(QStringLiteral("无此站"), QStringLiteral("火车站"));
  EXPECT_TRUE(Overlay()->Paths().empty());
  EXPECT_FALSE(Overlay()->isVisible());
  DoubleClickPlanLine(0);  // "站名输入有误！"
  EXPECT_TRUE(Overlay()->Paths().empty());
  EXPECT_EQ(h.map->ViewWidth(), width);
  EXPECT_TRUE(h.messages.Messages().empty());
}

}  // namespace
