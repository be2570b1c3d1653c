#pragma once
// Back colours (0x00BBGGRR) of the bus panel's and the plan window's containers and buttons.
// Only the one palette role is set, so that the text boxes inside a grey container stay white.
#include <QtGlobal>

class QWidget;

void SetContainerColor(QWidget* widget, quint32 bgr);  // a window, frame or panel
void SetButtonColor(QWidget* button, quint32 bgr);
