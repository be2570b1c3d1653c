// Workspaces: the .gst reader's errors, and layers read through GDAL from other sources and CRSs.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>

#include "map/Workspace.h"
#include "map/render/LayerSnapshot.h"
#include "tests/map/MapFixture.h"

namespace {

QByteArray ReadBytes(const QString& path) {
  QFile f(path);
  EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
  return f.readAll();
}

const QByteArray kParkInGbk("\xC8\xCB\xC3\xF1\xB9\xAB\xD4\xB0");  // 人民公园 in code page 936

void ExpectLayer(const Layer& layer, const std::vector<NamedMapPoint>& expected, double tolerance) {
  ASSERT_EQ(layer.Store().Count(), int(expected.size())) << layer.Name().toStdString();
  for (int id = 1; id <= int(expected.size()); ++id) {
    const NamedMapPoint& e = expected[std::size_t(id - 1)];
    EXPECT_EQ(layer.Store().ValueOf(id, layer.DisplayField()).toString(), e.name);
    EXPECT_NEAR(layer.Store().CenterOf(id).x, e.at.x, tolerance) << e.name.toStdString();
    EXPECT_NEAR(layer.Store().CenterOf(id).y, e.at.y, tolerance) << e.name.toStdString();
  }
}

}  // namespace

TEST(WorkspaceTest, ReadsChineseNamesFromShapefileAndTabInCodePage936) {
  TempWorkspace ws;
  const std::vector<NamedMapPoint> points = {{"人民公园", {512345.5, 3401234.25}},
                                             {"栖坞市第一医院", {498765.75, 3398765.5}}};
  WritePointLayer("ESRI Shapefile", ws.Path("places.shp"), "places", 4547, points, {"ENCODING=CP936"});
  // Without BOUNDS the TAB writer would squeeze coordinates into its small default bounds.
  WritePointLayer("MapInfo File", ws.Path("sights.tab"), "sights", 4547, points,
                  {"ENCODING=CP936", "BOUNDS=0,3000000,1000000,4000000"});
  ASSERT_TRUE(ReadBytes(ws.Path("places.dbf")).contains(kParkInGbk));
  ASSERT_TRUE(ReadBytes(ws.Path("sights.dat")).contains(kParkInGbk));

  const QString gst =
      ws.WriteGst("city.gst", {R"("\GEOSET\PROJECTION" = "EPSG:4547")", R"("\TABLE\1\FILE" = "places.shp")",
                               R"("\TABLE\1\NAME" = "地点")", R"("\TABLE\2\FILE" = "sights.tab")"});
  Workspace workspace;
  const Outcome r = LoadWorkspace(gst, workspace);
  ASSERT_TRUE(r.ok()) << r.description.toStdString();
  ASSERT_EQ(workspace.layers.size(), 2u);
  EXPECT_EQ(workspace.layers[0]->Name(), "地点");
  EXPECT_EQ(workspace.layers[1]->Name(), "sights");  // no NAME: the source layer's name
  ExpectLayer(*workspace.layers[0], points, 0.01);
  ExpectLayer(*workspace.layers[1], points, 0.5);  // TAB stores coordinates on a grid
}

TEST(WorkspaceTest, ReprojectsLongitudeLatitudeIntoTheWorkspaceCrs) {
  TempWorkspace ws;
  WritePointLayer("GPKG", ws.Path("lonlat.gpkg"), "stops", 4326,
                  {{"北站", {114, 30}}, {"东站", {114.5, 30.2}}});
  const QString gst = ws.WriteGst(
      "city.gst", {R"("\GEOSET\PROJECTION" = "EPSG:4547")", R"("\TABLE\1\FILE" = "lonlat.gpkg")"});
  Workspace workspace;
  const Outcome r = LoadWorkspace(gst, workspace);
  ASSERT_TRUE(r.ok()) << r.description.toStdString();
  // Reference values from gdaltransform -s_srs EPSG:4326 -t_srs EPSG:4547.
  ExpectLayer(*workspace.layers[0], {{"北站", {500000, 3320113.398}}, {"东站", {548146.414, 3342389.899}}},
              0.01);
}

