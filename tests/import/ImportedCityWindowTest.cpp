// Cities beside the program: the list in cmbCity (complete data sets only, the demo city first,
// then pinyin order), and the window opening an imported city as it opens the demo city.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/frmMain.h"
#include "data/CityPaths.h"
#include "tests/support/CliRun.h"
#include "tests/support/MessageRecorder.h"
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
  const QString extract = qEnvironmentVariable("QIWU_SOURCE_DIR") +
                          "/tests/fixtures/npm/node_modules/osmtogeojson/test-cli/data/map.osm";
  if (!QFile::exists(extract)) GTEST_SKIP() << "the npm fixtures are not installed (scripts/install-deps.sh)";
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

}  // namespace
