#include "features/MapExport.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include "features/CityLegend.h"
#include "features/PdfTextMap.h"
#include "map/Renderer.h"

namespace mapexport {

namespace {
constexpr int kPdfDpi = 1200;        // the PDF's coordinate grid; its content is vectors
constexpr double kFrameMargin = 16;  // pixels around a framed PNG's page

// The legend of what the map draws in its lower right corner, in as few columns (two to four) as
// let it fit within 70% of the picture's width and height; left out when it does not fit.
void DrawCornerLegend(QPainter& painter, const std::vector<const Layer*>& bottomToTop, QSize pixels) {
  const std::vector<LegendEntry> entries = CityLegendEntries(bottomToTop);
  const int count = int(entries.size());
  for (int columns = 2; columns <= 4; ++columns) {
    const int rows = (count + columns - 1) / columns;
    const QSizeF size = LegendSize(count, rows);
    if (size.width() > pixels.width() * 0.7 || size.height() > pixels.height() * 0.7) continue;
    const QPointF corner(pixels.width() - size.width() - 8, pixels.height() - size.height() - 8);
    DrawLegend(painter, QRectF(corner, size), entries, rows);
    return;
  }
}
}  // namespace

MapView ExportView(const MapView& screen, QSize pixels) {
  MapView view(screen.Center(), screen.Width(), pixels);
  view.FitRect(screen.Extent());
  return view;
}

QImage RenderMap(const std::vector<const Layer*>& bottomToTop, const MapView& screen, QSize pixels,
                 qreal devicePixelRatio) {
  const QSize imagePixels(qRound(pixels.width() * devicePixelRatio),
                          qRound(pixels.height() * devicePixelRatio));
  QImage image(imagePixels, QImage::Format_ARGB32_Premultiplied);
  if (image.isNull()) return image;
  image.setDevicePixelRatio(devicePixelRatio);
  image.fill(Qt::white);
  QPainter painter(&image);
  MapRenderer().Render(painter, bottomToTop, ExportView(screen, pixels));
  DrawCornerLegend(painter, bottomToTop, pixels);
  return image;
}

bool WritePng(const QString& path, const std::vector<const Layer*>& bottomToTop, const MapView& screen,
              QSize pixels, QString& error, const mappage::PageSetup* frame) {
  if (pixels.width() < 1 || pixels.height() < 1 || pixels.width() > kMaxPixels ||
      pixels.height() > kMaxPixels) {
    error = QStringLiteral("图片的宽和高须在 1 到 %1 像素之间。").arg(kMaxPixels);
    return false;
  }
  QImage image;
  if (frame) {
    image = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
    if (!image.isNull()) {
      image.fill(Qt::white);
      QPainter painter(&image);
      const QRectF area = QRectF(QPointF(0, 0), QSizeF(pixels))
                              .adjusted(kFrameMargin, kFrameMargin, -kFrameMargin, -kFrameMargin);
      mappage::PaintPage(painter, area, bottomToTop, screen, *frame);
    }
  } else {
    image = RenderMap(bottomToTop, screen, pixels);
  }
  if (image.isNull()) {
    error = QStringLiteral("内存不足，无法生成这样大的图片。");
    return false;
  }
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
    error = file.errorString();
    return false;
  }
  return true;
}

bool WritePdf(const QString& path, const std::vector<const Layer*>& bottomToTop, const MapView& screen,
              const mappage::PageSetup& setup, QString& error) {
  QBuffer page;
  page.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&page);
    writer.setCreator(QStringLiteral("栖坞"));
    writer.setTitle(setup.title);
    writer.setResolution(kPdfDpi);
    if (!writer.setPageLayout(setup.Layout())) {
      error = QStringLiteral("无效的页面设置。");
      return false;
    }
    if (!mappage::PaintOnDevice(writer, bottomToTop, screen, setup)) {
      error = QStringLiteral("内存不足，无法生成这页 PDF。");
      return false;
    }
  }
  QByteArray pdf = page.data();
  mappage::FoldRadicalsInTextMaps(pdf);
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(pdf) != pdf.size() || !file.commit()) {
    error = QStringLiteral("无法写入文件：") + path;
    return false;
  }
  return true;
}

}  // namespace mapexport
