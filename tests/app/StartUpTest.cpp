// Start-up and the city switch on the real frmMain: what the window holds once loaded, the
// two ways start-up ends the program, and a switch to the city already loaded.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTimer>

#include "bus/BusPanel.h"
#include "data/modDBAccess.h"
#include "kit/ImageControl.h"
#include "kit/LineControl.h"
#include "kit/Twips.h"
#include "mapwidgets/MapControl.h"
#include "mapwidgets/modMapFunction.h"
#include "tests/app/WindowFixture.h"
#include "tests/app/WindowParts.h"
#include "tests/support/DatabaseColumn.h"

using apptest::StartedWindow;
using qiwu::MsgIcon;

namespace {

// The distinct values of a one-column statement on the city database file itself.
QSet<QString> Column(const QString& root, const char* sql) {
  return DatabaseColumn(root + "/data/" + apptest::kCity + ".mdb", sql);
}

QSet<QString> Entries(const QComboBox* combo) {
  QSet<QString> entries;
  for (int i = 0; i < combo->count(); ++i) entries.insert(combo->itemText(i));
  return entries;
}

void ExpectFirstEntryChosen(const QComboBox* combo) {
  ASSERT_GT(combo->count(), 0);
  EXPECT_EQ(combo->currentIndex(), 0);
  EXPECT_EQ(combo->currentText(), combo->itemText(0));
}

}  // namespace

TEST(StartUp, OpensOnTheDemoCityWithEverySelectorFilled) {
  StartedWindow started;
  frmMain& w = started.window;
  EXPECT_TRUE(started.messages.Messages().empty()) << started.messages.Texts().join('\n').toStdString();

  EXPECT_EQ(w.windowTitle(), QStringLiteral("栖坞地理信息查询系统"));
  EXPECT_EQ(w.cmbCity->currentText(), apptest::kCity);
  EXPECT_EQ(w.cmbCity->count(), 1);
  EXPECT_EQ(w.HelpFile(), apptest::DemoRoot() + "/help/index.html");

  const QString root = apptest::DemoRoot();
  const QSet<QString> allTypes = Column(root, "select distinct typeName from 地物类型");
  const QSet<QString> pointTypes = Column(root, "select distinct typeName from 地物类型 where type = '点'");
  ASSERT_FALSE(pointTypes.isEmpty());
  ASSERT_LT(pointTypes.size(), allTypes.size());
  EXPECT_EQ(Entries(apptest::TypeSelector(w, 0)), allTypes);
  EXPECT_EQ(apptest::TypeSelector(w, 0)->count(), allTypes.size());
  for (int i = 1; i <= 2; ++i) {
    EXPECT_EQ(Entries(apptest::TypeSelector(w, i)), pointTypes) << "cmbType(" << i << ")";
    EXPECT_EQ(apptest::TypeSelector(w, i)->count(), pointTypes.size());
  }
  for (int i = 0; i < 3; ++i) ExpectFirstEntryChosen(apptest::TypeSelector(w, i));

  EXPECT_TRUE(apptest::Part<BusPanel>(w)->optLine->isChecked());
  EXPECT_EQ(apptest::Part<BusPanel>(w)->cmdBus->text(), QStringLiteral("在地图上显示该路线"));
  EXPECT_EQ(Entries(apptest::Part<BusPanel>(w)->cmbBus),
            Column(root, "select distinct 线路名 from 公交信息"));
  EXPECT_EQ(apptest::ListShow(w, 3)->count(), 0);

  // Both maps loaded, each with its fresh temporary layer on top.
  EXPECT_EQ(w.Map1->LayerAt(1), w.lyrTempPoint);
  EXPECT_EQ(w.lyrTempPoint->Name(), QStringLiteral("tempPoint"));
  EXPECT_EQ(w.Map2->FindLayer(QStringLiteral("rectlayer")), w.lyrRect);
  EXPECT_EQ(qiwu::TwipsWidth(w.Map1), qiwu::TwipsWidth(w.picMain));
  EXPECT_EQ(qiwu::TwipsHeight(w.Map1), qiwu::TwipsHeight(w.picMain));
  EXPECT_EQ(qiwu::TwipsGeometry(w.Map2),
            QRect(0, 0, qiwu::TwipsWidth(w.Picture2), qiwu::TwipsHeight(w.Picture2)));

  EXPECT_TRUE(w.Timer1->isSingleShot());
  EXPECT_EQ(w.Timer1->interval(), 1500);
}

