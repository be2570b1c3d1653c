// The accordion of query panels on the real frmMain: which panel a tab click opens, where the
// tabs and Line1 end up (twips), the reset every tab click performs, and the
// hand cursor shared by the panel and drawer tabs.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "features/InfoDrawers.h"
#include "features/KeywordPanel.h"
#include "kit/ImageControl.h"
#include "kit/LineControl.h"
#include "kit/Twips.h"
#include "map/MapTypes.h"
#include "mapwidgets/MapControl.h"
#include "mapwidgets/modMapFunction.h"
#include "tests/app/WindowFixture.h"
#include "tests/app/WindowParts.h"

using apptest::StartedWindow;

namespace {

struct TabStep {
  int click;
  int open;                 // the one visible panel afterwards
  std::array<int, 5> tops;  // of imgType(0..4)
  int line1End;
};

std::array<int, 5> TabTops(const frmMain& w) {
  std::array<int, 5> tops{};
  for (int p = 0; p < 5; ++p) tops[p] = qiwu::TwipsTop(w.imgType[p]);
  return tops;
}

int OpenPanel(const frmMain& w) {
  int open = -1, count = 0;
  for (int p = 0; p < 5; ++p)
    if (!w.picShow[p]->isHidden()) open = p, ++count;
  return count == 1 ? open : -1;
}

void ClickTab(frmMain& w, int p) { QTest::mouseClick(w.imgType[p], Qt::LeftButton, {}, QPoint(20, 10)); }

}  // namespace

// One walk through every row of the switch table, from the start layout.
TEST(Accordion, TabClicksFollowTheSwitchTable) {
  StartedWindow started;
  frmMain& w = started.window;
  ASSERT_EQ(OpenPanel(w), 0);
  ASSERT_EQ(TabTops(w), (std::array<int, 5>{840, 5880, 6360, 6840, 7320}));

  const TabStep steps[] = {
      {0, 4, {840, 1320, 1800, 2280, 2760}, 3020},  // the open panel's tab: the bus panel opens
      {4, 4, {840, 1320, 1800, 2280, 2760}, 3020},  // the open bus tab changes nothing
      {0, 0, {840, 5865, 6345, 6825, 7305}, 7560},  // a closed panel opens, the tabs below follow it
      {2, 2, {840, 1320, 1800, 6825, 7305}, 7560},
      {1, 1, {840, 1320, 6345, 6825, 7305}, 7560},
      {3, 3, {840, 1320, 1800, 2280, 7305}, 7560},
      {3, 4, {840, 1320, 1800, 2280, 2760}, 3020},
      {2, 2, {840, 1320, 1800, 6825, 7305}, 7560},
      {4, 4, {840, 1320, 1800, 2280, 2760}, 3020},  // a closed bus panel opens with the tabs closed up
  };
  for (const TabStep& step : steps) {
    SCOPED_TRACE(testing::Message() << "click on imgType(" << step.click << ")");
    ClickTab(w, step.click);
    EXPECT_EQ(OpenPanel(w), step.open);
    EXPECT_EQ(TabTops(w), step.tops);
    EXPECT_EQ(w.Line1->Y2(), step.line1End);
  }
  // Panels never move.
  for (int p = 0; p < 5; ++p) EXPECT_EQ(qiwu::TwipsTop(w.picShow[p]), 1320 + p * 480);
  EXPECT_TRUE(started.messages.Messages().empty());
}

// Every tab click puts the map back to the pointer, releases every toolbar button and removes
// the position marker, also when the click switched nothing.
TEST(Accordion, EveryTabClickResetsToolButtonsAndMarker) {
  StartedWindow started;
  frmMain& w = started.window;
  for (int tab : {4, 4, 0, 3}) {
    SCOPED_TRACE(tab);
    w.imgTools_Click(1);
    PlaceMarker(*w.Map1, *w.lyrTempPoint, w.Map1->CenterX(), w.Map1->CenterY());
    ASSERT_EQ(w.Map1->CurrentTool(), kToolZoomIn);
    ASSERT_EQ(w.lyrTempPoint->ListFeatures().Count(), 1);

    ClickTab(w, tab);
    EXPECT_EQ(w.Map1->CurrentTool(), kToolPointer);
    EXPECT_EQ(w.lyrTempPoint->ListFeatures().Count(), 0);
    for (int i = 0; i < 9; ++i)
      EXPECT_EQ(w.imgTools[i]->Picture().cacheKey(), w.imgListTools.Picture(2 * i + 1).cacheKey())
          << "imgTools(" << i << ")";
  }
}

TEST(Accordion, OpeningTheKeywordPanelFocusesTheKeywordBox) {
  StartedWindow started;
  frmMain& w = started.window;
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  ClickTab(w, 1);
  EXPECT_TRUE(apptest::Part<KeywordPanel>(w)->txtLike->hasFocus());
}

// The panel tabs, the drawer tabs and a non-empty web link show the drawn hand; over any tab, the
// bus tab shows the arrow while the bus panel is open and the hand otherwise.
TEST(Accordion, TabsAndLinkShowTheDrawnHandAndTheBusTabFollowsTheBusPanel) {
  StartedWindow started;
  frmMain& w = started.window;
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  const qint64 hand = w.imgListTools.Picture(QStringLiteral("Hand")).cacheKey();
  for (int p = 0; p < 4; ++p) EXPECT_EQ(w.imgType[p]->cursor().pixmap().cacheKey(), hand);
  for (qiwu::ImageControl* tab : apptest::Part<InfoDrawers>(w)->imgInfo)
    EXPECT_EQ(tab->cursor().pixmap().cacheKey(), hand);

  ClickTab(w, 4);
  QTest::mouseMove(w.imgType[1], QPoint(30, 10));
  EXPECT_EQ(w.imgType[4]->cursor().shape(), Qt::ArrowCursor);
  EXPECT_EQ(w.imgType[1]->cursor().shape(), Qt::BitmapCursor);

  ClickTab(w, 0);
  QTest::mouseMove(w.imgType[2], QPoint(30, 10));
  EXPECT_EQ(w.imgType[4]->cursor().shape(), Qt::BitmapCursor);
  EXPECT_EQ(w.imgType[4]->cursor().pixmap().cacheKey(), hand);

  QTest::mouseClick(apptest::Part<InfoDrawers>(w)->imgInfo[0], Qt::LeftButton);  // the card opens
  apptest::Part<InfoDrawers>(w)->lblWeb->setText(QStringLiteral("www.example.cn"));
  QTest::mouseMove(apptest::Part<InfoDrawers>(w)->lblWeb, QPoint(5, 5));
  EXPECT_EQ(apptest::Part<InfoDrawers>(w)->lblWeb->cursor().pixmap().cacheKey(), hand);
}
