// The status bar: its texts, and what the main map's events write into it.
#include <gtest/gtest.h>

#include <QLabel>
#include <QMouseEvent>
#include <QTest>

#include "app/StatusBar.h"
#include "kit/ImageControl.h"
#include "mapwidgets/MapControl.h"
#include "tests/app/WindowFixture.h"
#include "tests/app/WindowParts.h"

using apptest::StartedWindow;

TEST(StatusBarText, CoordinatesScaleAndMeasure) {
  struct Case {
    QString actual;
    const char* expected;
  } cases[] = {
      {CursorText({512345.64, 3301234.55}), "X 512,345.6  Y 3,301,234.6"},
      {LonLatText(MapPoint{120.123456, 30.5}), "东经 120.12346°  北纬 30.50000°"},
      {LonLatText(MapPoint{-70.25, -33.5}), "西经 70.25000°  南纬 33.50000°"},
      {LonLatText(std::nullopt), ""},
      // N = metres a pixel * dots per inch / 0.0254 m.
      {ScaleText(1, 96), "比例尺 1:3,780"},
      {ScaleText(10, 127), "比例尺 1:50,000"},
      {LastMeasureText(1109.4), "上次测量 1,109 米"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.actual, QString::fromUtf8(c.expected));
}

// Clicks 300 px and then 400 px apart on a map of one metre a pixel, then a double click ends the line.
TEST(StatusBarEvents, CursorSelectionAndTheLastMeasureFollowTheMainMap) {
  StartedWindow started;
  frmMain& w = started.window;
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  StatusBar& status = *apptest::Part<StatusBar>(w);

  const QPointF at(200, 150);
  QMouseEvent move(QEvent::MouseMove, at, w.Map1->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(w.Map1, &move);
  EXPECT_EQ(status.lblCursor->text(), CursorText(w.Map1->ScreenToMap(at.x(), at.y())));
  EXPECT_TRUE(status.lblLonLat->text().startsWith(QStringLiteral("东经 ")))
      << status.lblLonLat->text().toStdString();
  EXPECT_TRUE(status.lblScale->text().startsWith(QStringLiteral("比例尺 1:")));

  Layer* dining = w.Map1->FindLayer(QStringLiteral("餐饮娱乐"));
  ASSERT_NE(dining, nullptr);
  dining->Selection().SelectWithinRadius(w.Map1->CenterX(), w.Map1->CenterY(), 1e7, kSelectionNew);
  ASSERT_GT(dining->Selection().Count(), 1);
  EXPECT_EQ(status.lblSelection->text(),
            QStringLiteral("已选 %1 个：餐饮娱乐").arg(dining->Selection().Count()));
  w.Map1->UnselectAll();
  EXPECT_EQ(status.lblSelection->text(), QString());

  w.Map1->SetViewWidth(w.Map1->width());
  QTest::mouseClick(w.imgTools[5], Qt::LeftButton, {}, QPoint(10, 10));
  QTest::mouseClick(w.Map1, Qt::LeftButton, {}, QPoint(100, 100));
  QTest::mouseClick(w.Map1, Qt::LeftButton, {}, QPoint(400, 100));
  QTest::mouseClick(w.Map1, Qt::LeftButton, {}, QPoint(400, 500));
  EXPECT_EQ(status.lblMeasure->text(), QString());
  QTest::mouseDClick(w.Map1, Qt::LeftButton, {}, QPoint(400, 500));
  EXPECT_EQ(status.lblMeasure->text(), QStringLiteral("上次测量 700 米"));
  EXPECT_EQ(w.lblDist->text(), QStringLiteral("显示距离"));
  QTest::mouseClick(w.imgTools[0], Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_EQ(status.lblMeasure->text(), QStringLiteral("上次测量 700 米"));
}
