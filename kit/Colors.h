#pragma once
// Control colours as 0x00BBGGRR values (0 black, 255 red, 0xFF0000 blue).
#include <QColor>
#include <initializer_list>

class QWidget;

namespace qiwu {

inline QColor ColorFromBGR(quint32 bgr) {
  return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

// The fore colour is kept on the control, so it reads back exactly.
void SetForeColor(QWidget* widget, quint32 bgr);
quint32 ForeColor(const QWidget* widget);  // 0 (black) when never set
// The background of a control or a box (both the window and the text box roles).
void SetBackColor(QWidget* widget, quint32 bgr);

// Only the one palette role is set, so that the text boxes inside a grey container stay white.
void SetContainerColor(QWidget* widget, quint32 bgr);  // a window, frame or panel
void SetButtonColor(QWidget* button, quint32 bgr);

// Input controls and value boxes keep the system's window colours (the text box background
// behind the window text) whatever background the panel or drawer they sit on paints.
void UseWindowColors(std::initializer_list<QWidget*> controls);

}  // namespace qiwu
