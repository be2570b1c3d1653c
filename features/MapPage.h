#pragma once
// The printed map: one page holding a title, the map with its scale bar and north arrow, the legend
// of the switched-on layers, the scale, the date and a line on where the data come from. A PDF, a
// print, the print preview, a framed PNG and `qiwu-cli render --out FILE.pdf` all paint this page.
// Its measures are page pixels, 96 to the inch, so that the map's symbols and labels keep their
// screen size on paper; on a PDF or a printer everything is drawn as shapes and text.
//
// A page draws every switched-on layer whatever its display limit, unless those layers hold more
// than kPageFeatureLimit features in the page's view: then the display limits apply as on screen,
// so that the vector PDF of a whole city stays small.
#include <QDate>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <vector>

#include "map/Layer.h"
#include "map/MapView.h"

class QPagedPaintDevice;

namespace mappage {

inline constexpr std::size_t kPageFeatureLimit = 5000;

struct PageSetup {
  QString title;   // the city's name unless the user writes another
  QString source;  // "数据：栖坞市 数据集…" (PageSource.h)
  QDate date;
  QPageSize::PageSizeId paper = QPageSize::A4;
  QPageLayout::Orientation orientation = QPageLayout::Landscape;

  // The paper in that orientation with 10 mm margins.
  QPageLayout Layout() const;
};

// Where a page's parts go in area (page pixels): the title band on top, the footer (source, scale,
// date) at the bottom, the legend right of the map on a landscape area and below it on a portrait one.
struct PageRegions {
  QRectF title, map, legend, footer;
};
PageRegions LayoutPage(const QRectF& area, int legendEntries);

// Whether a page of layers at view keeps the layers' display limits (more than kPageFeatureLimit
// features of switched-on layers in view).
bool KeepsDisplayLimits(const std::vector<const Layer*>& bottomToTop, const MapView& view);

// The scale of view on paper at 96 page pixels an inch, as "比例尺 1:25,400" (three figures).
QString PaperScaleText(const MapView& view);

// Paints the page into area (page pixels) with painter.
void PaintPage(QPainter& painter, const QRectF& area, const std::vector<const Layer*>& bottomToTop,
               const MapView& screen, const PageSetup& setup);

// Paints the page on device's current page (a PDF writer, a printer, a preview), filling its
// paintable area. False when the device cannot be painted.
bool PaintOnDevice(QPagedPaintDevice& device, const std::vector<const Layer*>& bottomToTop,
                   const MapView& screen, const PageSetup& setup);

}  // namespace mappage
