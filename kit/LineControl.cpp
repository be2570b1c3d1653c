#include "kit/LineControl.h"

#include <QPainter>
#include <algorithm>

#include "kit/Colors.h"
#include "kit/Twips.h"

namespace qiwu {

LineControl::LineControl(QWidget* parent, int x1, int y1, int x2, int y2, quint32 bgrColor)
    : QWidget(parent), x1_(x1), y1_(y1), x2_(x2), y2_(y2), color_(bgrColor) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  Place();
  lower();
}

void LineControl::SetY2(int twips) { y2_ = twips, Place(); }

// The widget covers the line's bounding box plus one pixel, so a vertical or horizontal line
// still has an area to paint in.
void LineControl::Place() {
  const int onePixel = 1440 / std::max(1, logicalDpiX());
  SetTwipsGeometry(this, std::min(x1_, x2_), std::min(y1_, y2_), std::abs(x2_ - x1_) + onePixel,
                   std::abs(y2_ - y1_) + onePixel);
  update();
}

void LineControl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(QPen(qiwu::ColorFromBGR(color_), 1));
  const int left = std::min(x1_, x2_), top = std::min(y1_, y2_);
  auto px = [this](int t) { return TwipsToPixels(t, this); };
  painter.drawLine(px(x1_ - left), px(y1_ - top), px(x2_ - left), px(y2_ - top));
}

}  // namespace qiwu
