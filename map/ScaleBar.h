#pragma once
// The scale bar of the main map: a bar of a round length (1, 2 or 5 times a power of ten metres)
// in the bottom left corner, labelled in metres below 1,000 m and in kilometres from there.
#include <QString>

class MapView;
class QPainter;

// The longest round length in metres that is at most maxPixels long at metresPerPixel.
double ScaleBarLength(double metresPerPixel, double maxPixels);

// "500 米", "1 公里", "20 公里".
QString ScaleBarLabel(double metres);

// Draws the bar over the map at the view; nothing on a surface too small to hold it.
void DrawScaleBar(QPainter& painter, const MapView& view);
