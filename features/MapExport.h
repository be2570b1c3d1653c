#pragma once
// The main map as a picture that leaves the program: a PNG file, a PDF page or a printed page.
// Every export draws the map's layers through the map renderer at the export's own size, around
// the view's centre and showing the view's whole extent (the same width or height in metres,
// the other axis following the export's proportions), so the same layers and labels show as on
// screen. The map's selection and marker are drawn too. A PDF is the printed page (MapPage.h) in
// vectors; a PNG is the bare map, with the legend of what is drawn (CityLegendEntries) in its lower
// right corner when it fits, or, framed, that page.
#include <QImage>
#include <QString>
#include <vector>

#include "features/MapPage.h"
#include "map/Layer.h"
#include "map/MapView.h"

namespace mapexport {

inline constexpr int kMaxPixels = 16384;  // a side of a PNG export, at most

// The view of an export of pixels size: screen's centre, with screen's extent fitted inside.
MapView ExportView(const MapView& screen, QSize pixels);

// The map at ExportView(screen, pixels) on a white ground, pixels large (device-independent), at
// devicePixelRatio times that many image pixels. A null image when it cannot be allocated.
QImage RenderMap(const std::vector<const Layer*>& bottomToTop, const MapView& screen, QSize pixels,
                 qreal devicePixelRatio = 1);

// Writes the map as a PNG of pixels size (each side 1 to kMaxPixels): the bare map, or with frame the
// printed page's title, legend, scale and source around it. False with error set when the size is
// out of range or the file cannot be written.
bool WritePng(const QString& path, const std::vector<const Layer*>& bottomToTop, const MapView& screen,
              QSize pixels, QString& error, const mappage::PageSetup* frame = nullptr);

// Writes the printed page as a one-page vector PDF of the setup's paper and orientation.
bool WritePdf(const QString& path, const std::vector<const Layer*>& bottomToTop, const MapView& screen,
              const mappage::PageSetup& setup, QString& error);

}  // namespace mapexport
