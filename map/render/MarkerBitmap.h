#pragma once
// The bitmap markers that features made by the program name in FeatureStyle.SymbolBitmapName
// ("GOLF1-32.BMP" for the position marker). The map ships no bitmap files: every name is drawn
// by code as a small red flag.
#include <QImage>
#include <QString>

// The marker for a bitmap name at a symbol size in points (a 12-point marker is 16 pixels at 96 dpi),
// drawn at the device pixel ratio. The flag cloth covers the image's centre, which marks the point.
QImage MarkerBitmap(const QString& name, int sizePoints, qreal devicePixelRatio = 1.0);
