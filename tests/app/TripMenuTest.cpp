// The trip planner's place in the main window: the map's right-click menu offers a stop's
// departures only over a stop of 公交站台, and showing them leaves the map's selection alone; F1 in
// the planner opens its own help page.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTextBrowser>
#include <QTreeWidget>

#include "app/HelpWindow.h"
#include "bus/DeparturesWindow.h"
#include "bus/TripWindow.h"
#include "data/CityVocabulary.h"
#include "map/Layer.h"
#include "mapwidgets/FeaturePick.h"
#include "mapwidgets/MapControl.h"
#include "tests/app/WindowFixture.h"

using apptest::StartedWindow;

namespace {

QStringList ActionTexts(const QMenu& menu) {
  QStringList texts;
  for (const QAction* action : menu.actions())
    if (!action->isSeparator()) texts << action->text();
  return texts;
}

QAction* ActionNamed(const QMenu& menu, const QString& text) {
  for (QAction* action : menu.actions())
    if (action->text() == text) return action;
  return nullptr;
}

// Every selected feature of every layer of the map.
std::vector<std::pair<QString, std::vector<int>>> SelectionOf(const MapControl& map) {
  std::vector<std::pair<QString, std::vector<int>>> selected;
  for (const Layer* layer : map.LayersBottomToTop())
    selected.emplace_back(layer->Name(), layer->Selection().Ids());
  return selected;
}

TEST(TripMenu, OffersTheDeparturesOnlyOverAStopAndLeavesTheSelection) {
  StartedWindow started;
  frmMain& w = started.window;
  w.resize(1400, 900);
  Layer* stops = w.Map1->FindLayer(QString::fromUtf8(city::layer::kBusStops));
  ASSERT_TRUE(stops);
  const Feature stop = stops->FeatureForId(1);
  const MapPoint at = stop.Center();
  w.Map1->SetBounds({at.x - 300, at.y - 300, at.x + 300, at.y + 300});
  const QPoint onStop = w.Map1->MapToScreen(at).toPoint();
  // Something else stays selected: a sight.
  Layer* sights = w.Map1->FindLayer(QString::fromUtf8(city::layer::kSights));
  ASSERT_TRUE(sights);
  sights->Selection().Replace(sights->FeatureForId(1));
  const auto selected = SelectionOf(*w.Map1);

  const struct {
    QPoint offset;
    bool departures;
  } cases[] = {{{0, 0}, true}, {{2, -2}, true}, {{60, 0}, false}, {{0, 80}, false}};
  for (const auto& c : cases) {
    const QPoint point = onStop + c.offset;
    SCOPED_TRACE(std::to_string(c.offset.x()) + "," + std::to_string(c.offset.y()));
    const std::optional<PickedFeature> under = FeatureUnder(*w.Map1, point);
    ASSERT_EQ(under && under->layer == stops, c.departures);  // the case is what it claims
    const std::unique_ptr<QMenu> menu = w.MapMenu(point);
    QStringList expected = {QStringLiteral("从这里出发"), QStringLiteral("到这里去")};
    if (c.departures) expected << QStringLiteral("查看发车时刻");
    EXPECT_EQ(ActionTexts(*menu), expected);
  }

  const std::unique_ptr<QMenu> menu = w.MapMenu(onStop);
  QAction* departures = ActionNamed(*menu, QStringLiteral("查看发车时刻"));
  ASSERT_TRUE(departures);
  departures->trigger();
  ASSERT_TRUE(w.Departures());
  EXPECT_TRUE(w.Departures()->isVisible());
  EXPECT_TRUE(w.Departures()->windowTitle().endsWith(stop.DisplayName()));
  EXPECT_FALSE(w.Departures()->lblWhen->text().isEmpty());
  EXPECT_EQ(SelectionOf(*w.Map1), selected);
  EXPECT_TRUE(started.messages.Messages().empty());
}

TEST(TripMenu, F1InThePlannerOpensItsHelpPage) {
  StartedWindow started;
  frmMain& w = started.window;
  emit w.OpenTripPlanner()->HelpRequested();
  ASSERT_TRUE(w.Help());
  EXPECT_TRUE(w.Help()->isVisible());
  EXPECT_EQ(QFileInfo(w.Help()->Browser()->source().toLocalFile()).fileName(), QStringLiteral("trip.html"));
  EXPECT_TRUE(w.Help()->Browser()->toPlainText().contains(QStringLiteral("查看发车时刻")));
  EXPECT_TRUE(started.messages.Messages().empty());
}

}  // namespace
