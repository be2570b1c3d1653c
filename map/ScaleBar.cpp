#include "map/ScaleBar.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "map/MapView.h"
#include "map/render/PaintTarget.h"

namespace {

constexpr double kMaxBarPixels = 120;
constexpr int kMargin = 12, kTick = 5, kMinSurface = 80;

}  // namespace

double ScaleBarLength(double metresPerPixel, double maxPixels) {
  const double longest = metresPerPixel * maxPixels;
  if (!(longest > 0) || !std::isfinite(longest)) return 0;
  double decade = std::pow(10.0, std::floor(std::log10(longest)));
  // log10 may land a hair below an exact power of ten.
  if (decade * 10 <= longest) decade *= 10;
  return longest >= 5 * decade ? 5 * decade : longest >= 2 * decade ? 2 * decade : decade;
}

QString ScaleBarLabel(double metres) {
  if (metres >= 1000) return QString::number(metres / 1000, 'g', 12) + QStringLiteral(" 公里");
  return QString::number(metres, 'g', 12) + QStringLiteral(" 米");
}

void DrawScaleBar(QPainter& painter, const MapView& view) {
  const QSize surface = view.Pixels();
  if (surface.width() < kMinSurface || surface.height() < kMinSurface) return;
  const double metres = ScaleBarLength(view.PixelSize(), std::min(kMaxBarPixels, surface.width() / 3.0));
  if (metres <= 0) return;
  const double length = metres / view.PixelSize();
  const QPointF left(kMargin, surface.height() - kMargin);
  const QPointF right = left + QPointF(length, 0);

  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  QPainterPath bar;
  bar.moveTo(left - QPointF(0, kTick));
  bar.lineTo(left);
  bar.lineTo(right);
  bar.lineTo(right - QPointF(0, kTick));
  painter.strokePath(bar, QPen(QColor(255, 255, 255, 220), 4, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
  painter.strokePath(bar, QPen(QColor(40, 40, 40), 1.5, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));

  QFont font = painter.font();
  font.setPixelSize(11);
  const QString label = ScaleBarLabel(metres);
  QPainterPath text;
  text.addText(left + QPointF(2, -kTick - 3), font, label);
  painter.strokePath(text, QPen(QColor(255, 255, 255, 220), 3));
  if (PaintsVectors(painter)) {
    // On a page the label is text, to be found and copied.
    painter.setFont(font);
    painter.setPen(QColor(40, 40, 40));
    painter.drawText(left + QPointF(2, -kTick - 3), label);
  } else {
    painter.fillPath(text, QColor(40, 40, 40));
  }
  painter.restore();
}
