#pragma once
// Texts from a city data set are untrusted. Qt reads a label's, a message box's or a tooltip's
// text as HTML when it looks like markup, and then loads the files its <img> tags name (a
// device or a FIFO hangs or exhausts the program). So every label of the program is made by
// NewLabel and shows its text literally; the message box sink sets the same plain format; and
// the tooltip guard shows every widget's tooltip literally.
#include <QString>

class QLabel;
class QWidget;

namespace qiwu {

// A label inside parent whose text is always shown as it is, never as markup.
QLabel* NewLabel(QWidget* parent, const QString& text = QString());

// A tooltip text that Qt shows as it is: markup-looking text comes back escaped.
QString PlainToolTipText(const QString& text);

// From now on every widget's tooltip is shown as plain text. Installed once on the application;
// further calls do nothing.
void InstallPlainToolTips();

}  // namespace qiwu
