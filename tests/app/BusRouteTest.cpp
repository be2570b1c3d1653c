// The drawn bus route in the real window: it belongs to the city whose plan it shows.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "bus/BusPanel.h"
#include "bus/PlanTextBox.h"
#include "bus/RouteOverlay.h"
#include "bus/frmBus.h"
#include "mapwidgets/MapControl.h"
#include "tests/app/WindowFixture.h"
#include "tests/app/WindowParts.h"

using apptest::StartedWindow;

TEST(BusRoute, ACitySwitchRemovesTheDrawnRoute) {
  StartedWindow started;
  frmMain& w = started.window;
  w.imgType_Click(4);
  // Two stops of the first line (a loop line ends where it starts): a direct ride.
  apptest::Part<BusPanel>(w)->cmbBus->setCurrentIndex(0);
  QListWidget* stops = apptest::Part<BusPanel>(w)->lstShow3;
  ASSERT_GT(stops->count(), 1);
  apptest::Part<BusPanel>(w)->txtStation[0]->setText(
      BusPanel::ListEntryTarget(stops->item(0)->text(), true).name);
  apptest::Part<BusPanel>(w)->txtStation[1]->setText(
      BusPanel::ListEntryTarget(stops->item(stops->count() / 2)->text(), true).name);
  apptest::Part<BusPanel>(w)->cmdOk->click();
  ASSERT_NE(apptest::Part<BusPanel>(w)->PlanWindow(), nullptr);
  const QString plan = apptest::Part<BusPanel>(w)->PlanWindow()->rtxtBusChange->Text();
  emit apptest::Part<BusPanel>(w)->PlanWindow()->rtxtBusChange->LineDoubleClicked(
      plan.section(QStringLiteral("\r\n"), 0, 0));
  const RouteOverlay* route = w.Map1->findChild<RouteOverlay*>();
  ASSERT_NE(route, nullptr);
  ASSERT_FALSE(route->Paths().empty());

  w.cmbCity_Click();
  EXPECT_TRUE(route->Paths().empty());
  EXPECT_TRUE(route->Marks().empty());
  EXPECT_TRUE(started.messages.Messages().empty());
}
