// The resizable main window: the Parts' area keeps every control's twips at the start size;
// larger, the map, drawers, column and overview follow it; the status bar's texts.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <functional>

#include "app/PartsLayout.h"
#include "app/StatusBar.h"
#include "bus/BusPanel.h"
#include "features/InfoDrawers.h"
#include "kit/ImageControl.h"
#include "kit/LineControl.h"
#include "kit/Twips.h"
#include "mapwidgets/MapControl.h"
#include "tests/app/WindowFixture.h"
#include "tests/app/WindowParts.h"

using apptest::StartedWindow;
using qiwu::TwipsToPixels;

namespace {

struct ShownWindow : StartedWindow {
  ShownWindow() {
    window.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
  }
  // Resizes the window so that its Parts' area is width x height pixels.
  void ResizeParts(int width, int height) {
    const QSize frame = window.size() - apptest::Named<QWidget>(window, QStringLiteral("partsArea"))->size();
    window.resize(frame + QSize(width, height));
    QTRY_COMPARE(apptest::Named<QWidget>(window, QStringLiteral("partsArea"))->size(), QSize(width, height));
  }
  QRect InParts(const QWidget* w) const {
    return QRect(w->mapTo(apptest::Named<QWidget>(window, QStringLiteral("partsArea")), QPoint(0, 0)),
                 w->size());
  }
  QRect Px(int left, int top, int width, int height) const {
    const QWidget* at = &window;
    return QRect(TwipsToPixels(left, at), TwipsToPixels(top, at), TwipsToPixels(width, at),
                 TwipsToPixels(height, at));
  }
};

struct Placed {
  const char* name;
  std::function<QWidget*(frmMain&)> control;
  int left, top, width, height;  // twips in the Parts' area, as the window is designed
};

}  // namespace

TEST(WindowLayout, AtTheStartSizeEveryControlStandsAtItsTwipsInThePartsArea) {
  ShownWindow shown;
  frmMain& w = shown.window;
  ASSERT_EQ(apptest::Named<QWidget>(w, QStringLiteral("partsArea"))->size(),
            QSize(TwipsToPixels(15435, &w), TwipsToPixels(10080, &w)));
  std::vector<Placed> table = {
      {"cmbCity", [](frmMain& f) { return f.cmbCity; }, 660, 195, 2130, 360},
      {"lblZoom", [](frmMain& f) { return f.lblZoom; }, 7980, 240, 1920, 300},
      {"lblDist", [](frmMain& f) { return f.lblDist; }, 9960, 240, 1140, 300},
      {"Picture4", [](frmMain& f) { return f.Picture4; }, 11160, 0, 3915, 750},
      {"picMain", [](frmMain& f) { return f.picMain; }, 2940, 840, 12000, 9120},
      {"Map1", [](frmMain& f) { return f.Map1; }, 2940, 840, 12000, 9120},
      {"Picture2", [](frmMain& f) { return f.Picture2; }, 240, 7920, 2550, 2040},
      {"picInfo0", [](frmMain& f) { return f.picInfo[0]; }, 14940, 840, 4635, 2175},
      {"picInfo1", [](frmMain& f) { return f.picInfo[1]; }, 14940, 7800, 4635, 2175},
      // The 图层 drawer, in the gap between the card's tab (down to 3015) and the legend's (7800).
      {"picLayers", [](frmMain& f) { return apptest::Named<QWidget>(f, QStringLiteral("picLayers")); }, 14940,
       3135, 4635, 4545},
      {"imgType0", [](frmMain& f) { return f.imgType[0]; }, 240, 840, 2550, 435},
      {"imgType1", [](frmMain& f) { return f.imgType[1]; }, 240, 5880, 2550, 435},
      {"imgType4", [](frmMain& f) { return f.imgType[4]; }, 240, 7320, 2550, 435},
      {"picShow0", [](frmMain& f) { return f.picShow[0]; }, 360, 1320, 2400, 4500},
      {"picShow4", [](frmMain& f) { return f.picShow[4]; }, 360, 3240, 2400, 4500},
  };
  const int buttonLefts[] = {2940, 3450, 3960, 4470, 4980, 5640, 6300, 6810, 7320};
  for (int i = 0; i < 9; ++i)
    table.push_back({"imgTools", [i](frmMain& f) { return f.imgTools[i]; }, buttonLefts[i], 135, 480, 480});
  for (const Placed& c : table) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(shown.InParts(c.control(w)), shown.Px(c.left, c.top, c.width, c.height));
  }
  EXPECT_EQ(w.Line1->geometry().top(), TwipsToPixels(1080, &w));
  EXPECT_FALSE(apptest::Named<QScrollArea>(w, QStringLiteral("column"))->verticalScrollBar()->isVisible());
}

