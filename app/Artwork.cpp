#include "app/Artwork.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QSvgRenderer>
#include <array>

// The resource is compiled into this static library, whose initialiser the linker would drop.
static void InitArtResource() { Q_INIT_RESOURCE(art); }

namespace qiwu {
namespace {

double DeviceRatio() { return qApp ? qApp->devicePixelRatio() : 1.0; }

QPixmap NewPixmap(QSize logical) {
  QPixmap pixmap(logical * DeviceRatio());
  pixmap.setDevicePixelRatio(DeviceRatio());
  pixmap.fill(Qt::transparent);
  return pixmap;
}

void DrawSvg(QPainter& painter, const QString& resource, const QRectF& target) {
  QSvgRenderer renderer(resource);
  renderer.render(&painter, target);
}

// A released button is a light, slightly raised tile; a pressed one is sunk in blue with its
// glyph shifted by one pixel, so the active tool stands out at a glance.
QPixmap ButtonPicture(const QString& glyph, int side, bool pressed) {
  QPixmap pixmap = NewPixmap(QSize(side, side));
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF tile(0.5, 0.5, side - 1.0, side - 1.0);
  QLinearGradient fill(0, 0, 0, side);
  fill.setColorAt(0, pressed ? QColor(0xc4, 0xda, 0xf3) : QColor(0xfd, 0xfd, 0xfe));
  fill.setColorAt(1, pressed ? QColor(0xa9, 0xc8, 0xec) : QColor(0xe4, 0xe9, 0xf0));
  painter.setBrush(fill);
  painter.setPen(QPen(pressed ? QColor(0x3d, 0x78, 0xc2) : QColor(0xb3, 0xbd, 0xc8), 1));
  painter.drawRoundedRect(tile, 4, 4);
  const double margin = side * 0.17, shift = pressed ? 1.0 : 0.0;
  DrawSvg(painter, glyph, QRectF(margin + shift, margin + shift, side - 2 * margin, side - 2 * margin));
  return pixmap;
}

}  // namespace

ImageList MakeToolImages(int buttonPixels) {
  static const std::array<const char*, 9> kTools = {"pointer", "zoomin", "zoomout", "pan",   "all",
                                                    "ruler",   "point",  "radsel",  "winsel"};
  InitArtResource();
  ImageList images;
  for (const char* tool : kTools) {
    const QString glyph = QStringLiteral(":/art/%1.svg").arg(QLatin1String(tool));
    images.Add(QLatin1String(tool) + QLatin1Char('1'), ButtonPicture(glyph, buttonPixels, false));
    images.Add(QLatin1String(tool) + QLatin1Char('2'), ButtonPicture(glyph, buttonPixels, true));
  }
  QPixmap hand = NewPixmap(QSize(32, 32));
  QPainter painter(&hand);
  painter.setRenderHint(QPainter::Antialiasing);
  DrawSvg(painter, QStringLiteral(":/art/hand.svg"), QRectF(0, 0, 32, 32));
  painter.end();
  images.Add(QStringLiteral("Hand"), hand);
  return images;
}

QCursor HandCursor(const ImageList& images) { return QCursor(images.Picture(QStringLiteral("Hand")), 12, 3); }

QPixmap MakeTabPicture(const QString& label, QSize pixels) {
  QPixmap pixmap = NewPixmap(pixels);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF tab(0.5, 0.5, pixels.width() - 1.0, pixels.height() - 1.0);
  QLinearGradient fill(0, 0, 0, pixels.height());
  fill.setColorAt(0, QColor(0x4f, 0x8c, 0xd6));
  fill.setColorAt(0.5, QColor(0x2f, 0x6d, 0xbd));
  fill.setColorAt(1, QColor(0x24, 0x5a, 0xa3));
  painter.setBrush(fill);
  painter.setPen(QPen(QColor(0x1b, 0x47, 0x82), 1));
  painter.drawRoundedRect(tab, 4, 4);

  // A small chevron on the left says "this opens"; the label sits in the middle.
  const double h = pixels.height();
  QPainterPath chevron;
  chevron.moveTo(10, h * 0.36);
  chevron.lineTo(15, h * 0.5);
  chevron.lineTo(10, h * 0.64);
  painter.setPen(QPen(QColor(0xe8, 0xf1, 0xfc), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(chevron);

  QFont font = painter.font();
  font.setPixelSize(qRound(h * 0.5));
  font.setBold(true);
  font.setLetterSpacing(QFont::AbsoluteSpacing, 2);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(tab, Qt::AlignCenter, label);
  return pixmap;
}

}  // namespace qiwu
