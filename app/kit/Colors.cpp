#include "app/kit/Colors.h"

#include <QPalette>
#include <QVariant>
#include <QWidget>

#include "map/MapTypes.h"

namespace qiwu {
namespace {
constexpr const char* kForeColorProperty = "qiwuForeColor";
}

void SetForeColor(QWidget* widget, quint32 bgr) {
  widget->setProperty(kForeColorProperty, bgr);
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, ColorFromBGR(bgr));
  palette.setColor(QPalette::Text, ColorFromBGR(bgr));
  widget->setPalette(palette);
}

quint32 ForeColor(const QWidget* widget) { return widget->property(kForeColorProperty).toUInt(); }

void SetBackColor(QWidget* widget, quint32 bgr) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, ColorFromBGR(bgr));
  palette.setColor(QPalette::Base, ColorFromBGR(bgr));
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

}  // namespace qiwu
