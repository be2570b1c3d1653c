#include "map/render/LabelSprites.h"

#include <algorithm>
#include <cmath>

#include "map/render/PaintTarget.h"

namespace {

double HaloWidth(const LabelLook& look) { return std::max(2.5, look.pixelSize / 4.5); }

QPen HaloPen(const LabelLook& look) {
  return QPen(look.halo, HaloWidth(look), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void DrawVectorLabel(QPainter& painter, const QString& text, const TextPath& outline, const LabelLook& look,
                     QPointF centre, double angle) {
  painter.save();
  painter.translate(centre);
  painter.rotate(angle);
  painter.translate(-outline.width / 2, 0);
  if (look.halo.isValid()) painter.strokePath(outline.path, HaloPen(look));
  painter.setPen(look.color);
  painter.setFont(LabelFont(look.pixelSize, look.letterSpacing));
  painter.drawText(QPointF(0, LabelBaseline(look.pixelSize)), text);
  painter.restore();
}

}  // namespace

void LabelSprites::Draw(QPainter& painter, const QString& text, const TextPath& outline,
                        const LabelLook& look, QPointF centre, double angle) {
  if (PaintsVectors(painter)) {
    DrawVectorLabel(painter, text, outline, look, centre, angle);
    return;
  }
  const int degrees = int(std::lround(angle)) % 360;
  const qreal ratio = painter.device() ? painter.device()->devicePixelRatio() : 1.0;
  const QString spriteKey = QStringLiteral("%1|%2|%3|%4|%5|%6|%7")
                                .arg(look.letterSpacing)
                                .arg(look.pixelSize)
                                .arg(look.color.rgba())
                                .arg(look.halo.isValid() ? look.halo.rgba() : 0)
                                .arg(degrees)
                                .arg(ratio)
                                .arg(text);  // last: a % in it is not taken for a place holder
  Sprite* sprite = sprites_.object(spriteKey);
  if (!sprite) {
    QTransform turn;
    turn.rotate(degrees);
    turn.translate(-outline.width / 2, 0);
    const QPainterPath path = turn.map(outline.path);
    const double margin = HaloWidth(look) / 2 + 1;
    const QRectF bounds = path.boundingRect().adjusted(-margin, -margin, margin, margin);
    sprite = new Sprite{
        QImage((bounds.size() * ratio).toSize() + QSize(1, 1), QImage::Format_ARGB32_Premultiplied),
        -bounds.topLeft()};
    sprite->image.setDevicePixelRatio(ratio);
    sprite->image.fill(Qt::transparent);
    QPainter p(&sprite->image);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(sprite->centre);
    if (look.halo.isValid()) {
      p.strokePath(path, HaloPen(look));
    }
    p.fillPath(path, look.color);
    p.end();
    const int kilobytes = int(sprite->image.sizeInBytes() / 1024) + 1;
    sprites_.insert(spriteKey, sprite, kilobytes);
    sprite = sprites_.object(spriteKey);
    if (!sprite) return;  // larger than the whole cache: not drawn rather than drawn slowly every time
  }
  // Whole device pixels: the sprite is copied, not resampled.
  const QPointF topLeft = centre - sprite->centre;
  painter.drawImage(QPointF(std::round(topLeft.x() * ratio) / ratio, std::round(topLeft.y() * ratio) / ratio),
                    sprite->image);
}
