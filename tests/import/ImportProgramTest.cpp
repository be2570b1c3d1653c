// qiwu-import run as a program: a real extract gives a city the other programs open, a failed
// import leaves nothing, an existing city is replaced only when asked, and the demo city comes
// back from its own OpenStreetMap extract and GTFS feed with the same places, roads, bus lines and
// transfer-search answers.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <map>
#include <random>
#include <set>

#include "dataset/Writers.h"
#include "import/NaturalOrder.h"
#include "tests/support/CliRun.h"
#include "tests/support/RealFixtures.h"
#include "tests/tools/CityFiles.h"
#include "tools/citygen/GtfsWriter.h"
#include "tools/citygen/OsmWriter.h"

namespace {

QString Program(const char* name) { return QCoreApplication::applicationDirPath() + "/" + name; }

QString SmallExtract() { return realdata::Extract(); }

CliRun Import(const QString& root, const QString& city, const QString& osm, QStringList more = {}) {
  return RunProgram(Program("qiwu-import"), QStringList{"--city", city, "--out", root, "--osm", osm} + more);
}

CliRun Cli(const QString& root, const QString& city, const QStringList& command) {
  return RunProgram(Program("qiwu-cli"), QStringList{"--root", root, "--city", city} + command);
}

// Every entry under root, temporaries included.
QStringList Entries(const QString& root) {
  QStringList entries;
  for (const char* folder : {"map", "data"})
    for (const QString& name :
         QDir(QDir(root).filePath(folder)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
      entries << QString(folder) + "/" + name;
  return entries;
}

class ImportProgram : public testing::Test {
 protected:
  void SetUp() override { REQUIRE_REAL_FIXTURES(); }
  QTemporaryDir root_;
};

TEST_F(ImportProgram, RealExtractOpensInTheCommandLine) {
  const CliRun run = Import(root_.path(), "博岑", SmallExtract());
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_TRUE(run.err.contains("reading")) << "progress goes to standard error";
  EXPECT_TRUE(run.out.contains("支路: 3")) << run.out.toStdString();

  const CliRun layers = Cli(root_.path(), "博岑", {"layers"});
  EXPECT_EQ(layers.exitCode, 0);
  EXPECT_TRUE(layers.out.contains("支路\t3")) << layers.out.toStdString();
  const CliRun keyword = Cli(root_.path(), "博岑", {"keyword", "Kapuziner"});
  EXPECT_EQ(keyword.exitCode, 0) << keyword.err.toStdString();
  EXPECT_EQ(keyword.out.trimmed().toStdString(), "Kapuzinerstraße - via Cappuccini");
  QFile gst(QDir(root_.path()).filePath("map/博岑/博岑.gst"));
  ASSERT_TRUE(gst.open(QIODevice::ReadOnly));
  EXPECT_TRUE(gst.readAll().contains("EPSG:32632")) << "Bolzano lies in UTM zone 32 north";
}

TEST_F(ImportProgram, InputThatFailsMidwayLeavesNothing) {
  QFile whole(SmallExtract());
  ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
  const QByteArray text = whole.readAll();
  const QString cut = root_.filePath("cut.osm");
  QFile half(cut);
  ASSERT_TRUE(half.open(QIODevice::WriteOnly));
  half.write(text.left(text.indexOf("<way")) + "<way id=\"1\"><nd ref=");  // nodes read, then broken
  half.close();
  const QString out = root_.filePath("program");

  const CliRun run = Import(out, "半城", cut);
  EXPECT_NE(run.exitCode, 0);
  EXPECT_TRUE(run.err.contains("cut.osm")) << run.err.toStdString();
  EXPECT_EQ(Entries(out), QStringList());

  ASSERT_EQ(Import(out, "半城", SmallExtract()).exitCode, 0);
  const QStringList complete = Entries(out);
  EXPECT_NE(Import(out, "半城", cut, {"--replace"}).exitCode, 0);
  EXPECT_EQ(Entries(out), complete) << "the old city stays when its replacement fails";
}

TEST_F(ImportProgram, ExistingCityOnlyReplacedWhenAsked) {
  ASSERT_EQ(Import(root_.path(), "博岑", SmallExtract()).exitCode, 0);
  const CliRun again = Import(root_.path(), "博岑", SmallExtract());
  EXPECT_NE(again.exitCode, 0);
  EXPECT_TRUE(again.err.contains("--replace")) << again.err.toStdString();
  const CliRun replaced = Import(root_.path(), "博岑", SmallExtract(), {"--replace", "--epsg", "3857"});
  EXPECT_EQ(replaced.exitCode, 0) << replaced.err.toStdString();
  EXPECT_EQ(Entries(root_.path()), (QStringList{"map/博岑", "data/博岑.import.txt", "data/博岑.mdb"}));
  const CliRun lonLat = Import(root_.path(), "博岑", SmallExtract(), {"--replace", "--epsg", "4326"});
  EXPECT_NE(lonLat.exitCode, 0) << "a map CRS must be projected, in metres";
}

using Names = std::multimap<std::string, std::string>;  // type or class -> name

// The transfer search's answers to each pair, one answer a plan a line: the lines sorted, since a
// city numbers its lines in its own order and plans of one kind follow that order.
std::vector<std::multiset<QString>> BusAnswers(const QString& root, const QString& city,
                                               const QString& pairs) {
  const CliRun run = Cli(root, city, {"bus", "--batch", pairs});
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
  std::vector<std::multiset<QString>> answers;
  for (const QString& answer : QString::fromUtf8(run.out).split("\n\f\n")) {
    const QStringList plans = answer.split('\n', Qt::SkipEmptyParts);
    answers.emplace_back(plans.begin(), plans.end());
  }
  return answers;
}

TEST_F(ImportProgram, DemoCityComesBackFromItsOwnExtractAndFeed) {
  const citytest::Generated& demo = citytest::DemoCity();
  const QString osm = root_.filePath("demo.osm"), feed = root_.filePath("demo-gtfs");
  ASSERT_EQ(citygen::WriteOsmXml(demo.city, osm.toStdString()), "");
  ASSERT_EQ(citygen::WriteGtfsFeed(demo.city, feed.toStdString()), "");
  const CliRun run = Import(root_.path(), "回程市", osm, {"--gtfs", feed});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  const citytest::DataSet imported{root_.path().toStdString(), "回程市"};

  Names expected, found;
  for (citygen::PoiType type : citygen::kPoiTypes) {
    const std::string table = citygen::PoiTypeName(type);
    for (const citygen::Poi& poi : demo.city.pois[std::size_t(type)]) expected.insert({table, poi.name});
    for (const auto& row : imported.Query("select name from " + table)) found.insert({table, row[0]});
  }
  for (const citygen::Road& road : demo.city.roads)
    expected.insert({citygen::RoadLayerName(road.roadClass), road.name});
  for (const char* table : {"主干道", "次干道", "支路"})
    for (const auto& row : imported.Query(std::string("select name from ") + table))
      found.insert({table, row[0]});
  EXPECT_TRUE(expected == found) << expected.size() << " expected, " << found.size() << " found";

  std::map<std::string, std::vector<std::string>> lines, importedLines;
  for (const citygen::BusLine& line : demo.city.lines)
    for (int stop : line.stops) lines[line.name].push_back(demo.city.stops[std::size_t(stop)].name);
  for (const auto& row : imported.Query("select 线路名, 站名 from 公交信息 order by ID, 顺序"))
    importedLines[row[0]].push_back(row[1]);
  EXPECT_TRUE(lines == importedLines);
  const auto ordered = imported.Query("select distinct 线路名 from 公交信息 order by ID");
  EXPECT_TRUE(std::is_sorted(ordered.begin(), ordered.end(), [](const auto& a, const auto& b) {
    return qiwu::import::CompareNaturally(a[0], b[0]) < 0;
  })) << "lines numbered in natural order of their names";
  EXPECT_EQ(citytest::ReadWorkspace(imported.MainWorkspace(), nullptr).at("\\GEOSET\\PROJECTION"),
            "EPSG:4547");

  std::vector<std::string> stops;
  for (const auto& row : demo.files.Query("select distinct 站名 from 公交信息")) stops.push_back(row[0]);
  std::mt19937 random(20261207);
  std::uniform_int_distribution<std::size_t> pick(0, stops.size() - 1);
  QFile pairs(root_.filePath("pairs.txt"));
  ASSERT_TRUE(pairs.open(QIODevice::WriteOnly));
  for (int k = 0; k < 1000; ++k)
    pairs.write((stops[pick(random)] + "\t" + stops[pick(random)] + "\n").c_str());
  pairs.close();
  const auto answers =
      BusAnswers(QString::fromStdString(demo.files.root.string()), "栖坞市", pairs.fileName());
  EXPECT_EQ(answers.size(), 1000u);
  EXPECT_GT(std::count_if(answers.begin(), answers.end(), [](const auto& plans) { return plans.size() > 1; }),
            500)
      << "most pairs have several plans to compare";
  EXPECT_TRUE(answers == BusAnswers(root_.path(), "回程市", pairs.fileName()));
}

}  // namespace

namespace {

// The rows of a route file of the feed, by column name: the oracle for what a city must keep.
std::vector<std::map<QString, QString>> FeedRows(const QString& feed, const QString& file) {
  const QString folder = QFileInfo(feed).path() + "/gtfs/" + file;
  QFile in(folder);
  EXPECT_TRUE(in.open(QIODevice::ReadOnly)) << folder.toStdString();
  const QStringList lines = QString::fromUtf8(in.readAll()).split('\n', Qt::SkipEmptyParts);
  std::vector<std::map<QString, QString>> rows;
  const QStringList header = lines.value(0).trimmed().split(',');
  for (const QString& line : lines.mid(1)) {
    const QStringList fields = line.trimmed().split(',');  // the sample's route file quotes nothing
    std::map<QString, QString>& row = rows.emplace_back();
    for (int k = 0; k < header.size(); ++k) row[header[k]] = fields.value(k);
  }
  return rows;
}

}  // namespace

TEST_F(ImportProgram, RealSourcesKeepTheirChurchSchoolAndTrams) {
  const CliRun refused = Import(root_.path(), "圣米迦勒", SmallExtract(), {"--gtfs", realdata::Feed()});
  EXPECT_EQ(refused.exitCode, 1) << "the extract and the feed lie hundreds of kilometres apart";
  EXPECT_TRUE(refused.err.contains("map.osm (longitude") && refused.err.contains("gtfs.zip (longitude"))
      << refused.err.toStdString();
  EXPECT_EQ(Entries(root_.path()), QStringList()) << "and nothing is written";

  const CliRun run =
      Import(root_.path(), "圣米迦勒", SmallExtract(), {"--gtfs", realdata::Feed(), "--allow-apart"});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  const CliRun church = Cli(root_.path(), "圣米迦勒", {"find", "Pfarrkirche"});
  EXPECT_TRUE(church.out.contains("宗教场所\tPfarrkirche Sankt Michael")) << church.out.toStdString();
  const CliRun school = Cli(root_.path(), "圣米迦勒", {"find", "Volksschule"});
  EXPECT_TRUE(school.out.contains("中小学校\tVolksschule")) << school.out.toStdString();

  // Every route of the feed is a line, trams included, named by its short name, with its mode.
  const citytest::DataSet city{root_.path().toStdString(), "圣米迦勒"};
  std::set<std::pair<std::string, std::string>> expected, found;
  for (auto& route : FeedRows(realdata::Feed(), "routes.txt"))
    expected.insert({route["route_short_name"].toStdString(), route["route_type"] == "0" ? "tram" : "bus"});
  for (const auto& row : city.Query("select 线路名, mode from 线路属性")) found.insert({row[0], row[1]});
  EXPECT_EQ(found, expected);
  EXPECT_EQ(city.Query("select color from 线路属性 where 线路名 = 'Babbage'"),
            (std::vector<citytest::Row>{{"FF0000"}}));

  // The report names both sources and what each left out; the import printed it too.
  QFile report(QDir(root_.path()).filePath("data/圣米迦勒.import.txt"));
  ASSERT_TRUE(report.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(report.readAll());
  EXPECT_TRUE(text.contains("map.osm") && text.contains("gtfs.zip")) << text.toStdString();
  EXPECT_TRUE(text.contains("left out")) << text.toStdString();
  EXPECT_TRUE(QString::fromUtf8(run.out).contains(text.section('\n', 2, 2))) << "printed at the end";
}

TEST_F(ImportProgram, AFeedAloneGivesACityOutlineAroundItsLines) {
  const CliRun run = RunProgram(Program("qiwu-import"),
                                {"--city", "线网", "--out", root_.path(), "--gtfs", realdata::Feed()});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  const citytest::DataSet city{root_.path().toStdString(), "线网"};
  const auto outline = city.Layer("行政区域");
  ASSERT_EQ(outline.size(), 1u);
  EXPECT_EQ(outline[0].name, "线网");
  for (const auto& line : city.Layer("公交路线"))
    EXPECT_TRUE(outline[0].shape->Contains(line.shape.get())) << line.name;
}
