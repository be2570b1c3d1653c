#include "map/render/Labeler.h"

#include <QLineF>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kHaloMargin = 1.5;    // pixels kept clear around the glyphs
constexpr double kMaxLetterBend = 30;  // degrees between neighbouring letters of a street name
constexpr double kSteepSlope = 1.7;    // |dy| / |dx| above which letters stand upright, stacked
constexpr double kStreetRepeat = 360;  // pixels between repeated names along one long street

double AngleBetween(double a, double b) {
  const double d = std::fmod(std::abs(a - b), 360.0);
  return d > 180 ? 360 - d : d;
}

// Cumulative lengths along the polyline, arc[i] at vertex i.
std::vector<double> ArcLengths(const QPolygonF& line) {
  std::vector<double> arc(line.size(), 0.0);
  for (qsizetype i = 1; i < line.size(); ++i) arc[i] = arc[i - 1] + QLineF(line[i - 1], line[i]).length();
  return arc;
}

QPointF PointAt(const QPolygonF& line, const std::vector<double>& arc, double s) {
  const auto upper = std::upper_bound(arc.begin(), arc.end(), s);
  const size_t i = std::clamp<size_t>(upper - arc.begin(), 1, arc.size() - 1);
  const double length = arc[i] - arc[i - 1];
  const double t = length > 0 ? std::clamp((s - arc[i - 1]) / length, 0.0, 1.0) : 0.0;
  return line[i - 1] + (line[i] - line[i - 1]) * t;
}

}  // namespace

Labeler::Labeler(QPainter& painter, TextPaths& paths, LabelSprites& sprites, QSize screen)
    : painter_(painter),
      paths_(paths),
      sprites_(sprites),
      screen_(QPointF(0, 0), QSizeF(screen)),
      index_(screen) {}

void Labeler::AddObstacle(const QRectF& box) { index_.Insert(box); }

bool Labeler::FitsScreen(const std::vector<QRectF>& boxes) const {
  return std::all_of(boxes.begin(), boxes.end(), [&](const QRectF& b) { return screen_.contains(b); });
}

bool Labeler::RepeatsNearby(const QString& text, QPointF at, double distance) const {
  for (const PlacedLabel& p : placed_) {
    if (p.text != text) continue;
    const QPointF centre = (p.boxes.front().center() + p.boxes.back().center()) / 2;
    if (QLineF(centre, at).length() < distance) return true;
  }
  return false;
}

bool Labeler::Accept(const QString& text, std::vector<QRectF> boxes) {
  if (!FitsScreen(boxes) || index_.CollidesAny(boxes)) return false;
  for (const QRectF& b : boxes) index_.Insert(b);
  placed_.push_back({text, std::move(boxes)});
  return true;
}

bool Labeler::Place(const PointLabel& label) {
  const TextPath& text = paths_.Get(label.text, label.look.pixelSize, label.look.letterSpacing);
  const double w = text.width, h = text.height, g = label.gap, d = g * 0.7;
  const QPointF a = label.anchor;
  // Top-left corners of the text: right, left, above, below, then the four corners.
  const QPointF corners[] = {{a.x() + g, a.y() - h / 2},     {a.x() - g - w, a.y() - h / 2},
                             {a.x() - w / 2, a.y() - g - h}, {a.x() - w / 2, a.y() + g},
                             {a.x() + d, a.y() - d - h},     {a.x() + d, a.y() + d},
                             {a.x() - d - w, a.y() - d - h}, {a.x() - d - w, a.y() + d}};
  for (const QPointF& topLeft : corners) {
    const QRectF box =
        QRectF(topLeft, QSizeF(w, h)).adjusted(-kHaloMargin, -kHaloMargin, kHaloMargin, kHaloMargin);
    if (!Accept(label.text, {box})) continue;
    sprites_.Draw(painter_, label.text, text, label.look, topLeft + QPointF(w / 2, h / 2), 0);
    return true;
  }
  return false;
}

