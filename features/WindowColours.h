#pragma once
// Input controls and value boxes keep the system's window colours (the text box background
// behind the window text) whatever background the panel or drawer they sit on paints.
#include <initializer_list>

class QWidget;

void UseWindowColours(std::initializer_list<QWidget*> controls);
