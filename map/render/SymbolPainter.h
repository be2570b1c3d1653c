#pragma once
// Point symbols drawn by code: a coloured base (circle, square, ...) and, for the point-of-interest
// classes (bus, bank, hospital, college, dining, sight), a white pictogram on it.
// Sizes are device-independent pixels; positions are screen pixels.
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QString>
#include <deque>

struct SymbolLook {
  QString shape;  // one of SymbolShapes(); anything else draws a circle
  double size = 8;
  QColor fill;
  QColor outline;  // invalid: no outline

  bool operator==(const SymbolLook&) const = default;
};

// Draws the symbol centred on (0, 0) with the painter's current transform.
void DrawSymbol(QPainter& painter, const SymbolLook& def);

// The symbol as a premultiplied image of (size + margin) pixels at the given device pixel ratio,
// centred in the image. The cache owns the images; a reference stays valid until the cache is cleared.
class SymbolSprites {
 public:
  const QImage& Get(const SymbolLook& def, qreal devicePixelRatio);
  // Draws the cached sprite centred on the point (screen pixels); on a vector painter, the symbol itself.
  void Draw(QPainter& painter, const SymbolLook& def, QPointF centre);

 private:
  struct Entry {
    SymbolLook def;
    qreal ratio;
    QImage image;
  };
  // A handful of styles per map: a linear scan is the fastest lookup; a deque keeps references valid.
  std::deque<Entry> sprites_;
};