TEST(WorkspaceTest, ReadsLayerSettings) {
  TempWorkspace ws;
  ws.WriteGpkg("d.gpkg", {{"roads", {{"中山路", LineWkt({{0, 0}, {100, 0}})}}}});
  const QString gst = ws.WriteGst(
      "city.gst", {R"("\GEOSET\PROJECTION" = "EPSG:4547")", R"("\GEOSET\CENTER" = "50, 7")",
                   R"("\GEOSET\ZOOMLEVEL" = "1234.5")", R"("\TABLE\1\FILE" = "d.gpkg")",
                   R"("\TABLE\1\ZOOM\MAX" = "3000")", R"("\TABLE\1\ISVISIBLE" = "FALSE")",
                   R"("\TABLE\1\STYLE\PEN\WIDTH" = "3.5")", R"("\TABLE\1\SOMETHING\NEW" = "ignored")"});
  Workspace workspace;
  ASSERT_TRUE(LoadWorkspace(gst, workspace).ok());
  EXPECT_DOUBLE_EQ(workspace.file.center.x, 50);
  EXPECT_DOUBLE_EQ(workspace.file.center.y, 7);
  EXPECT_DOUBLE_EQ(workspace.file.zoomLevel, 1234.5);
  const Layer& layer = *workspace.layers[0];
  EXPECT_DOUBLE_EQ(layer.MaxVisibleWidth(), 3000);
  EXPECT_FALSE(layer.Visible());
  EXPECT_DOUBLE_EQ(layer.Style().penWidth, 3.5);
  EXPECT_EQ(layer.Store().TypeOf(1), kFeatureLine);
}

TEST(WorkspaceTest, FailuresNameTheFileAndWhatIsWrong) {
  TempWorkspace ws;
  ws.WriteGpkg("d.gpkg", {{"roads", {{"中山路", LineWkt({{0, 0}, {100, 0}})}}}});
  const QString projection = R"("\GEOSET\PROJECTION" = "EPSG:4547")";
  struct Case {
    const char* what;
    QStringList lines;
    int number;
    QStringList mentions;
  };
  const Case cases[] = {
      {"missing data file", QStringList{projection, R"("\TABLE\1\FILE" = "gone.gpkg")"}, kMapErrorFileMissing,
       QStringList{"gone.gpkg"}},
      {"missing layer",
       QStringList{projection, R"("\TABLE\1\FILE" = "d.gpkg")", R"("\TABLE\1\LAYER" = "公交站台")"},
       kMapErrorLayerMissing, QStringList{"d.gpkg", "公交站台"}},
      {"malformed line", QStringList{projection, R"("\TABLE\1\FILE" = d.gpkg)"}, kMapErrorMalformedLine,
       QStringList{"city.gst", "第 4 行"}},
      {"bad number", QStringList{projection, R"("\GEOSET\ZOOMLEVEL" = "wide")"}, kMapErrorMalformedLine,
       QStringList{"city.gst", "第 4 行"}},
      {"centre not a finite number", QStringList{projection, R"("\GEOSET\CENTER" = "nan,nan")"},
       kMapErrorMalformedLine, QStringList{"city.gst", "第 4 行", "nan,nan"}},
      {"infinite view width", QStringList{projection, R"("\GEOSET\ZOOMLEVEL" = "inf")"},
       kMapErrorMalformedLine, QStringList{"city.gst", "第 4 行", "inf"}},
      {"infinite layer limit",
       QStringList{projection, R"("\TABLE\1\FILE" = "d.gpkg")", R"("\TABLE\1\ZOOM\MAX" = "-inf")"},
       kMapErrorMalformedLine, QStringList{"city.gst", "第 5 行", "-inf"}},
      {"geographic CRS", QStringList{R"("\GEOSET\PROJECTION" = "EPSG:4326")"}, kMapErrorBadProjection,
       QStringList{"city.gst"}},
      {"no CRS", QStringList{R"("\GEOSET\NAME" = "x")"}, kMapErrorBadProjection, QStringList{"city.gst"}},
  };
  for (const Case& c : cases) {
    Workspace workspace;
    const Outcome r = LoadWorkspace(ws.WriteGst("city.gst", c.lines), workspace);
    EXPECT_FALSE(r.ok()) << c.what;
    EXPECT_EQ(r.number, c.number) << c.what;
    for (const QString& m : c.mentions)
      EXPECT_TRUE(r.description.contains(m)) << c.what << ": " << r.description.toStdString();
  }

  Workspace workspace;
  const Outcome missing = LoadWorkspace(ws.Path("nowhere.gst"), workspace);
  EXPECT_EQ(missing.number, kMapErrorFileMissing);
  EXPECT_TRUE(missing.description.contains("nowhere.gst"));
}

