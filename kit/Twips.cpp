#include "kit/Twips.h"

#include <QVariant>
#include <QWidget>
#include <cmath>

namespace qiwu {
namespace {
constexpr const char* kTwipsProperty = "qiwuTwips";

double PixelsPerTwip(const QWidget* widget) {
  const int dpi = widget ? widget->logicalDpiX() : 96;
  return (dpi > 0 ? dpi : 96) / 1440.0;
}

void Apply(QWidget* widget, const QRect& twips) {
  widget->setProperty(kTwipsProperty, twips);
  const double scale = PixelsPerTwip(widget);
  auto px = [scale](int t) { return static_cast<int>(std::lround(t * scale)); };
  widget->setGeometry(px(twips.x()), px(twips.y()), px(twips.width()), px(twips.height()));
}
}  // namespace

int TwipsToPixels(int twips, const QWidget* widget) {
  return static_cast<int>(std::lround(twips * PixelsPerTwip(widget)));
}

QRect TwipsGeometry(const QWidget* widget) {
  const QVariant stored = widget->property(kTwipsProperty);
  if (stored.isValid()) return stored.toRect();
  const double scale = PixelsPerTwip(widget);
  const QRect g = widget->geometry();
  auto tw = [scale](int p) { return static_cast<int>(std::lround(p / scale)); };
  return QRect(tw(g.x()), tw(g.y()), tw(g.width()), tw(g.height()));
}

void SetTwipsGeometry(QWidget* widget, int left, int top, int width, int height) {
  Apply(widget, QRect(left, top, width, height));
}

void SetTwipsLeft(QWidget* widget, int left) {
  QRect r = TwipsGeometry(widget);
  r.moveLeft(left);
  Apply(widget, r);
}

void SetTwipsTop(QWidget* widget, int top) {
  QRect r = TwipsGeometry(widget);
  r.moveTop(top);
  Apply(widget, r);
}

void SetTwipsSize(QWidget* widget, int width, int height) {
  QRect r = TwipsGeometry(widget);
  r.setSize(QSize(width, height));
  Apply(widget, r);
}

int TwipsLeft(const QWidget* widget) { return TwipsGeometry(widget).x(); }
int TwipsTop(const QWidget* widget) { return TwipsGeometry(widget).y(); }
int TwipsWidth(const QWidget* widget) { return TwipsGeometry(widget).width(); }
int TwipsHeight(const QWidget* widget) { return TwipsGeometry(widget).height(); }

}  // namespace qiwu