// The overview shows where the main map looks as soon as both maps are loaded, not only from
// the first view change on.
TEST(StartUp, OverviewFramesTheMainViewAtStartUpAndAfterASwitch) {
  StartedWindow started;
  frmMain& w = started.window;
  for (const bool switched : {false, true}) {
    SCOPED_TRACE(switched);
    if (switched) emit w.cmbCity->activated(0);
    const FeatureSet frame = w.lyrRect->ListFeatures();
    ASSERT_EQ(frame.Count(), 1);
    EXPECT_EQ(frame.Item(1).Type(), kFeatureRegion);
    const MapRect view = w.Map1->Bounds(), drawn = frame.Bounds();
    const double eps = 1e-6 * view.Width();
    EXPECT_NEAR(drawn.minX, view.minX, eps);
    EXPECT_NEAR(drawn.minY, view.minY, eps);
    EXPECT_NEAR(drawn.maxX, view.maxX, eps);
    EXPECT_NEAR(drawn.maxY, view.maxY, eps);
  }
}

TEST(StartUp, PlacesTabsPanelsAndDrawers) {
  StartedWindow started;
  frmMain& w = started.window;
  const int tabTops[] = {840, 5880, 6360, 6840, 7320};
  const int panelTops[] = {1320, 1800, 2280, 2760, 3240};
  for (int p = 0; p < 5; ++p) {
    SCOPED_TRACE(p);
    EXPECT_EQ(qiwu::TwipsGeometry(w.imgType[p]), QRect(240, tabTops[p], 2550, 435));
    EXPECT_EQ(qiwu::TwipsGeometry(w.picShow[p]), QRect(360, panelTops[p], 2400, 4500));
    EXPECT_EQ(w.picShow[p]->isHidden(), p != 0);
  }
  EXPECT_EQ(w.Line1->X1(), 240);
  EXPECT_EQ(w.Line1->Y1(), 1080);
  EXPECT_EQ(w.Line1->Y2(), 7560);
  EXPECT_EQ(w.Line1->BorderColor(), 0x808080u);
  EXPECT_EQ(qiwu::TwipsGeometry(w.picInfo[0]), QRect(14940, 840, 4635, 2175));
  EXPECT_EQ(qiwu::TwipsGeometry(w.picInfo[1]), QRect(14940, 7800, 4635, 2175));
  EXPECT_EQ(qiwu::TwipsGeometry(w.Picture4), QRect(11160, 0, 3915, 750));
}

// Without its database the program shows the connection's box, then its own, and ends before
// the window is ever shown.
TEST(StartUp, MissingDatabaseEndsTheProgramBeforeTheWindowShows) {
  const auto dir = apptest::CopyWithoutDatabase();
  MessageRecorder messages;
  frmMain w(dir->path());
  EXPECT_THROW(w.Start(), qiwu::ProgramEnded);
  EXPECT_FALSE(w.isVisible());

  ASSERT_EQ(messages.Messages().size(), 2u) << messages.Texts().join('\n').toStdString();
  EXPECT_EQ(messages.Messages()[0].title, QStringLiteral("打开数据库错误"));
  EXPECT_EQ(messages.Messages()[0].icon, MsgIcon::Critical);
  EXPECT_EQ(messages.Messages()[1].text,
            QStringLiteral("连接数据库错误，请确认数据库是否存在；应用程序将退出..."));
  EXPECT_EQ(messages.Messages()[1].title, QStringLiteral("数据库错误"));
  EXPECT_EQ(messages.Messages()[1].icon, MsgIcon::Critical);
  // The maps were loaded before the database was tried; the selectors were never filled.
  EXPECT_GT(w.Map1->LayerCount(), 1);
  EXPECT_EQ(apptest::TypeSelector(w, 0)->count(), 0);
}

class StartUpWithoutLayer : public testing::TestWithParam<const char*> {};