// The generator writes the demo city's workspaces through the writer; reading one and writing it again
// gives its very bytes, so the reader keeps every key and its order and the writer adds nothing.
TEST(WorkspaceTest, ReadingAndWritingAWorkspaceKeepsItsBytes) {
  for (const char* suffix : {"", "2"}) {
    const QString path =
        QCoreApplication::applicationDirPath() + QStringLiteral("/map/栖坞市/栖坞市%1.gst").arg(suffix);
    WorkspaceFile read;
    const Outcome result = ReadWorkspaceFile(path, read);
    ASSERT_TRUE(result.ok()) << result.description.toStdString();
    EXPECT_EQ(WorkspaceText(read).toUtf8(), ReadBytes(path)) << path.toStdString();
  }
}

// Style cases keep their values as written (attribute values are matched exactly), in the bytes
// written again and in the layer's style, and each feature of the layer is given its case on loading.
TEST(WorkspaceTest, StyleCasesKeepTheirValuesAsWritten) {
  TempWorkspace ws;
  ws.WriteGpkg("d.gpkg", {{"routes",
                           {{"bus", LineWkt({{0, 0}, {100, 0}})},
                            {"Tram", LineWkt({{0, 10}, {100, 10}})},
                            {"BUS", LineWkt({{0, 20}, {100, 20}})},
                            {"地铁", LineWkt({{0, 30}, {100, 30}})}}}});
  const QString gst = ws.WriteGst(
      "city.gst",
      {R"("\GEOSET\PROJECTION" = "EPSG:4547")", R"("\TABLE\1\FILE" = "d.gpkg")",
       R"("\TABLE\1\STYLE\BY" = "name")", R"("\TABLE\1\STYLE\CASE\bus\PEN\COLOR" = "#00AA00")",
       R"("\TABLE\1\STYLE\PEN\COLOR" = "#808080")", R"("\TABLE\1\STYLE\CASE\Tram\PEN\WIDTH" = "4")",
       R"("\TABLE\1\STYLE\CASE\地铁\LEGEND" = "地铁")", R"("\TABLE\1\STYLE\CASE\bus\LEGEND" = "公交")"});
  WorkspaceFile read;
  ASSERT_TRUE(ReadWorkspaceFile(gst, read).ok());
  EXPECT_EQ(WorkspaceText(read).toUtf8(), ReadBytes(gst));

  Workspace workspace;
  ASSERT_TRUE(LoadWorkspace(gst, workspace).ok());
  const LayerStyle& style = workspace.layers[0]->Style();
  QStringList values;
  for (const StyleCase& c : style.cases) values << c.value;
  EXPECT_EQ(values, QStringList({"Tram", "bus", "地铁"}));
  const LayerSnapshot snapshot(*workspace.layers[0]);
  const struct {
    int id;
    QColor pen;
    double width;
  } drawn[] = {{1, QColor(0, 0xAA, 0), 1},
               {2, QColor(0x80, 0x80, 0x80), 4},
               {3, QColor(0x80, 0x80, 0x80), 1},
               {4, QColor(0x80, 0x80, 0x80), 1}};
  for (const auto& d : drawn) {
    const LayerStyle& in = CaseStyle(style, snapshot.CaseOf(d.id));
    EXPECT_EQ(in.penColor, d.pen) << d.id;
    EXPECT_EQ(in.penWidth, d.width) << d.id;
  }
}

TEST(WorkspaceTest, AValueALineCannotHoldIsRefusedAndNothingWritten) {
  TempWorkspace ws;
  for (const QString& bad : {QStringLiteral("a\"b"), QStringLiteral("a\nb")}) {
    WorkspaceFile workspace;
    workspace.name = QStringLiteral("城");
    WorkspaceLayerEntry& entry = workspace.layers.emplace_back();
    entry.file = QStringLiteral("x.gpkg");
    entry.name = bad;
    const Outcome written = WriteWorkspaceFile(ws.Path("bad.gst"), workspace);
    EXPECT_FALSE(written.ok());
    EXPECT_EQ(written.number, kMapErrorWriteFailed);
    EXPECT_FALSE(QFile::exists(ws.Path("bad.gst")));
  }
}
