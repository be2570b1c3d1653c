#pragma once
// Places map labels without overlaps and draws them with a halo. Candidates are offered in priority
// order; each is placed at the first of its positions that collides with nothing placed before, or
// dropped. Everything is in screen pixels.
#include <QColor>
#include <QPainter>
#include <QPolygonF>
#include <QString>
#include <vector>

#include "map/render/LabelIndex.h"
#include "map/render/LabelSprites.h"
#include "map/render/TextPaths.h"

// A feature name beside its symbol: tried right, left, above, below and at the four corners.
struct PointLabel {
  QString text;
  LabelLook look;
  QPointF anchor;
  double gap = 0;  // from the anchor to the nearest edge of the text
};

// A street name along its line, letter by letter, upright; steep streets get their letters stacked.
struct LineLabel {
  QString text;
  LabelLook look;
  QPolygonF line;
};

// A region name centred on a point inside the region.
struct AreaLabel {
  QString text;
  LabelLook look;
  QPointF centre;
};

// The screen boxes one placed label occupies (one box per letter for line labels).
struct PlacedLabel {
  QString text;
  std::vector<QRectF> boxes;
};

class Labeler {
 public:
  // paths and sprites are caches kept by the caller between renderings.
  Labeler(QPainter& painter, TextPaths& paths, LabelSprites& sprites, QSize screen);

  // Space that labels must keep clear of (point symbols).
  void AddObstacle(const QRectF& box);

  // Each returns true when the label was placed and drawn.
  bool Place(const PointLabel& label);
  bool Place(const LineLabel& label);
  bool Place(const AreaLabel& label);

  const std::vector<PlacedLabel>& Placed() const { return placed_; }

 private:
  struct Letter {
    QString letter;
    TextPath path;  // a copy: later lookups may evict the cached one
    QPointF centre;
    double angle;  // degrees, clockwise on screen
  };
  bool TryLine(const LineLabel& label, const std::vector<double>& arc, double start,
               std::vector<Letter>& letters, std::vector<QRectF>& boxes);
  bool FitsScreen(const std::vector<QRectF>& boxes) const;
  bool RepeatsNearby(const QString& text, QPointF at, double distance) const;
  bool Accept(const QString& text, std::vector<QRectF> boxes);

  QPainter& painter_;
  TextPaths& paths_;
  LabelSprites& sprites_;
  QRectF screen_;
  LabelIndex index_;
  std::vector<PlacedLabel> placed_;
};
