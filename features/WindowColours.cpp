#include "features/WindowColours.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

void UseWindowColours(std::initializer_list<QWidget*> controls) {
  const QPalette system = QApplication::palette();
  for (QWidget* control : controls) {
    // Roles set on the control itself are not overridden by the container's palette.
    QPalette palette = control->palette();
    // Boxes paint Base behind Text; labels that fill their background paint Window behind WindowText.
    palette.setColor(QPalette::Base, system.color(QPalette::Base));
    palette.setColor(QPalette::Text, system.color(QPalette::Text));
    palette.setColor(QPalette::Window, system.color(QPalette::Base));
    palette.setColor(QPalette::WindowText, system.color(QPalette::Text));
    control->setPalette(palette);
  }
}
