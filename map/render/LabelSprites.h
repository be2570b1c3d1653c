#pragma once
// Finished label images: a text outline with its halo, rendered once per text, look and angle and
// then copied onto the map. Stroking a halo around glyph outlines is by far the dearest step of
// labelling; the same names come back at every redraw of a pan or zoom. Sizes are pixels.
#include <QCache>
#include <QImage>
#include <QPainter>
#include <QString>

#include "map/render/TextPaths.h"

struct LabelLook {
  int pixelSize = 12;
  QColor color = Qt::black;
  QColor halo = Qt::white;   // invalid: no halo
  double letterSpacing = 0;  // extra pixels between letters
};

class LabelSprites {
 public:
  // Draws text (outline: its outline as TextPaths gives it) centred on centre, turned by angle degrees
  // clockwise, in the look's colour over its halo. A vector painter gets the halo as a shape and the
  // text as text, not a picture.
  void Draw(QPainter& painter, const QString& text, const TextPath& outline, const LabelLook& look,
            QPointF centre, double angle);

 private:
  struct Sprite {
    QImage image;
    QPointF centre;  // the text's centre inside the image, device-independent pixels
  };
  QCache<QString, Sprite> sprites_{32 * 1024};  // cost in kilobytes
};
