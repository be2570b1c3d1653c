#include "bus/PanelColors.h"

#include <QPalette>
#include <QWidget>

#include "map/MapTypes.h"

namespace {
void SetRole(QWidget* widget, QPalette::ColorRole role, quint32 bgr) {
  QPalette palette = widget->palette();
  palette.setColor(role, ColorFromBGR(bgr));
  widget->setPalette(palette);
}
}  // namespace

void SetContainerColor(QWidget* widget, quint32 bgr) {
  SetRole(widget, QPalette::Window, bgr);
  widget->setAutoFillBackground(true);
}

void SetButtonColor(QWidget* button, quint32 bgr) { SetRole(button, QPalette::Button, bgr); }
