#include "kit/Colors.h"

#include <QApplication>
#include <QPalette>
#include <QVariant>
#include <QWidget>

namespace qiwu {
namespace {
constexpr const char* kForeColorProperty = "qiwuForeColor";

void SetRoles(QWidget* widget, std::initializer_list<QPalette::ColorRole> roles, const QColor& color) {
  QPalette palette = widget->palette();
  for (QPalette::ColorRole role : roles) palette.setColor(role, color);
  widget->setPalette(palette);
}
}  // namespace

void SetForeColor(QWidget* widget, quint32 bgr) {
  widget->setProperty(kForeColorProperty, bgr);
  SetRoles(widget, {QPalette::WindowText, QPalette::Text}, ColorFromBGR(bgr));
}

quint32 ForeColor(const QWidget* widget) { return widget->property(kForeColorProperty).toUInt(); }

void SetBackColor(QWidget* widget, quint32 bgr) {
  SetRoles(widget, {QPalette::Window, QPalette::Base}, ColorFromBGR(bgr));
  widget->setAutoFillBackground(true);
}

void SetContainerColor(QWidget* widget, quint32 bgr) {
  SetRoles(widget, {QPalette::Window}, ColorFromBGR(bgr));
  widget->setAutoFillBackground(true);
}

void SetButtonColor(QWidget* button, quint32 bgr) { SetRoles(button, {QPalette::Button}, ColorFromBGR(bgr)); }

void UseWindowColors(std::initializer_list<QWidget*> controls) {
  const QPalette system = QApplication::palette();
  for (QWidget* control : controls) {
    // Roles set on the control itself are not overridden by the container's palette.
    // Boxes paint Base behind Text; labels that fill their background paint Window behind WindowText.
    SetRoles(control, {QPalette::Base, QPalette::Window}, system.color(QPalette::Base));
    SetRoles(control, {QPalette::Text, QPalette::WindowText}, system.color(QPalette::Text));
  }
}

}  // namespace qiwu
