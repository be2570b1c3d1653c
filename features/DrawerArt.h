#pragma once
// The pictures of the two drawers: the tab with its label written top to bottom, and the framed
// background behind a drawer's content. Sizes are device-independent pixels.
#include <QPixmap>
#include <QSize>
#include <QString>

class QWidget;

// A tab of size pixels: a rounded left edge, a soft blue face and label's characters stacked
// from top to bottom in the middle. ratio is the device pixel ratio of the screen it shows on.
QPixmap DrawerTabPicture(const QString& label, QSize size, qreal ratio);

// Fills drawer with its background picture: a raised, framed panel to the right of the tab
// (tabWidth twips), placed behind every other child.
void AddDrawerBackground(QWidget* drawer, int tabWidth);
