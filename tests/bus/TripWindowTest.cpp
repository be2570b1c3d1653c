// The 出行规划 window on the small bus city: a search lists plans, the selected one is drawn on
// the map with dashed walks, copied as text, and the drawing goes when the window closes.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "bus/TripWindow.h"
#include "data/modDBAccess.h"
#include "tests/bus/BusPanelFixture.h"

namespace {

TEST(TripWindow, DrawsTheChosenPlanUntilClosed) {
  PanelHarness harness;
  TripWindow window(*harness.map, *modDBAccess::cnnCity, &harness.window);
  const QPointF end = FixtureStopPositions().at(QStringLiteral("学府"));
  window.txtFrom->setText(FixtureLines()[0].stops[0]);
  window.SetEnd({end.x() + 100, end.y()});
  window.cmdSearch->click();

  ASSERT_GT(window.lstPlans->topLevelItemCount(), 0);
  ASSERT_TRUE(window.Overlay());
  const auto& paths = window.Overlay()->Paths();
  EXPECT_TRUE(
      std::any_of(paths.begin(), paths.end(), [](const RoutePath& p) { return p.style == Qt::DashLine; }));
  EXPECT_TRUE(
      std::any_of(paths.begin(), paths.end(), [](const RoutePath& p) { return p.style == Qt::SolidLine; }));

  window.cmdCopy->click();
  const QString copied = QGuiApplication::clipboard()->text();
  EXPECT_TRUE(copied.contains(window.lstPlans->topLevelItem(0)->child(0)->text(0))) << copied.toStdString();

  window.close();
  EXPECT_TRUE(window.Overlay()->Paths().empty());
  EXPECT_TRUE(harness.messages.Messages().empty());
}

TEST(TripWindow, SaysWhichPlaceItCannotTake) {
  const struct {
    QString to, message;
  } cases[] = {
      {"无此地", "找不到地点“无此地”。"},
      {"1e300,0", "地点“1e300,0”离城市地图超过 50 公里，不能规划出行。"},
  };
  for (const auto& c : cases) {
    PanelHarness harness;
    TripWindow window(*harness.map, *modDBAccess::cnnCity, &harness.window);
    window.txtFrom->setText(FixtureLines()[0].stops[0]);
    window.txtTo->setText(c.to);
    window.cmdSearch->click();
    ASSERT_EQ(harness.messages.Messages().size(), 1u);
    EXPECT_EQ(harness.messages.Messages()[0].text, c.message);
    EXPECT_EQ(window.lstPlans->topLevelItemCount(), 0);
  }
}

// The boxes suggest what a trip can start or end at, as the search box finds it: stops and places,
// each once, never a line.
TEST(TripWindow, SuggestsStopsAndPlacesNotLines) {
  PanelHarness harness;
  const QString stop = FixtureLines()[0].stops[0];
  const QString line = FixtureLines()[0].name;
  const TripSuggest suggest = PlaceSuggestions(*modDBAccess::cnnCity, 3);
  const struct {
    QString text;
    QString shown;   // among the suggestions
    QString absent;  // not among them
  } cases[] = {
      {stop, stop, line},
      {line, QString(), line},
      {QStringLiteral("无此地"), QString(), stop},
  };
  for (const auto& c : cases) {
    QStringList names = suggest(c.text);
    SCOPED_TRACE(c.text.toStdString() + ": " + names.join(u',').toStdString());
    EXPECT_LE(names.size(), 3);
    EXPECT_EQ(names.removeDuplicates(), 0);
    EXPECT_TRUE(c.shown.isEmpty() || names.contains(c.shown));
    EXPECT_FALSE(names.contains(c.absent));
  }
}

}  // namespace
