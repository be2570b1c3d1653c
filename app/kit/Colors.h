#pragma once
// Control colours as 0x00BBGGRR values (0 black, 255 red, 0xFF0000 blue). The value set is kept
// on the control, so it reads back exactly.
#include <QtGlobal>

class QWidget;

namespace qiwu {

void SetForeColor(QWidget* widget, quint32 bgr);
quint32 ForeColor(const QWidget* widget);  // 0 (black) when never set
void SetBackColor(QWidget* widget, quint32 bgr);

}  // namespace qiwu
