#include "map/render/MarkerBitmap.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

QImage MarkerBitmap(const QString& /*name*/, int sizePoints, qreal devicePixelRatio) {
  const double side = std::max(8.0, sizePoints * 4.0 / 3.0);
  const int pixels = int(std::ceil(side * devicePixelRatio));
  QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  image.setDevicePixelRatio(devicePixelRatio);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(side, side);  // drawn on the unit square

  // The pole runs down the left third; the cloth waves to the right across the middle.
  p.setPen(QPen(QColor(60, 40, 30), 0.09, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(0.22, 0.06), QPointF(0.22, 0.96));
  QPainterPath cloth;
  cloth.moveTo(0.24, 0.08);
  cloth.cubicTo(0.45, 0.0, 0.6, 0.22, 0.94, 0.14);
  cloth.lineTo(0.94, 0.64);
  cloth.cubicTo(0.6, 0.72, 0.45, 0.5, 0.24, 0.58);
  cloth.closeSubpath();
  p.setPen(QPen(Qt::white, 0.06));
  p.setBrush(QColor(230, 20, 20));
  p.drawPath(cloth);
  return image;
}
