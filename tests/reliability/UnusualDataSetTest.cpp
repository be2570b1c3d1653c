// Corrupt and unusual data sets: a database table without a column the program reads, a
// truncated layer file, an empty layer, a layer stored in longitude/latitude, names with
// apostrophes and names of 1,000 characters. Each gives the program's messages or works,
// and never crashes.
#include <gdal.h>
#include <gdal_utils.h>
#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>

#include "app/frmMain.h"
#include "features/InfoDrawers.h"
#include "features/KeywordPanel.h"
#include "features/TypeBrowsePanel.h"
#include "tests/app/ProgramDir.h"
#include "tests/app/WindowParts.h"
#include "tests/hostile/DataSetEdits.h"
#include "tests/reliability/SearchDriver.h"
#include "tests/support/MessageRecorder.h"

namespace {

const QString kCity = apptest::kCity;
using hostile::LayerFile;

void ExecDatabase(const QString& root, const QString& sql) {
  hostile::ExecSql(hostile::DatabaseFile(root), sql);
}

// Runs sql on the GeoPackage through GDAL, which keeps its spatial index in step.
void ExecLayers(const QString& root, const QString& sql) {
  GDALAllRegister();
  GDALDatasetH ds = GDALOpenEx(LayerFile(root).toUtf8().constData(), GDAL_OF_VECTOR | GDAL_OF_UPDATE, nullptr,
                               nullptr, nullptr);
  ASSERT_NE(ds, nullptr);
  CPLErrorReset();
  OGRLayerH result = GDALDatasetExecuteSQL(ds, sql.toUtf8().constData(), nullptr, nullptr);
  EXPECT_EQ(CPLGetLastErrorType(), CE_None) << sql.toStdString() << ": " << CPLGetLastErrorMsg();
  if (result) GDALDatasetReleaseResultSet(ds, result);
  GDALClose(ds);
}

QString Quoted(const QString& value) { return "'" + QString(value).replace("'", "''") + "'"; }

// The window started on root, whether start-up ends the program or not, with every search run
// when it did start. Returns whether start-up ended the program.
struct Outcome {
  bool ended = false;
  reliab::SearchAnswers answers;
  std::vector<qiwu::Message> messages;
};

Outcome StartAndSearch(const QString& root) {
  Outcome outcome;
  MessageRecorder recorder;
  frmMain window(root);
  try {
    window.Form_Load();
    outcome.answers = reliab::RunEverySearch(window);
  } catch (const qiwu::ProgramEnded&) {
    outcome.ended = true;
  }
  outcome.messages = recorder.Messages();
  return outcome;
}

bool HasTitle(const Outcome& outcome, const QString& title) {
  return std::any_of(outcome.messages.begin(), outcome.messages.end(),
                     [&](const qiwu::Message& m) { return m.title == title; });
}

struct MissingColumn {
  const char* table;
  const char* column;
};

class MissingColumnTest : public testing::TestWithParam<MissingColumn> {};

// The column is renamed, so the table lacks it. The statement that reads it fails: its box and
// "运行时错误..." follow, the rest works.
TEST_P(MissingColumnTest, TheFailedStatementIsReportedAndTheProgramGoesOn) {
  const auto dir = apptest::CopyOfDemo();
  ExecDatabase(dir->path(),
               QStringLiteral("alter table %1 rename column %2 to 旧列")
                   .arg(QString::fromUtf8(GetParam().table), QString::fromUtf8(GetParam().column)));
  const Outcome outcome = StartAndSearch(dir->path());
  EXPECT_FALSE(outcome.ended);
  EXPECT_TRUE(HasTitle(outcome, QStringLiteral("运行错误")));
  for (const qiwu::Message& m : outcome.messages) EXPECT_FALSE(m.text.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Tables, MissingColumnTest,
                         testing::Values(MissingColumn{"公交信息", "站名"}, MissingColumn{"餐饮娱乐", "name"},
                                         MissingColumn{"地物类型", "type"}, MissingColumn{"支路", "name"}));

TEST(UnusualDataSet, ATruncatedLayerFileEndsStartUpWithAMessage) {
  const auto dir = apptest::CopyOfDemo();
  QFile layers(LayerFile(dir->path()));
  ASSERT_TRUE(layers.resize(layers.size() / 3));
  const Outcome outcome = StartAndSearch(dir->path());
  ASSERT_FALSE(outcome.messages.empty());
  EXPECT_TRUE(outcome.ended);
  EXPECT_EQ(outcome.messages.front().icon, qiwu::MsgIcon::Critical);
  EXPECT_TRUE(outcome.messages.front().text.contains(kCity + ".gpkg"))
      << outcome.messages.front().text.toStdString();
}

TEST(UnusualDataSet, AnEmptyLayerFindsNothingAndSaysSo) {
  const auto dir = apptest::CopyOfDemo();
  ExecLayers(dir->path(), QStringLiteral("delete from 金融银行"));
  const Outcome outcome = StartAndSearch(dir->path());
  EXPECT_FALSE(outcome.ended);
  EXPECT_TRUE(outcome.answers.nearestName.isEmpty());  // the nearest search looks at 金融银行
  EXPECT_FALSE(outcome.answers.radiusList.isEmpty());  // the radius search at 餐饮娱乐
  ASSERT_FALSE(outcome.messages.empty());
  EXPECT_EQ(outcome.messages.front().icon, qiwu::MsgIcon::Information);
}

// A layer kept in longitude/latitude is reprojected on load: the searches answer as before.
TEST(UnusualDataSet, ALayerInLongitudeLatitudeAnswersAsTheProjectedOne) {
  const reliab::SearchAnswers projected = StartAndSearch(apptest::DemoRoot()).answers;
  const auto dir = apptest::CopyOfDemo();
  const QString root = dir->path();
  const QString geojson = root + "/map/" + kCity + "/banks.geojson";
  GDALAllRegister();
  GDALDatasetH source =
      GDALOpenEx(LayerFile(root).toUtf8().constData(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr);
  ASSERT_NE(source, nullptr);
  const char* arguments[] = {"-f", "GeoJSON", "-t_srs", "EPSG:4326", "-nln", "金融银行", "金融银行", nullptr};
  GDALVectorTranslateOptions* options = GDALVectorTranslateOptionsNew(const_cast<char**>(arguments), nullptr);
  GDALDatasetH written =
      GDALVectorTranslate(geojson.toUtf8().constData(), nullptr, 1, &source, options, nullptr);
  GDALVectorTranslateOptionsFree(options);
  ASSERT_NE(written, nullptr);
  GDALClose(written);
  GDALClose(source);

  QFile gst(hostile::WorkspaceFile(root));
  ASSERT_TRUE(gst.open(QIODevice::ReadOnly));
  const QRegularExpressionMatch table =
      QRegularExpression(QStringLiteral(R"("\\TABLE\\(\d+)\\LAYER" = "金融银行")"))
          .match(QString::fromUtf8(gst.readAll()));
  ASSERT_TRUE(table.hasMatch());
  const QString fileKey = QStringLiteral(R"("\TABLE\%1\FILE" = ")").arg(table.captured(1));
  hostile::ReplaceInWorkspace(root, fileKey + kCity + ".gpkg\"", fileKey + "banks.geojson\"");

  const Outcome outcome = StartAndSearch(root);
  EXPECT_TRUE(outcome.messages.empty()) << outcome.messages.front().text.toStdString();
  ASSERT_FALSE(projected.nearestName.isEmpty());
  EXPECT_EQ(outcome.answers.nearestName, projected.nearestName);
}

// Restaurants renamed in the database and on the map alike are listed, found by keyword,
// located and shown on the card under their whole names.
TEST(UnusualDataSet, NamesWithApostrophesAndOfAThousandCharactersWorkEverywhere) {
  const QStringList names{QStringLiteral("O'Brien's 酒家"), QStringLiteral("'"), QString(999, u'长') + "'",
                          QStringLiteral("100%_店")};
  const auto dir = apptest::CopyOfDemo();
  const QString root = dir->path();
  const QStringList old = reliab::TypeNames(root, QStringLiteral("餐饮娱乐")).values().mid(0, names.size());
  ASSERT_EQ(old.size(), names.size());
  for (int i = 0; i < names.size(); ++i) {
    const QString rename =
        "update 餐饮娱乐 set name = " + Quoted(names[i]) + " where name = " + Quoted(old[i]);
    ExecDatabase(root, rename);
    ExecLayers(root, rename);
  }
  MessageRecorder recorder;
  frmMain w(root);
  w.Form_Load();
  const QSet<QString> listed = reliab::Entries(reliab::RunEverySearch(w).typeList);
  for (const QString& name : names) {
    SCOPED_TRACE(name.left(20).toStdString());
    EXPECT_TRUE(listed.contains(name));
    apptest::Part<KeywordPanel>(w)->txtLike->setText(name);
    EXPECT_TRUE(reliab::Entries(Items(apptest::Part<KeywordPanel>(w)->lstShow1)).contains(name));
    const auto found = apptest::Part<TypeBrowsePanel>(w)->lstShow0->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    apptest::Part<TypeBrowsePanel>(w)->lstShow0->setCurrentItem(found.front());
    apptest::Part<TypeBrowsePanel>(w)->lstShow_Click();
    EXPECT_EQ(w.txtObjName->text(), name + "(餐饮娱乐)");
    EXPECT_EQ(apptest::Part<InfoDrawers>(w)->lblName->text(), name);
  }
  EXPECT_TRUE(recorder.Messages().empty()) << recorder.Texts().join('\n').toStdString();
}

}  // namespace
