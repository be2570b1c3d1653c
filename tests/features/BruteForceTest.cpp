// The radius and nearest panels against a brute-force computation over the layer, at seeded
// random points and radii; and qiwu-cli's searches, refusals and rendering.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <cmath>
#include <random>

#include "features/SpatialSearch.h"
#include "tests/features/FixtureCity.h"
#include "tests/features/PanelHarness.h"
#include "tests/support/CliRun.h"
#include "tests/support/QtTexts.h"

namespace {

double Distance(MapPoint a, MapPoint b) { return std::hypot(a.x - b.x, a.y - b.y); }

TEST(BruteForce, RadiusAndNearestPanelsAgreeWithAFullScan) {
  PanelHarness h;
  PanelHarness::Choose(h.radius->cmbType1, QStringLiteral("加油站"));
  PanelHarness::Choose(h.nearest->cmbType2, QStringLiteral("加油站"));
  const auto& stations = fixture::Stations();
  std::mt19937 random(7);
  std::uniform_real_distribution<double> offset(-7000, 7000);
  std::uniform_real_distribution<double> radius(0, 1500);
  for (int round = 0; round < 200; ++round) {
    const MapPoint p = fixture::At(offset(random), offset(random));
    const QString radiusText = QString::number(radius(random), 'f', 1);
    const double r = radiusText.toFloat();  // the panel holds the radius in single precision

    QStringList inside;
    QString nearestName;
    double nearest = INFINITY;
    for (const fixture::NamedPoint& s : stations) {
      const double d = Distance(p, s.at);
      if (d <= r) inside << s.name;
      if (d < nearest) nearest = d, nearestName = s.name;
    }

    h.radius->txtRadius->setText(radiusText);
    h.radius->RadiusSearch(p.x, p.y, h.lyrTempPoint);
    ASSERT_EQ(Items(h.radius->lstShow2), inside) << "round " << round;

    h.nearest->NearestSearch(p.x, p.y, h.lyrTempPoint);
    ASSERT_EQ(h.nearest->txtNear->text(), nearestName) << "round " << round;
    ASSERT_EQ(h.nearest->lblDis->text(), DistanceCaption(nearest)) << "round " << round;
  }
}

TEST(BruteForce, TwoStationsAtOneSpotReportTheFirst) {
  PanelHarness h;
  PanelHarness::Choose(h.nearest->cmbType2, QStringLiteral("加油站"));
  const MapPoint spot = fixture::Stations()[10].at;
  h.nearest->NearestSearch(spot.x + 1, spot.y, h.lyrTempPoint);
  EXPECT_EQ(h.nearest->txtNear->text(), fixture::Stations()[10].name);
  EXPECT_EQ(h.nearest->lblDis->text(), QStringLiteral("1  米"));
}

// qiwu-cli on the fixture city's directory.
CliRun RunCliOnFixture(const QStringList& args) {
  return RunProgram(QCoreApplication::applicationDirPath() + "/qiwu-cli",
                    QStringList{"--root", fixture::City::Get().Root(), "--city", fixture::kCityName} + args);
}

// Its standard output, or "failed: " and its standard error when it fails.
QString RunCli(const QStringList& args) {
  const CliRun run = RunCliOnFixture(args);
  if (run.exitCode != 0) return "failed: " + QString::fromUtf8(run.err);
  return QString::fromUtf8(run.out);
}

TEST(BruteForce, TheCommandLineAnswersAsThePanels) {
  PanelHarness h;
  PanelHarness::Choose(h.radius->cmbType1, QStringLiteral("加油站"));
  PanelHarness::Choose(h.nearest->cmbType2, QStringLiteral("加油站"));
  std::mt19937 random(11);
  std::uniform_real_distribution<double> offset(-6000, 6000);
  for (int round = 0; round < 5; ++round) {
    const MapPoint p = fixture::At(offset(random), offset(random));
    const QString x = QString::number(p.x, 'f', 3), y = QString::number(p.y, 'f', 3);
    h.radius->txtRadius->setText("900");
    h.radius->RadiusSearch(x.toDouble(), y.toDouble(), h.lyrTempPoint);
    QString listed;
    for (const QString& name : Items(h.radius->lstShow2)) listed += name + "\n";
    EXPECT_EQ(RunCli({"radius", "加油站", x, y, "900"}), listed);

    h.nearest->NearestSearch(x.toDouble(), y.toDouble(), h.lyrTempPoint);
    const QStringList answer = RunCli({"nearest", "加油站", x, y}).trimmed().split('\t');
    ASSERT_EQ(answer.size(), 2);
    EXPECT_EQ(answer[0], h.nearest->txtNear->text());
    EXPECT_EQ(DistanceCaption(answer[1].toDouble()), h.nearest->lblDis->text());
  }
}

// A failure says in words what went wrong, on standard error, and exits non-zero: 2 for a
// number that is not finite, 1 for a refused search.
TEST(CommandLine, RenderDrawsTheScaleBarUnlessToldNot) {
  QTemporaryDir dir;
  QImage corner[2];
  for (const bool bar : {true, false}) {
    const QString out = dir.filePath(bar ? "bar.png" : "plain.png");
    QStringList args{"render", "--out", out, "--width", "400", "--height", "300"};
    if (!bar) args << "--no-scale-bar";
    ASSERT_EQ(RunCliOnFixture(args).exitCode, 0);
    corner[bar] = QImage(out).copy(0, 240, 160, 60);  // the bar's place, bottom left
    ASSERT_FALSE(corner[bar].isNull());
  }
  EXPECT_NE(corner[true], corner[false]);
}

TEST(CommandLine, RefusalsNameTheTypeOrTheNumberAndExitNonZero) {
  const QString x = QString::number(fixture::kCx), y = QString::number(fixture::kCy);
  const struct {
    QStringList args;
    int exitCode;
    const char* err;
  } cases[] = {
      {{"nearest", "加油站", "nan", "nan"}, 2, "X is not a finite number: nan"},
      {{"nearest", "加油站", x, "-inf"}, 2, "Y is not a finite number: -inf"},
      {{"radius", "加油站", "1e999", y, "900"}, 2, "X is not a finite number: 1e999"},
      {{"radius", "加油站", x, y, "nan"}, 2, "R is not a finite number: nan"},
      {{"radius", "加油站", x, y, "inf"}, 2, "R is not a finite number: inf"},
      {{"type", "无此类"}, 1, "地物类型中没有“无此类”。"},
      {{"type", ""}, 1, "地物类型中没有“”。"},
      {{"radius", "无此类", x, y, "900"}, 1, "地图上没有“无此类”图层，无法查询。"},
      {{"nearest", "无此类", x, y}, 1, "地图上没有“无此类”图层，无法查询。"},
      {{"radius", "", x, y, "900"}, 1, "请先选择地物类型。"},
      {{"nearest", "医院诊所", x, y}, 1, "“医院诊所”图层中没有地物。"},
  };
  for (const auto& c : cases) {
    const CliRun run = RunCliOnFixture(c.args);
    const QString err = QString::fromUtf8(run.err);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.args.join(' ').toStdString();
    EXPECT_TRUE(err.contains(QString::fromUtf8(c.err)) && !err.contains("错误描述")) << err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
  }
}

}  // namespace
