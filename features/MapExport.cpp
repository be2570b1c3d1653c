#include "features/MapExport.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <algorithm>
#include <cmath>

#include "features/CityLegend.h"
#include "map/Renderer.h"

namespace mapexport {

namespace {
constexpr double kScreenDpi = 96;  // the renderer's pixels are screen pixels of this density
constexpr double kPageDpi = 300;   // what a page picture aims at

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
              QSize pixels, QString& error) {
  if (pixels.width() < 1 || pixels.height() < 1 || pixels.width() > kMaxPixels ||
      pixels.height() > kMaxPixels) {
    error = QStringLiteral("图片的宽和高须在 1 到 %1 像素之间。").arg(kMaxPixels);
    return false;
  }
  const QImage image = RenderMap(bottomToTop, screen, pixels);
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

bool PaintPage(QPagedPaintDevice& device, const std::vector<const Layer*>& bottomToTop,
               const MapView& screen) {
  // The page's paintable area in device units, laid out in screen pixels so symbols and labels keep
  // their screen size on paper, and drawn at the page's own density (up to kPageDpi).
  const double deviceDpi = device.logicalDpiX();
  const QSize target(device.width(), device.height());
  const QSize pixels(std::max(1, int(std::lround(target.width() * kScreenDpi / deviceDpi))),
                     std::max(1, int(std::lround(target.height() * kScreenDpi / deviceDpi))));
  const QImage image = RenderMap(bottomToTop, screen, pixels, std::min(deviceDpi, kPageDpi) / kScreenDpi);
  if (image.isNull()) return false;
  QPainter painter;
  if (!painter.begin(&device)) return false;
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(QRect(QPoint(0, 0), target), image);
  return painter.end();
}

bool WritePdf(const QString& path, const std::vector<const Layer*>& bottomToTop, const MapView& screen,
              const QPageLayout& layout, QString& error) {
  QPdfWriter writer(path);
  writer.setCreator(QStringLiteral("栖坞"));
  writer.setResolution(int(kPageDpi));
  if (!writer.setPageLayout(layout)) {
    error = QStringLiteral("无效的页面设置。");
    return false;
  }
  if (!PaintPage(writer, bottomToTop, screen)) {
    error = QStringLiteral("无法写入文件：") + path;
    return false;
  }
  return true;
}

}  // namespace mapexport
