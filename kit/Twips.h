#pragma once
// Window positions in twips (1/1440 inch). Each control keeps its Left, Top, Width and Height
// in twips as the source of truth; its pixel geometry follows from the screen's logical DPI
// (15 twips a pixel at 96 dpi). Reading back gives the twips that were set, never a rounded
// pixel value.
#include <QRect>

class QWidget;

namespace qiwu {

// Pixels for a twips length on the widget's screen.
int TwipsToPixels(int twips, const QWidget* widget);

// Sets all four values and moves the widget.
void SetTwipsGeometry(QWidget* widget, int left, int top, int width, int height);
void SetTwipsLeft(QWidget* widget, int left);
void SetTwipsTop(QWidget* widget, int top);
void SetTwipsSize(QWidget* widget, int width, int height);

// The twips geometry last set (left, top, width, height); a widget never placed in twips
// reports its pixel geometry converted to twips.
QRect TwipsGeometry(const QWidget* widget);
int TwipsLeft(const QWidget* widget);
int TwipsTop(const QWidget* widget);
int TwipsWidth(const QWidget* widget);
int TwipsHeight(const QWidget* widget);

}  // namespace qiwu
