#include "map/render/SymbolPainter.h"

#include <QPainterPath>
#include <cmath>
#include <numbers>

#include "map/render/PaintTarget.h"

namespace {

// Pictograms are designed on the square [-1, 1]² (y down) and scaled by half the symbol size.
QPainterPath Star(double outer, double inner) {
  QPainterPath path;
  for (int i = 0; i < 10; ++i) {
    const double angle = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
    const double radius = i % 2 == 0 ? outer : inner;
    const QPointF p(radius * std::cos(angle), radius * std::sin(angle));
    i == 0 ? path.moveTo(p) : path.lineTo(p);
  }
  path.closeSubpath();
  return path;
}

QPainterPath Plus(double arm, double half) {
  QPainterPath path;
  path.addRect(QRectF(-half, -arm, 2 * half, 2 * arm));
  path.addRect(QRectF(-arm, -half, 2 * arm, 2 * half));
  return path.simplified();
}

QPainterPath BaseShape(const QString& shape) {
  QPainterPath path;
  if (shape == "square") {
    path.addRect(QRectF(-0.85, -0.85, 1.7, 1.7));
  } else if (shape == "bus" || shape == "hospital") {
    path.addRoundedRect(QRectF(-0.9, -0.9, 1.8, 1.8), 0.3, 0.3);
  } else if (shape == "triangle") {
    path.addPolygon(QPolygonF({{0, -1}, {0.95, 0.75}, {-0.95, 0.75}, {0, -1}}));
  } else if (shape == "diamond") {
    path.addPolygon(QPolygonF({{0, -1}, {1, 0}, {0, 1}, {-1, 0}, {0, -1}}));
  } else if (shape == "star") {
    path = Star(1.0, 0.45);
  } else if (shape == "cross") {
    path = Plus(0.95, 0.32);
  } else {
    path.addEllipse(QPointF(0, 0), 0.95, 0.95);
  }
  return path;
}

// White pictograms on the base of the point-of-interest classes: a filled part and a stroked part.
struct Pictogram {
  QPainterPath fill;
  QPainterPath stroke;
  QPainterPath cutout;  // painted in the base colour over the fill
};

Pictogram BusPictogram() {
  Pictogram p;
  p.fill.addRoundedRect(QRectF(-0.55, -0.68, 1.1, 1.2), 0.18, 0.18);
  p.fill.addRect(QRectF(-0.5, 0.45, 0.22, 0.25));
  p.fill.addRect(QRectF(0.28, 0.45, 0.22, 0.25));
  p.cutout.addRect(QRectF(-0.4, -0.5, 0.8, 0.5));
  p.cutout.addEllipse(QPointF(-0.3, 0.25), 0.09, 0.09);
  p.cutout.addEllipse(QPointF(0.3, 0.25), 0.09, 0.09);
  return p;
}

Pictogram BankPictogram() {
  Pictogram p;
  p.stroke.moveTo(-0.42, -0.58);
  p.stroke.lineTo(0, -0.02);
  p.stroke.lineTo(0.42, -0.58);
  p.stroke.moveTo(0, -0.02);
  p.stroke.lineTo(0, 0.62);
  p.stroke.moveTo(-0.36, 0.1);
  p.stroke.lineTo(0.36, 0.1);
  p.stroke.moveTo(-0.36, 0.36);
  p.stroke.lineTo(0.36, 0.36);
  return p;
}

Pictogram CollegePictogram() {
  Pictogram p;
  p.fill.addPolygon(QPolygonF({{-0.75, -0.15}, {0, -0.52}, {0.75, -0.15}, {0, 0.22}, {-0.75, -0.15}}));
  p.fill.moveTo(-0.42, 0.06);
  p.fill.lineTo(0, 0.27);
  p.fill.lineTo(0.42, 0.06);
  p.fill.lineTo(0.42, 0.42);
  p.fill.quadTo(0, 0.62, -0.42, 0.42);
  p.fill.closeSubpath();
  p.stroke.moveTo(0.62, -0.1);
  p.stroke.lineTo(0.62, 0.45);
  return p;
}

Pictogram DiningPictogram() {
  Pictogram p;
  // Fork: three tines joined above the handle.
  for (double x : {-0.52, -0.36, -0.2}) {
    p.stroke.moveTo(x, -0.62);
    p.stroke.lineTo(x, -0.22);
  }
  p.stroke.moveTo(-0.52, -0.22);
  p.stroke.quadTo(-0.36, 0.02, -0.2, -0.22);
  p.stroke.moveTo(-0.36, -0.08);
  p.stroke.lineTo(-0.36, 0.65);
  // Knife: a blade on the right of its handle.
  p.fill.moveTo(0.26, -0.65);
  p.fill.quadTo(0.6, -0.35, 0.48, 0.05);
  p.fill.lineTo(0.26, 0.05);
  p.fill.closeSubpath();
  p.stroke.moveTo(0.32, 0.0);
  p.stroke.lineTo(0.32, 0.65);
  return p;
}

Pictogram ClassPictogram(const QString& shape) {
  if (shape == "bus") return BusPictogram();
  if (shape == "bank") return BankPictogram();
  if (shape == "college") return CollegePictogram();
  if (shape == "dining") return DiningPictogram();
  Pictogram p;
  if (shape == "hospital") p.fill = Plus(0.62, 0.19);
  if (shape == "sight") p.fill = Star(0.68, 0.29);
  return p;
}

}  // namespace

void DrawSymbol(QPainter& painter, const SymbolLook& def) {
  const double r = def.size / 2;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(r, r);
  // Pens are given in pixels and scaled back into the unit square.
  const double outlineWidth = std::max(1.0, def.size / 12) / r;
  painter.setPen(def.outline.isValid() ? QPen(def.outline, outlineWidth) : QPen(Qt::NoPen));
  painter.setBrush(def.fill);
  painter.drawPath(BaseShape(def.shape));

  const Pictogram pictogram = ClassPictogram(def.shape);
  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::white);
  painter.drawPath(pictogram.fill);
  painter.setBrush(def.fill);
  painter.drawPath(pictogram.cutout);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(Qt::white, std::max(1.1, def.size / 10) / r, Qt::SolidLine, Qt::RoundCap));
  painter.drawPath(pictogram.stroke);
  painter.restore();
}

const QImage& SymbolSprites::Get(const SymbolLook& def, qreal devicePixelRatio) {
  for (const Entry& e : sprites_) {
    if (e.ratio == devicePixelRatio && e.def == def) return e.image;
  }
  const int side = int(std::ceil((def.size + 4) * devicePixelRatio));
  QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  image.setDevicePixelRatio(devicePixelRatio);
  {
    QPainter p(&image);
    p.translate(side / devicePixelRatio / 2, side / devicePixelRatio / 2);
    DrawSymbol(p, def);
  }
  sprites_.push_back({def, devicePixelRatio, image});
  return sprites_.back().image;
}

void SymbolSprites::Draw(QPainter& painter, const SymbolLook& def, QPointF centre) {
  if (PaintsVectors(painter)) {
    painter.save();
    painter.translate(centre);
    DrawSymbol(painter, def);
    painter.restore();
    return;
  }
  const qreal ratio = painter.device() ? painter.device()->devicePixelRatio() : 1.0;
  const QImage& image = Get(def, ratio);
  const QSizeF logical = image.deviceIndependentSize();
  // Whole-pixel positions let the raster engine copy the sprite without resampling.
  painter.drawImage(
      QPointF(std::round(centre.x() - logical.width() / 2), std::round(centre.y() - logical.height() / 2)),
      image);
}
