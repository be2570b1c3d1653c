// The main map exported: a PNG of the chosen size and a PDF page that pdftoppm renders, both
// showing the map.
#include <gtest/gtest.h>

#include <QImage>
#include <QPageSize>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cmath>

#include "features/MapExport.h"
#include "tests/features/PanelHarness.h"
#include "tests/support/CliRun.h"

namespace {

// Share of pixels that are not white: a blank export has none.
double InkShare(const QImage& image) {
  qsizetype inked = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) inked += image.pixelColor(x, y) != QColor(Qt::white);
  return double(inked) / (qsizetype(image.width()) * image.height());
}

TEST(MapExport, PngHasTheChosenSizeAndShowsTheMap) {
  PanelHarness h;
  QTemporaryDir dir;
  for (const QSize size : {QSize(320, 200), QSize(150, 400)}) {
    const QString path = dir.filePath(QStringLiteral("地图.png"));
    QString error;
    ASSERT_TRUE(mapexport::WritePng(path, h.Map1->LayersBottomToTop(), h.Map1->View(), size, error))
        << error.toStdString();
    const QImage image(path);
    EXPECT_EQ(image.size(), size);
    EXPECT_GT(InkShare(image), 0.2);
  }
}

TEST(MapExport, PngRefusesSizesOutOfRange) {
  PanelHarness h;
  QTemporaryDir dir;
  for (const QSize size : {QSize(0, 10), QSize(10, -1), QSize(mapexport::kMaxPixels + 1, 10)}) {
    QString error;
    EXPECT_FALSE(
        mapexport::WritePng(dir.filePath("x.png"), h.Map1->LayersBottomToTop(), h.Map1->View(), size, error));
    EXPECT_FALSE(error.isEmpty());
  }
}

TEST(MapExport, ExportShowsTheViewsExtentAroundItsCentre) {
  const MapView screen({100, 200}, 1000, QSize(400, 300));
  for (const QSize size : {QSize(800, 600), QSize(300, 600), QSize(1200, 300)}) {
    const MapView view = mapexport::ExportView(screen, size);
    EXPECT_EQ(view.Center(), screen.Center());
    const MapRect shown = view.Extent(), wanted = screen.Extent();
    EXPECT_LE(shown.minX, wanted.minX + 1e-6);
    EXPECT_LE(shown.minY, wanted.minY + 1e-6);
    EXPECT_TRUE(std::abs(view.Width() - screen.Width()) < 1e-6 ||
                std::abs(view.Height() - screen.Height()) < 1e-6);
  }
}

TEST(MapExport, PdfPageRendersInPdftoppmAtItsSize) {
  const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
  if (pdftoppm.isEmpty()) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
  PanelHarness h;
  QTemporaryDir dir;
  constexpr int kDpi = 30;
  for (const auto& [page, orientation] :
       {std::pair{QPageSize::A4, QPageLayout::Portrait}, std::pair{QPageSize::A5, QPageLayout::Landscape}}) {
    mappage::PageSetup setup;
    setup.paper = page;
    setup.orientation = orientation;
    const QPageLayout layout = setup.Layout();
    const QString pdf = dir.filePath(QStringLiteral("地图.pdf"));
    QString error;
    ASSERT_TRUE(mapexport::WritePdf(pdf, h.Map1->LayersBottomToTop(), h.Map1->View(), setup, error))
        << error.toStdString();
    const QString png = dir.filePath(QStringLiteral("page"));
    const CliRun run = RunProgram(pdftoppm, {"-r", QString::number(kDpi), "-png", "-singlefile", pdf, png});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QImage image(png + QStringLiteral(".png"));
    const QSizeF points = layout.fullRect(QPageLayout::Point).size();
    EXPECT_NEAR(image.width(), points.width() * kDpi / 72, 1.0);
    EXPECT_NEAR(image.height(), points.height() * kDpi / 72, 1.0);
    EXPECT_GT(InkShare(image), 0.04);  // the map, within the page's white margins and bands
  }
}

}  // namespace
