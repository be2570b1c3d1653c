// Where the result table's rows lie: a rectangle selection's rows against the fixture's own points,
// and the coordinates every export ends with, converted to WGS 84 here with GDAL on its own.
#include <gtest/gtest.h>
#include <ogr_spatialref.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <memory>

#include "data/modDBAccess.h"
#include "features/ResultPlaces.h"
#include "features/ResultTable.h"
#include "tests/features/FixtureCity.h"
#include "tests/features/PanelHarness.h"
#include "tests/support/CliRun.h"

namespace {

// The point in EPSG:4326, longitude first: the oracle for the rows' 经度 and 纬度.
MapPoint Wgs84Of(const QString& projection, MapPoint p) {
  OGRSpatialReference map, wgs84;
  EXPECT_EQ(map.SetFromUserInput(projection.toUtf8().constData()), OGRERR_NONE);
  EXPECT_EQ(wgs84.importFromEPSG(4326), OGRERR_NONE);
  map.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  wgs84.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  const std::unique_ptr<OGRCoordinateTransformation> convert(OGRCreateCoordinateTransformation(&map, &wgs84));
  double x = p.x, y = p.y;
  EXPECT_TRUE(convert && convert->Transform(1, &x, &y));
  return {x, y};
}

const std::vector<fixture::NamedPoint>& PointsOf(const QString& layer) {
  static const std::vector<fixture::NamedPoint> none;
  if (layer == QStringLiteral("餐饮娱乐")) return fixture::Restaurants();
  if (layer == QStringLiteral("金融银行")) return fixture::Banks();
  if (layer == QStringLiteral("大中专院校")) return fixture::Colleges();
  if (layer == QStringLiteral("加油站")) return fixture::Stations();
  return none;
}

// Whether the layer holds a point of that name at p (to the export's 0.01 m); firstOnly: the first
// point of that name in layer order, the one a pick by name finds.
bool IsPointOf(const QString& layer, const QString& name, MapPoint p, bool firstOnly = false) {
  for (const fixture::NamedPoint& point : PointsOf(layer)) {
    if (point.name != name) continue;
    if (std::abs(point.at.x - p.x) < 0.006 && std::abs(point.at.y - p.y) < 0.006) return true;
    if (firstOnly) return false;
  }
  return false;
}

MapRect Around(double dx1, double dy1, double dx2, double dy2) {
  const MapPoint a = fixture::At(dx1, dy1), b = fixture::At(dx2, dy2);
  return MapRect::FromCorners(a.x, a.y, b.x, b.y);
}

// The last four cells of every record of a CSV file, read by Python's csv module.
std::vector<QStringList> CoordinateCells(const QString& path) {
  const CliRun read =
      RunProgram(QStandardPaths::findExecutable(QStringLiteral("python3")),
                 {QStringLiteral("-c"),
                  QStringLiteral("import csv, json, sys\n"
                                 "with open(sys.argv[1], encoding='utf-8-sig', newline='') as f:\n"
                                 "    print(json.dumps([r[-4:] for r in csv.reader(f, strict=True)]))"),
                  path});
  EXPECT_EQ(read.exitCode, 0) << read.err.toStdString();
  std::vector<QStringList> cells;
  for (const QJsonValue& record : QJsonDocument::fromJson(read.out).array()) {
    QStringList row;
    for (const QJsonValue& cell : record.toArray()) row << cell.toString();
    cells.push_back(row);
  }
  return cells;
}

TEST(ResultPlaces, ARectangleSelectionGivesEverySelectedFeatureWithItsPlace) {
  PanelHarness h;
  const QString projection = h.Map1->Projection();
  const struct {
    const char* what;
    std::vector<QString> layers;
    MapRect rect;
  } cases[] = {
      {"restaurants within 1 km", {"餐饮娱乐"}, Around(-1000, -1000, 1000, 1000)},
      {"banks and colleges within 3 km", {"金融银行", "大中专院校"}, Around(-3000, -3000, 3000, 3000)},
      {"stations in a quarter", {"加油站"}, Around(0, 0, 6000, 6000)},
      {"nothing there", {"餐饮娱乐"}, Around(90000, 90000, 91000, 91000)},
  };
  for (const auto& c : cases) {
    h.Map1->UnselectAll();
    size_t inRect = 0;  // counted from the fixture's own points
    for (const QString& name : c.layers) {
      h.Map1->FindLayer(name)->Selection().SelectInRect(c.rect, kSelectionNew);
      for (const fixture::NamedPoint& point : PointsOf(name)) inRect += c.rect.Contains(point.at);
    }
    int selected = 0;
    for (int position = 1; position <= h.Map1->LayerCount(); ++position)
      selected += h.Map1->LayerAt(position)->Selection().Count();
    std::vector<ResultRow> rows = RowsOfSelection(*h.Map1);
    FillPlaces(*h.Map1, rows);
    ASSERT_EQ(rows.size(), size_t(selected)) << c.what;
    EXPECT_EQ(rows.size(), inRect) << c.what;
    EXPECT_EQ(rows.empty(), std::string(c.what) == "nothing there") << c.what;
    for (const ResultRow& row : rows) {
      ASSERT_TRUE(row.at && row.lonLat) << c.what << " " << row.name.toStdString();
      EXPECT_TRUE(c.rect.Contains(*row.at)) << c.what;
      EXPECT_TRUE(IsPointOf(row.type, row.name, *row.at)) << c.what << " " << row.name.toStdString();
      EXPECT_TRUE(row.attributes.contains(QStringLiteral("name：") + row.name))
          << row.attributes.toStdString();
      const MapPoint expected = Wgs84Of(projection, *row.at);
      EXPECT_NEAR(row.lonLat->x, expected.x, 1e-9) << c.what;
      EXPECT_NEAR(row.lonLat->y, expected.y, 1e-9) << c.what;
    }
  }
}

// Every export ends with X, Y, 经度, 纬度: a list's names take the point the keyword pick finds, a
// selection its features; a name on no layer leaves the four cells empty.
TEST(ResultPlaces, EveryExportEndsWithTheRowsCoordinates) {
  if (QStandardPaths::findExecutable(QStringLiteral("python3")).isEmpty())
    GTEST_SKIP() << "python3 is not installed";
  PanelHarness h;
  const QString projection = h.Map1->Projection();
  h.Map1->UnselectAll();
  h.Map1->FindLayer(QStringLiteral("餐饮娱乐"))
      ->Selection()
      .SelectInRect(Around(-2000, -2000, 2000, 2000), 0);
  const QStringList names = {QStringLiteral("O'Neil 酒吧"), QStringLiteral("同名楼"),
                             QStringLiteral("连锁快餐"), QStringLiteral("栖霞古寺"),
                             QStringLiteral("无此名")};
  const struct {
    const char* what;
    std::vector<ResultRow> rows;
    std::vector<bool> placed;  // per row; empty: every row
    bool firstOfName;          // a list's names take the first feature of the name
  } cases[] = {
      {"keyword list",
       RowsOfKeywordNames(*modDBAccess::cnnCity, names),
       {true, true, true, false, false},
       true},
      {"type list",
       {RowOf(QStringLiteral("同名楼"), QStringLiteral("金融银行")),
        RowOf(QStringLiteral("无此名"), QStringLiteral("餐饮娱乐"))},
       {true, false},
       true},
      {"selection", RowsOfSelection(*h.Map1), {}, false},
  };
  QTemporaryDir dir;
  const QRegularExpression metres(QStringLiteral("^-?\\d+\\.\\d{2}$")),
      degrees(QStringLiteral("^-?\\d+\\.\\d{6}$"));
  for (const auto& c : cases) {
    std::vector<ResultRow> rows = c.rows;
    ASSERT_FALSE(rows.empty()) << c.what;
    FillPlaces(*h.Map1, rows);
    ResultTable table(h.window.get());
    table.ReplaceRows(QStringLiteral("测试"), rows);  // in the order given: no distances
    const QString path = dir.filePath(QString::fromUtf8(c.what) + QStringLiteral(".csv"));
    QString error;
    ASSERT_TRUE(table.ExportCsv(path, error)) << error.toStdString();
    const std::vector<QStringList> cells = CoordinateCells(path);
    ASSERT_EQ(cells.size(), rows.size() + 1) << c.what;
    if (!c.placed.empty()) {
      ASSERT_EQ(c.placed.size(), rows.size()) << c.what;
    }
    EXPECT_EQ(cells[0], (QStringList{"X", "Y", "经度", "纬度"})) << c.what;
    for (size_t i = 0; i < rows.size(); ++i) {
      const QStringList& row = cells[i + 1];
      const std::string name = rows[i].name.toStdString();
      if (!c.placed.empty() && !c.placed[i]) {
        EXPECT_EQ(row, (QStringList{"", "", "", ""})) << c.what << " " << name;
        continue;
      }
      ASSERT_EQ(row.size(), 4);
      for (int k = 0; k < 4; ++k)
        EXPECT_TRUE((k < 2 ? metres : degrees).match(row[k]).hasMatch())
            << c.what << " " << row[k].toStdString();
      const MapPoint at{row[0].toDouble(), row[1].toDouble()};
      EXPECT_TRUE(IsPointOf(rows[i].type, rows[i].name, at, c.firstOfName)) << c.what << " " << name;
      const MapPoint expected = Wgs84Of(projection, at);
      EXPECT_NEAR(row[2].toDouble(), expected.x, 2e-6) << c.what << " " << name;
      EXPECT_NEAR(row[3].toDouble(), expected.y, 2e-6) << c.what << " " << name;
    }
  }
}

}  // namespace