// A main workspace without one of the layers the program names stops start-up with the map's
// error, before the database is touched.
TEST_P(StartUpWithoutLayer, ReportsTheMapErrorAndEndsBeforeAnyDatabaseAccess) {
  const QString layer = QString::fromUtf8(GetParam());
  const auto dir = apptest::CopyWithoutLayer(layer);
  MessageRecorder messages;
  frmMain w(dir->path());
  EXPECT_THROW(w.Start(), qiwu::ProgramEnded);
  EXPECT_FALSE(w.isVisible());

  ASSERT_EQ(messages.Messages().size(), 1u) << messages.Texts().join('\n').toStdString();
  const qiwu::Message& report = messages.Messages()[0];
  EXPECT_EQ(report.icon, MsgIcon::Critical);
  EXPECT_TRUE(report.text.contains(QString::number(kMapErrorLayerMissing))) << report.text.toStdString();
  EXPECT_TRUE(report.text.contains(layer)) << report.text.toStdString();
  EXPECT_TRUE(modDBAccess::cnnCity->Path().isEmpty()) << "no database was opened";
  EXPECT_EQ(w.Map2->LayerCount(), 0) << "the overview is loaded after the main map's set-up";
}

INSTANTIATE_TEST_SUITE_P(EightNamedLayers, StartUpWithoutLayer,
                         testing::Values("餐饮娱乐", "路线", "公交站台"));

// Choosing the loaded city again reloads both maps (the temporary layers are new) and refills
// the selectors.
TEST(CitySwitch, SameCityReloadsMapsAndRefillsSelectors) {
  StartedWindow started;
  frmMain& w = started.window;
  const MapPoint centre{w.Map1->CenterX(), w.Map1->CenterY()};
  PlaceMarker(*w.Map1, *w.lyrTempPoint, centre.x, centre.y);
  DrawViewFrame(*w.Map1, *w.Map2, *w.lyrRect);
  ASSERT_EQ(w.lyrTempPoint->ListFeatures().Count(), 1);
  const int lines = apptest::Part<BusPanel>(w)->cmbBus->count(), types = apptest::TypeSelector(w, 0)->count();
  apptest::Part<BusPanel>(w)->cmbBus->clear();
  apptest::TypeSelector(w, 2)->clear();

  emit w.cmbCity->activated(0);

  EXPECT_TRUE(started.messages.Messages().empty()) << started.messages.Texts().join('\n').toStdString();
  ASSERT_EQ(w.lyrTempPoint, w.Map1->FindLayer(QStringLiteral("tempPoint")));
  EXPECT_EQ(w.lyrTempPoint->ListFeatures().Count(), 0);
  ASSERT_EQ(w.lyrRect, w.Map2->FindLayer(QStringLiteral("rectlayer")));
  EXPECT_EQ(w.lyrRect->ListFeatures().Count(), 1) << "only the new load's bare frame";
  EXPECT_EQ(apptest::Part<BusPanel>(w)->cmbBus->count(), lines);
  EXPECT_EQ(apptest::TypeSelector(w, 0)->count(), types);
  EXPECT_GT(apptest::TypeSelector(w, 2)->count(), 0);
  EXPECT_EQ(apptest::TypeSelector(w, 2)->currentIndex(), 0);
  // The panels stay where they were.
  EXPECT_EQ(qiwu::TwipsTop(w.picShow[4]), 3240);
}

TEST(CitySwitch, LostDatabaseEndsTheProgramAfterBothMessages) {
  const auto dir = apptest::CopyOfDemo();
  StartedWindow started(dir->path());
  ASSERT_TRUE(started.messages.Messages().empty());
  QFile::remove(dir->path() + "/data/" + apptest::kCity + ".mdb");

  EXPECT_THROW(started.window.cmbCity_Click(), qiwu::ProgramEnded);
  ASSERT_EQ(started.messages.Messages().size(), 2u);
  EXPECT_EQ(started.messages.Messages()[0].title, QStringLiteral("打开数据库错误"));
  EXPECT_EQ(started.messages.Messages()[1].title, QStringLiteral("数据库错误"));
}
