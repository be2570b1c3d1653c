#include "kit/ImageControl.h"

#include <QMouseEvent>
#include <QPainter>

namespace qiwu {

ImageControl::ImageControl(QWidget* parent) : QWidget(parent) { setMouseTracking(true); }

void ImageControl::SetPicture(const QPixmap& picture) {
  picture_ = picture;
  update();
}

void ImageControl::paintEvent(QPaintEvent*) {
  if (picture_.isNull()) return;
  QPainter painter(this);
  painter.drawPixmap(0, 0, picture_);
}

void ImageControl::mousePressEvent(QMouseEvent* event) { pressed_ = event->button() == Qt::LeftButton; }

// A click is a left press and release inside the control, like a button's.
void ImageControl::mouseReleaseEvent(QMouseEvent* event) {
  const bool click =
      pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  pressed_ = false;
  if (click) emit Click();
}

void ImageControl::mouseMoveEvent(QMouseEvent*) { emit MouseMove(); }

}  // namespace qiwu
