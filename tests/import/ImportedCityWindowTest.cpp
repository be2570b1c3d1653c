// Cities beside the program: the list in cmbCity (complete data sets only, the demo city first,
// then pinyin order), and the window opening an imported city as it opens the demo city.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include "app/frmMain.h"
#include "bus/BusPanel.h"
#include "data/CityPaths.h"
#include "map/Layer.h"
#include "mapwidgets/MapControl.h"
#include "tests/app/WindowParts.h"
#include "tests/support/CliRun.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/RealFixtures.h"
#include "tools/citygen/Generator.h"

namespace {

void Touch(const QString& path) {
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

TEST(CityList, CompleteDataSetsDemoFirstThenPinyin) {
  const QTemporaryDir root;
  for (const QString city : {"重庆", "阿城", "栖坞市", "博岑"}) {
    Touch(qiwu::MainWorkspacePath(root.path(), city));
    Touch(qiwu::DatabasePath(root.path(), city));
  }
  Touch(qiwu::MainWorkspacePath(root.path(), "无库城"));            // no database
  Touch(qiwu::DatabasePath(root.path(), "无图城"));                 // no workspace
  Touch(qiwu::MainWorkspacePath(root.path(), ".博岑.tmp-abc123"));  // an import under way
  EXPECT_EQ(qiwu::ListCities(root.path()), (QStringList{"栖坞市", "阿城", "博岑", "重庆"}));
  EXPECT_EQ(qiwu::ListCities(root.filePath("nowhere")), QStringList());
}

TEST(ImportedCity, WindowOpensItAndListsBoth) {
  REQUIRE_REAL_FIXTURES();
  const QString extract = realdata::Extract();
  const QTemporaryDir root;
  citygen::Options demo;
  demo.outDir = root.path().toStdString();
  ASSERT_EQ(citygen::WriteDataSet(citygen::Generate(demo), demo.outDir), "");
  const CliRun run = RunProgram(QCoreApplication::applicationDirPath() + "/qiwu-import",
                                {"--city", "博岑", "--out", root.path(), "--osm", extract});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

  for (const QString& asked : {QString(), QStringLiteral("博岑")}) {
    MessageRecorder messages;
    frmMain window(root.path());
    window.SetStartCity(asked);
    window.Form_Load();
    EXPECT_EQ(messages.Texts(), QStringList());
    EXPECT_EQ(window.cmbCity->currentText(), asked.isEmpty() ? qiwu::kDemoCity : asked);
    ASSERT_EQ(window.cmbCity->count(), 2);
    EXPECT_EQ(window.cmbCity->itemText(0), qiwu::kDemoCity);
  }
}

// A city from the sample feed alone: the bus panel shows a tram line as it shows a bus line, and
// the whole-map button shows every line.
TEST(ImportedCity, TramsOnTheBusPanelAndTheWholeCityInView) {
  REQUIRE_REAL_FIXTURES();
  const QTemporaryDir root;
  const CliRun run = RunProgram(QCoreApplication::applicationDirPath() + "/qiwu-import",
                                {"--city", "线网", "--out", root.path(), "--gtfs", realdata::Feed()});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  MessageRecorder messages;
  frmMain window(root.path());
  window.SetStartCity(QStringLiteral("线网"));
  window.Form_Load();
  ASSERT_EQ(messages.Texts(), QStringList());

  BusPanel* bus = apptest::Part<BusPanel>(window);
  QTest::mouseClick(bus->optLine, Qt::LeftButton);
  bus->cmbBus->setEditText(QStringLiteral("Babbage"));
  ASSERT_GT(bus->lstShow3->count(), 1) << "the tram line's stops";
  QTest::mouseClick(bus->cmdBus, Qt::LeftButton);
  Layer* lines = window.Map1->FindLayer(QStringLiteral("公交路线"));
  ASSERT_NE(lines, nullptr);
  ASSERT_EQ(lines->Selection().Count(), 1);
  EXPECT_EQ(lines->Selection().Item(1).DisplayName(), QStringLiteral("Babbage"));
  EXPECT_EQ(messages.Texts(), QStringList());

  // 查看全图: the feed's lines reach 55 km from the airport, more than the widest view (46,200 m),
  // so the view is centred on them and every line shows at least in part.
  window.imgTools_Click(4);
  const MapRect view = window.Map1->Bounds(), all = lines->Bounds();
  EXPECT_TRUE(all.Contains({view.CenterX(), view.CenterY()}));
  const auto meets = [&view](const MapRect& r) {
    return r.minX <= view.maxX && r.maxX >= view.minX && r.minY <= view.maxY && r.maxY >= view.minY;
  };
  const FeatureSet features = lines->ListFeatures();
  ASSERT_EQ(features.Count(), 4);
  for (const Feature& line : features) EXPECT_TRUE(meets(line.Bounds())) << line.DisplayName().toStdString();
}

}  // namespace