// Larger, the map takes the space, the drawers keep to its right edge, the panels and lists grow
// and the overview stays at the bottom; back at the start size everything is where it was.
TEST(WindowLayout, LargerTheMapAndColumnGrowAndTheDrawersFollowTheMapsEdge) {
  ShownWindow shown;
  frmMain& w = shown.window;
  const QRect map0 = shown.InParts(w.picMain), list0 = shown.InParts(apptest::ListShow(w, 0));
  const QRect tab1 = shown.InParts(w.imgType[1]), overview0 = shown.InParts(w.Picture2);
  const QRect busOk0 = shown.InParts(apptest::Part<BusPanel>(w)->cmdOk);
  const double viewWidth0 = w.Map1->ViewWidth();
  const int dx = 300, dy = 200;
  shown.ResizeParts(apptest::Named<QWidget>(w, QStringLiteral("partsArea"))->width() + dx,
                    apptest::Named<QWidget>(w, QStringLiteral("partsArea"))->height() + dy);

  EXPECT_EQ(shown.InParts(w.picMain), map0.adjusted(0, 0, dx, dy));
  EXPECT_EQ(w.Map1->size(), w.picMain->size());
  EXPECT_NEAR(w.Map1->ViewWidth(), viewWidth0 * w.Map1->width() / map0.width(), 1e-6 * viewWidth0);
  const QRect drawer = shown.InParts(w.picInfo[0]);
  EXPECT_NEAR(drawer.left(), shown.InParts(w.picMain).right() + 1, 1);
  EXPECT_EQ(shown.InParts(apptest::Named<QWidget>(w, QStringLiteral("picLayers"))).left(), drawer.left());
  EXPECT_NEAR(shown.InParts(apptest::ListShow(w, 0)).height(), list0.height() + dy, 1);
  EXPECT_NEAR(shown.InParts(w.imgType[1]).top(), tab1.top() + dy, 1);
  EXPECT_NEAR(shown.InParts(w.Picture2).top(), overview0.top() + dy, 1);
  EXPECT_NEAR(shown.InParts(apptest::Part<BusPanel>(w)->cmdOk).top(), busOk0.top() + dy, 1);

  // A drawer opened and closed again on the wider window comes back to the map's edge.
  apptest::Part<InfoDrawers>(w)->imgInfo_Click(0);
  EXPECT_EQ(shown.InParts(w.picInfo[0]).left(),
            drawer.left() - TwipsToPixels(InfoDrawers::kClosedLeft - InfoDrawers::kOpenLeft, &w));
  apptest::Part<InfoDrawers>(w)->imgInfo_Click(0);
  EXPECT_EQ(shown.InParts(w.picInfo[0]), drawer);

  shown.ResizeParts(apptest::Named<QWidget>(w, QStringLiteral("partsArea"))->width() - dx,
                    apptest::Named<QWidget>(w, QStringLiteral("partsArea"))->height() - dy);
  EXPECT_EQ(shown.InParts(w.picMain), map0);
  EXPECT_EQ(shown.InParts(apptest::ListShow(w, 0)), list0);
  EXPECT_EQ(shown.InParts(w.imgType[1]), tab1);
  EXPECT_EQ(shown.InParts(apptest::Part<BusPanel>(w)->cmdOk), busOk0);
}

// Down to a window that fits 1280 x 720: the map gives up height, the column scrolls to show all.
TEST(WindowLayout, OnA1280By720ScreenTheMapShrinksAndTheColumnScrolls) {
  ShownWindow shown;
  frmMain& w = shown.window;
  w.resize(1280, 660);  // 720 less a title bar and a panel
  QTRY_COMPARE(w.size(), QSize(1280, 660));
  const int parts = apptest::Named<QWidget>(w, QStringLiteral("partsArea"))->height();
  ASSERT_LT(parts, TwipsToPixels(10080, &w));
  EXPECT_EQ(shown.InParts(w.picMain).bottom(), parts - TwipsToPixels(10080 - 9960, &w) - 1);
  QScrollBar* scroll = apptest::Named<QScrollArea>(w, QStringLiteral("column"))->verticalScrollBar();
  QTRY_VERIFY(scroll->isVisible());
  EXPECT_EQ(scroll->maximum(),
            apptest::Named<QScrollArea>(w, QStringLiteral("column"))->widget()->height() -
                apptest::Named<QScrollArea>(w, QStringLiteral("column"))->viewport()->height());
  scroll->setValue(scroll->maximum());
  EXPECT_LE(shown.InParts(w.Picture2).bottom(), parts);
  EXPECT_GE(shown.InParts(w.picMain).left(),
            apptest::Named<QScrollArea>(w, QStringLiteral("column"))->geometry().right());
}

TEST(WindowLayout, PartsGeometryKeepsTheStartSizeAndClampsAtTheSmallest) {
  struct Case {
    int width, height;
    int grownRight, stretch, mapHeight;
    bool scrolls;
  } cases[] = {
      {15435, 10080, 0, 0, 9120, false},
      {18435, 13080, 3000, 3000, 12120, false},
      {15435, 9000, 0, 0, 8040, true},
      {10000, 1000, 0, 0, 9120 - (10080 - qiwu::kMinPartsHeight), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
    const qiwu::PartsGeometry g = qiwu::ComputePartsGeometry(c.width, c.height, 255);
    EXPECT_EQ(g.grownRight, c.grownRight);
    EXPECT_EQ(g.columnStretch, c.stretch);
    EXPECT_EQ(g.columnScrolls, c.scrolls);
    EXPECT_EQ(g.picMain.height(), c.mapHeight);
    EXPECT_EQ(g.picMain.left(), g.column.right() + 1);
    EXPECT_EQ(g.picMain.right(), 2940 + 12000 + c.grownRight - 1);
  }
}
