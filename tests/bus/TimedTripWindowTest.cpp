// The 出行规划 window by the clock, with a timetable made by hand behind it: the controls of when
// to go, the query they make, the plans listed and drawn, the pages of 更早 / 更晚, a click on a stop
// of a plan listing its departures; and, on a city without a timetable, the estimate notice.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

#include "bus/DeparturesWindow.h"
#include "bus/TimedPaging.h"
#include "bus/TripWindow.h"
#include "data/modDBAccess.h"
#include "map/Layer.h"
#include "mapwidgets/MapControl.h"
#include "tests/bus/BusPanelFixture.h"
#include "tests/bus/HandTimetable.h"

namespace {

// The window on the bus panel's city with the hand-made timetable (or none, or an unusable one).
struct TimedWindow {
  explicit TimedWindow(std::shared_ptr<HandTimetable> table = std::make_shared<HandTimetable>(),
                       QString error = {})
      : hand(std::move(table)), window(*harness.map, *modDBAccess::cnnCity, &harness.window) {
    window.SetTimedSource([this, error](QString& why) {
      why = error;
      return std::shared_ptr<const trip::TimedSource>(hand);
    });
    window.show();
  }
  // A trip from the first stop of 1路 to 100 m east of 老街, leaving (or arriving) at 15:20 on 7 May.
  void Search(TripWindow::When when = TripWindow::kDepartAt) {
    window.txtFrom->setText(FixtureLines()[0].stops[0]);
    const QPointF end = FixtureStopPositions().at(QStringLiteral("老街"));
    window.SetEnd({end.x() + 100, end.y()});
    window.cmbWhen->setCurrentIndex(when);
    if (when != TripWindow::kNow) window.dtWhen->setDateTime(QDateTime({2026, 5, 7}, {15, 20}));
    window.cmdSearch->click();
  }

  PanelHarness harness;
  std::shared_ptr<HandTimetable> hand;
  TripWindow window;
};

trip::TimedPlan FirstPlan(const citygen::Timetable& t) {
  return PlanOf({WalkLeg(-1, 0, 200, Clock(7, 55), Clock(7, 58)), RideLeg(t, 0, 0, 5),
                 WalkLeg(5, -1, 130, Clock(8, 15), Clock(8, 17))});
}

TEST(TimedTripWindow, ControlsFollowTheChoiceOfWhenAndTheTimetable) {
  const struct {
    bool timetable;
    TripWindow::When when;
    bool whenEnabled, timeEnabled, pagesAfterSearch, notice;
  } cases[] = {
      {true, TripWindow::kNow, true, false, true, false},
      {true, TripWindow::kDepartAt, true, true, true, false},
      {true, TripWindow::kArriveBy, true, true, true, false},
      {false, TripWindow::kNow, false, false, false, true},
      {false, TripWindow::kDepartAt, false, false, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.timetable) + " " + std::to_string(c.when));
    TimedWindow w(c.timetable ? std::make_shared<HandTimetable>() : nullptr);
    if (w.hand) w.hand->plans = {FirstPlan(w.hand->table)};
    EXPECT_FALSE(w.window.cmdEarlier->isEnabled());
    EXPECT_FALSE(w.window.cmdLater->isEnabled());
    w.Search(c.when);
    EXPECT_EQ(w.window.cmbWhen->isEnabled(), c.whenEnabled);
    EXPECT_EQ(w.window.dtWhen->isEnabled(), c.timeEnabled);
    EXPECT_EQ(w.window.cmdEarlier->isEnabled(), c.pagesAfterSearch);
    EXPECT_EQ(w.window.cmdLater->isEnabled(), c.pagesAfterSearch);
    EXPECT_EQ(w.window.lblNotice->isVisible(), c.notice);
    ASSERT_GT(w.window.lstPlans->topLevelItemCount(), 0);
    // Without a timetable the plans are today's estimates ("方案 1"), with one they are by the clock.
    EXPECT_EQ(w.window.lstPlans->topLevelItem(0)->text(0).startsWith(QStringLiteral("方案")), !c.timetable);
    EXPECT_TRUE(w.harness.messages.Messages().empty());
  }
}