bool Labeler::Place(const AreaLabel& label) {
  const TextPath& text = paths_.Get(label.text, label.look.pixelSize, label.look.letterSpacing);
  const QPointF topLeft = label.centre - QPointF(text.width / 2, text.height / 2);
  const QRectF box = QRectF(topLeft, QSizeF(text.width, text.height))
                         .adjusted(-kHaloMargin, -kHaloMargin, kHaloMargin, kHaloMargin);
  if (!Accept(label.text, {box})) return false;
  sprites_.Draw(painter_, label.text, text, label.look, label.centre, 0);
  return true;
}

bool Labeler::TryLine(const LineLabel& label, const std::vector<double>& arc, double start,
                      std::vector<Letter>& letters, std::vector<QRectF>& boxes) {
  const QPolygonF& line = label.line;
  double length = 0;
  for (const Letter& l : letters) length += l.path.width;
  length += label.look.letterSpacing * double(letters.size() - 1);

  const QPointF span = PointAt(line, arc, start + length) - PointAt(line, arc, start);
  // A street bending too much under its name is left for another spot.
  if (std::hypot(span.x(), span.y()) < 0.85 * length) return false;
  const bool steep = std::abs(span.y()) > kSteepSlope * std::abs(span.x());
  // Letters run left to right, or top to bottom on steep streets: walk the line backwards if needed.
  const bool reversed = steep ? span.y() < 0 : span.x() < 0;

  boxes.clear();
  double offset = 0;
  double previousAngle = 0;
  for (size_t i = 0; i < letters.size(); ++i) {
    const double a = letters[i].path.width;
    const double s0 = reversed ? start + length - offset - a : start + offset;
    offset += a + label.look.letterSpacing;
    QPointF from = PointAt(line, arc, s0), to = PointAt(line, arc, s0 + a);
    if (reversed) std::swap(from, to);
    double angle = std::atan2(to.y() - from.y(), to.x() - from.x()) * 180 / std::numbers::pi;
    if (i > 0 && !steep && AngleBetween(angle, previousAngle) > kMaxLetterBend) return false;
    previousAngle = angle;
    if (steep) angle = 0;
    letters[i].centre = (from + to) / 2;
    letters[i].angle = angle;
    const double radians = angle * std::numbers::pi / 180;
    const double side = std::max(a, letters[i].path.height) + 2 * kHaloMargin;
    const double half = side / 2 * (std::abs(std::cos(radians)) + std::abs(std::sin(radians)));
    boxes.emplace_back(letters[i].centre - QPointF(half, half), QSizeF(2 * half, 2 * half));
  }
  return FitsScreen(boxes) && !index_.CollidesAny(boxes);
}

bool Labeler::Place(const LineLabel& label) {
  if (label.line.size() < 2 || label.text.isEmpty()) return false;
  std::vector<Letter> letters;
  for (const uint code : label.text.toUcs4()) {
    const char32_t c = code;
    const QString letter = QString::fromUcs4(&c, 1);
    letters.push_back({letter, paths_.Get(letter, label.look.pixelSize), {}, 0});
  }
  double length = label.look.letterSpacing * double(letters.size() - 1);
  for (const Letter& l : letters) length += l.path.width;
  const std::vector<double> arc = ArcLengths(label.line);
  const double total = arc.back();
  if (total < length + 8) return false;

  // Centres tried: the middle, then every kStreetRepeat pixels both ways; each shifted a little if blocked.
  std::vector<double> centres{total / 2};
  for (double d = kStreetRepeat; d < total / 2; d += kStreetRepeat) {
    centres.push_back(total / 2 - d);
    centres.push_back(total / 2 + d);
  }
  const double shifts[] = {0, -0.6 * length, 0.6 * length, -1.2 * length, 1.2 * length};
  bool any = false;
  std::vector<QRectF> boxes;
  for (const double centre : centres) {
    for (const double shift : shifts) {
      const double start = centre + shift - length / 2;
      if (start < 2 || start + length > total - 2) continue;
      if (RepeatsNearby(label.text, PointAt(label.line, arc, start + length / 2), kStreetRepeat * 0.8)) break;
      if (!TryLine(label, arc, start, letters, boxes)) continue;
      for (const QRectF& b : boxes) index_.Insert(b);
      placed_.push_back({label.text, boxes});
      for (const Letter& l : letters) {
        sprites_.Draw(painter_, l.letter, l.path, label.look, l.centre, l.angle);
      }
      any = true;
      break;
    }
  }
  return any;
}
