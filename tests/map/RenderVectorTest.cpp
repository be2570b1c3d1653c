// The map on a PDF: symbols, lines and labels as shapes and text in an embedded font, no picture,
// with every label the renderer placed findable as text; and the option that lifts display limits.
#include <gtest/gtest.h>

#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "tests/map/RenderFixture.h"

namespace {

const MapView kView({0, 0}, 1200, QSize(600, 400));

struct Scene {
  std::unique_ptr<Layer> areas, streets, points;
  std::vector<const Layer*> Layers() const { return {areas.get(), streets.get(), points.get()}; }
};

Scene MakeScene(double pointLimit = std::numeric_limits<double>::infinity()) {
  LayerStyle labelled;
  labelled.labelField = QStringLiteral("name");
  labelled.labelSize = 10;
  labelled.symbolSize = 12;
  labelled.symbolShape = QStringLiteral("sight");
  labelled.symbolColor = QColor(200, 40, 40);
  LayerStyle street = labelled;
  street.penColor = QColor(250, 160, 40, 140);  // translucent: a picture on screen
  street.penWidth = 6;
  LayerStyle area = labelled;
  area.brushColor = QColor(220, 235, 200);
  std::vector<FixtureFeature> points;
  for (int i = 0; i < 6; ++i)
    points.push_back({{{{i * 150.0 - 400, 120}}}, QStringLiteral("景点%1号").arg(i)});
  Scene scene{MakeLayer("areas", kFeatureRegion, {{{Square(0, -100, 300)}, "湖心区"}}, area),
              MakeLayer("streets", kFeatureLine, {{{{{-3000, 0}, {3000, 40}}}, "春秀街"}}, street),
              MakeLayer("points", kFeaturePoint, points, labelled)};
  scene.points->SetMaxVisibleWidth(pointLimit);
  return scene;
}

TEST(RenderVector, APdfHoldsShapesAndTextNotPictures) {
  const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
  if (pdftotext.isEmpty()) GTEST_SKIP() << "poppler-utils is not installed";
  QTemporaryDir dir;
  const QString path = dir.filePath("map.pdf");
  const Scene scene = MakeScene();
  RenderStats stats;
  {
    QPdfWriter writer(path);
    writer.setResolution(96);
    QPainter painter(&writer);
    stats = MapRenderer().Render(painter, scene.Layers(), kView);
  }
  ASSERT_GE(stats.labels.size(), 5u);
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray pdf = file.readAll();
  EXPECT_FALSE(pdf.contains("/Subtype /Image")) << "symbols, labels and translucent lines are shapes";
  EXPECT_TRUE(pdf.contains("/FontFile2")) << "the labels' font is embedded";
  EXPECT_LT(pdf.size(), 200 * 1024);  // the street, far longer than the view, is cut to it

  QProcess run;
  run.start(pdftotext, {path, "-"});
  ASSERT_TRUE(run.waitForFinished(30000));
  // Folded: the bare renderer's PDF names a glyph shared with a Kangxi radical by the radical.
  const QString text = QString::fromUtf8(run.readAllStandardOutput())
                           .normalized(QString::NormalizationForm_KC)
                           .remove(QRegularExpression("\\s"));
  for (const PlacedLabel& label : stats.labels)
    EXPECT_TRUE(text.contains(label.text)) << label.text.toStdString() << " not in " << text.toStdString();
}

TEST(RenderVector, DisplayLimitsHideLayersOnlyWhileTheyApply) {
  const struct {
    double pointLimit;
    bool displayLimits;
    int drawn;  // of the 2 + 6 features
  } cases[] = {
      {500, true, 2},
      {500, false, 8},
      {5000, true, 8},
  };
  for (const auto& c : cases) {
    const Scene scene = MakeScene(c.pointLimit);
    RenderOptions options;
    options.displayLimits = c.displayLimits;
    options.labels = false;
    QImage image(kView.Pixels(), QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    EXPECT_EQ(MapRenderer().Render(painter, scene.Layers(), kView, options).featuresDrawn, c.drawn)
        << c.pointLimit << " " << c.displayLimits;
  }
}

}  // namespace