TEST(TimedTripWindow, SaysWhyTheTimesAreEstimates) {
  const struct {
    QString error, notice;
  } cases[] = {
      {"", "按平均车速估算，非时刻表"},
      {"未知的时区 Mars/Base", "时刻表不能使用（未知的时区 Mars/Base），按平均车速估算，非时刻表"},
  };
  for (const auto& c : cases) {
    TimedWindow w(nullptr, c.error);
    EXPECT_TRUE(w.window.lblNotice->isVisible());
    EXPECT_EQ(w.window.lblNotice->text(), c.notice);
    EXPECT_FALSE(w.window.cmbWhen->isEnabled());
  }
}

TEST(TimedTripWindow, AsksForTheTimeChosenInTheCitysZone) {
  const struct {
    TripWindow::When when;
    trip::TimedMode mode;
  } cases[] = {{TripWindow::kDepartAt, trip::TimedMode::DepartAt},
               {TripWindow::kArriveBy, trip::TimedMode::ArriveBy}};
  for (const auto& c : cases) {
    TimedWindow w;
    w.Search(c.when);
    ASSERT_EQ(w.hand->asked.size(), 1u);
    const trip::TimedQuery& q = w.hand->asked[0];
    EXPECT_EQ(q.mode, c.mode);
    EXPECT_EQ(q.day, QDate(2026, 5, 7));
    EXPECT_EQ(q.seconds, Clock(15, 20));
    EXPECT_EQ(q.windowSeconds, 0);
    EXPECT_EQ(q.from.platforms, std::vector<int>{0});  // a stop's name: its platforms
    EXPECT_FALSE(q.to.placed && !q.to.platforms.empty());
    EXPECT_TRUE(q.to.placed);
  }
  // 现在出发: the time shown is now in the city's zone, and it is what is asked.
  TimedWindow w;
  w.Search(TripWindow::kNow);
  ASSERT_EQ(w.hand->asked.size(), 1u);
  const QDateTime shown(w.window.dtWhen->date(), w.window.dtWhen->time(), w.hand->zone);
  EXPECT_LE(std::abs(shown.secsTo(QDateTime::currentDateTime())), 120);
  EXPECT_EQ(w.hand->asked[0].day, shown.date());
}

TEST(TimedTripWindow, ListsPlansByTheClockDrawsAndPagesThem) {
  TimedWindow w;
  const citygen::Timetable& t = w.hand->table;
  w.hand->plans = {FirstPlan(t),
                   PlanOf({RideLeg(t, 1, 0, 5), WalkLeg(5, -1, 130, Clock(24, 27), Clock(24, 29))})};
  w.Search();
  QTreeWidget& list = *w.window.lstPlans;
  ASSERT_EQ(list.topLevelItemCount(), 2);
  const QStringList heads[] = {{"07:55 出发 → 08:17 到达", "22 分钟", "330 米", "0 次"},
                               {"次日 00:12 出发 → 次日 00:29 到达", "17 分钟", "130 米", "0 次"}};
  for (int i = 0; i < 2; ++i)
    for (int column = 0; column < 4; ++column)
      EXPECT_EQ(list.topLevelItem(i)->text(column), heads[i][column]) << i << "," << column;
  ASSERT_EQ(list.topLevelItem(0)->childCount(), 4);
  EXPECT_EQ(list.topLevelItem(0)->child(1)->text(0),
            QStringLiteral("08:00 在 东门 乘 1路（往 码头），候车 2 分钟"));

  // The chosen plan on the map: dashed walks, a solid ride through the six platforms ridden.
  ASSERT_TRUE(w.window.Overlay());
  const auto& paths = w.window.Overlay()->Paths();
  EXPECT_EQ(
      std::count_if(paths.begin(), paths.end(), [](const RoutePath& p) { return p.style == Qt::DashLine; }),
      2);
  const auto ride =
      std::find_if(paths.begin(), paths.end(), [](const RoutePath& p) { return p.style == Qt::SolidLine; });
  ASSERT_NE(ride, paths.end());
  EXPECT_EQ(ride->points.size(), 6u);

  // Copied as the command line writes a plan by the clock, after the trip's ends.
  w.window.cmdCopy->click();
  const QString copied = QGuiApplication::clipboard()->text();
  EXPECT_TRUE(copied.startsWith(QStringLiteral("从 东门 到 ")));
  EXPECT_TRUE(copied.contains(QStringLiteral("\n07:55 出发 → 08:17 到达"))) << copied.toStdString();

  // 更晚 and 更早 ask for the hour after and before what is shown; the answer replaces the list.
  const trip::TimedQuery first = w.hand->asked.back();
  const trip::TimeSpan shown = trip::SpanShown(first, w.hand->plans);
  w.hand->plans = {};
  w.window.cmdLater->click();
  ASSERT_EQ(w.hand->asked.size(), 2u);
  EXPECT_EQ(w.hand->asked[1].seconds, trip::LaterPage(first, shown).seconds);
  EXPECT_EQ(w.hand->asked[1].windowSeconds, trip::kPageSeconds);
  ASSERT_EQ(list.topLevelItemCount(), 1);
  EXPECT_EQ(list.topLevelItem(0)->text(0), QStringLiteral("次日 00:12 至 次日 01:12 之间没有方案"));
  EXPECT_TRUE(w.window.cmdLater->isEnabled());
  w.window.cmdEarlier->click();
  ASSERT_EQ(w.hand->asked.size(), 3u);
  EXPECT_EQ(w.hand->asked[2].seconds + w.hand->asked[2].windowSeconds, w.hand->asked[1].seconds - 1);
  EXPECT_TRUE(w.harness.messages.Messages().empty());
}

// A click on a line of a plan naming a stop lists its departures from when the rider is there;
// the map's selection stays as it was.
TEST(TimedTripWindow, AClickOnAStopOfAPlanListsItsDepartures) {
  TimedWindow w;
  w.hand->plans = {FirstPlan(w.hand->table)};
  w.hand->departures = {{0, 0, Clock(8, 0), "1路", ""}, {1, 0, Clock(8, 9), "1路", "码头"}};
  w.Search();
  Layer* stops = w.harness.map->FindLayer(QStringLiteral("公交站台"));
  ASSERT_TRUE(stops);
  stops->Selection().SelectAtPoint(FixtureStopPositions().at(QStringLiteral("花园")).x(),
                                   FixtureStopPositions().at(QStringLiteral("花园")).y(), 0);
  const std::vector<int> selected = stops->Selection().Ids();
  ASSERT_EQ(selected.size(), 1u);

  QTreeWidgetItem* last = w.window.lstPlans->topLevelItem(0)->child(3);  // the walk to the end: no stop
  emit w.window.lstPlans->itemClicked(last, 0);
  EXPECT_EQ(w.window.Departures(), nullptr);
  QTreeWidgetItem* ride = w.window.lstPlans->topLevelItem(0)->child(1);
  emit w.window.lstPlans->itemClicked(ride, 0);
  ASSERT_TRUE(w.window.Departures());
  EXPECT_TRUE(w.window.Departures()->isVisible());
  EXPECT_EQ(w.hand->departuresAskedAt, std::vector<int>{Clock(7, 58)});
  QTreeWidget& list = *w.window.Departures()->lstDepartures;
  ASSERT_EQ(list.topLevelItemCount(), 2);
  EXPECT_EQ(list.topLevelItem(0)->text(2), QStringLiteral("2 分钟后（08:00）"));
  EXPECT_EQ(list.topLevelItem(1)->text(1), QStringLiteral("往 码头"));
  EXPECT_TRUE(w.window.Departures()->windowTitle().endsWith(QStringLiteral("东门")));
  EXPECT_EQ(stops->Selection().Ids(), selected);
}

TEST(TimedTripWindow, F1AsksForTheHelpPage) {
  TimedWindow w;
  QSignalSpy asked(&w.window, &TripWindow::HelpRequested);
  w.window.activateWindow();
  ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &w.window; }));
  QTest::keyClick(&w.window, Qt::Key_F1);
  EXPECT_EQ(asked.count(), 1);
}

}  // namespace
