#include "features/MapPage.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "features/CityLegend.h"
#include "features/MapExport.h"
#include "map/Renderer.h"
#include "map/render/TextPaths.h"

namespace mappage {

namespace {

constexpr double kPageDpi = 96;  // page pixels to the inch
constexpr double kTitleHeight = 40, kFooterHeight = 22, kGap = 10;
constexpr double kLegendWidth = 230, kLegendHeading = 26, kLegendRow = 24;
const QColor kInk(40, 40, 40);
const QColor kRule(150, 150, 150);

QFont PageFont(int pixelSize, bool bold = false) {
  QFont font = LabelFont(pixelSize);
  font.setBold(bold);
  return font;
}

std::vector<const Layer*> SwitchedOn(const std::vector<const Layer*>& layers) {
  std::vector<const Layer*> on;
  for (const Layer* layer : layers) {
    if (layer->Visible() && layer->Shown() && !layer->IsTemporary()) on.push_back(layer);
  }
  return on;
}

// A north arrow of height h whose tip is at top: a split arrowhead over the letter 北.
void DrawNorthArrow(QPainter& painter, QPointF top, double h) {
  const double w = h * 0.45;
  const QPointF tip = top, left = top + QPointF(-w / 2, h * 0.62), right = top + QPointF(w / 2, h * 0.62);
  const QPointF notch = top + QPointF(0, h * 0.48);
  painter.save();
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(255, 255, 255, 220));
  painter.drawRoundedRect(QRectF(top.x() - w, top.y() - 4, 2 * w, h + 8), 3, 3);
  painter.setPen(QPen(kInk, 1));
  painter.setBrush(Qt::white);
  painter.drawPolygon(QPolygonF({tip, right, notch}));
  painter.setBrush(kInk);
  painter.drawPolygon(QPolygonF({tip, left, notch}));
  painter.setFont(PageFont(int(h * 0.34), true));
  painter.drawText(QRectF(top.x() - w, top.y() + h * 0.64, 2 * w, h * 0.36), Qt::AlignCenter,
                   QStringLiteral("北"));
  painter.restore();
}

// Draws the map into region and returns the view it shows.
MapView DrawMap(QPainter& painter, const QRectF& region, const std::vector<const Layer*>& layers,
                const MapView& screen) {
  const QSize pixels(std::max(1, int(region.width())), std::max(1, int(region.height())));
  const MapView view = mapexport::ExportView(screen, pixels);
  RenderOptions options;
  options.background = Qt::white;
  options.scaleBar = true;
  options.displayLimits = KeepsDisplayLimits(layers, view);
  painter.save();
  painter.setClipRect(QRectF(region.topLeft(), QSizeF(pixels)));
  painter.translate(region.topLeft());
  MapRenderer().Render(painter, layers, view, options);
  painter.restore();
  painter.save();
  painter.setPen(QPen(kRule, 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRectF(region.topLeft(), QSizeF(pixels)));
  painter.restore();
  DrawNorthArrow(painter, QPointF(region.left() + pixels.width() - 24, region.top() + 10), 40);
  return view;
}

void DrawTitle(QPainter& painter, const QRectF& band, const QString& title) {
  painter.save();
  const QFont font = PageFont(22, true);
  painter.setFont(font);
  painter.setPen(kInk);
  const QString shown = QFontMetricsF(font).elidedText(title, Qt::ElideRight, band.width());
  painter.drawText(band.adjusted(0, 0, 0, -6), Qt::AlignLeft | Qt::AlignVCenter, shown);
  painter.setPen(QPen(kRule, 1));
  painter.drawLine(band.bottomLeft() - QPointF(0, 3), band.bottomRight() - QPointF(0, 3));
  painter.restore();
}

void DrawLegendBox(QPainter& painter, const QRectF& box, const std::vector<LegendEntry>& entries) {
  if (entries.empty() || box.isEmpty()) return;
  painter.save();
  painter.setFont(PageFont(14, true));
  painter.setPen(kInk);
  painter.drawText(QRectF(box.left(), box.top(), box.width(), kLegendHeading),
                   Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("图例"));
  painter.restore();
  DrawLegend(painter, box.adjusted(0, kLegendHeading, 0, 0), entries);
}

void DrawFooter(QPainter& painter, const QRectF& band, const QString& source, const QString& right) {
  painter.save();
  const QFont font = PageFont(11);
  painter.setFont(font);
  painter.setPen(kInk);
  const QFontMetricsF metrics(font);
  const double rightWidth = metrics.horizontalAdvance(right) + 4;
  painter.drawText(band, Qt::AlignRight | Qt::AlignVCenter, right);
  const QRectF left = band.adjusted(0, 0, -rightWidth - kGap, 0);
  painter.drawText(left, Qt::AlignLeft | Qt::AlignVCenter,
                   metrics.elidedText(source, Qt::ElideRight, std::max(0.0, left.width())));
  painter.restore();
}

}  // namespace

QPageLayout PageSetup::Layout() const {
  return QPageLayout(QPageSize(paper), orientation, QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
}

PageRegions LayoutPage(const QRectF& area, int legendEntries) {
  PageRegions r;
  r.title = QRectF(area.left(), area.top(), area.width(), kTitleHeight);
  r.footer = QRectF(area.left(), area.bottom() - kFooterHeight, area.width(), kFooterHeight);
  const QRectF middle(area.left(), r.title.bottom() + kGap / 2, area.width(),
                      std::max(0.0, r.footer.top() - kGap / 2 - r.title.bottom() - kGap / 2));
  if (legendEntries <= 0) {
    r.map = middle;
    return r;
  }
  // The legend draws its entries in two columns.
  const double wanted = kLegendHeading + ((legendEntries + 1) / 2) * kLegendRow + 12;
  if (area.width() >= area.height()) {
    const double width = std::min(kLegendWidth, middle.width() / 3);
    r.legend = QRectF(middle.right() - width, middle.top(), width, std::min(wanted, middle.height()));
    r.map = QRectF(middle.topLeft(), QSizeF(std::max(0.0, middle.width() - width - kGap), middle.height()));
  } else {
    const double height = std::min(wanted, middle.height() / 3);
    r.legend = QRectF(middle.left(), middle.bottom() - height, middle.width(), height);
    r.map = QRectF(middle.topLeft(), QSizeF(middle.width(), std::max(0.0, middle.height() - height - kGap)));
  }
  return r;
}

bool KeepsDisplayLimits(const std::vector<const Layer*>& bottomToTop, const MapView& view) {
  std::size_t features = 0;
  for (const Layer* layer : SwitchedOn(bottomToTop)) {
    features += layer->IdsIn(view.Extent()).size();
    if (features > kPageFeatureLimit) return true;
  }
  return false;
}

QString PaperScaleText(const MapView& view) {
  const double n = view.PixelSize() * kPageDpi / 0.0254;
  if (!(n >= 1) || !std::isfinite(n)) return {};
  const double unit = std::pow(10.0, std::max(0.0, std::floor(std::log10(n)) - 2));
  return QStringLiteral("比例尺 1:") +
         QLocale(QLocale::English).toString(qint64(std::llround(n / unit) * unit));
}

void PaintPage(QPainter& painter, const QRectF& area, const std::vector<const Layer*>& bottomToTop,
               const MapView& screen, const PageSetup& setup) {
  // A page lists what it shows: the classes no layer shows are left out.
  std::vector<LegendEntry> legend = CityLegendEntries(SwitchedOn(bottomToTop));
  std::erase_if(legend, [](const LegendEntry& e) { return !e.hasLayer; });
  const PageRegions regions = LayoutPage(area, int(legend.size()));
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  DrawTitle(painter, regions.title, setup.title);
  const MapView view = DrawMap(painter, regions.map, bottomToTop, screen);
  DrawLegendBox(painter, regions.legend, legend);
  const QString date =
      QLocale(QLocale::Chinese, QLocale::China).toString(setup.date, QStringLiteral("yyyy年M月d日"));
  DrawFooter(painter, regions.footer, setup.source, PaperScaleText(view) + QStringLiteral("    ") + date);
  painter.restore();
}

bool PaintOnDevice(QPagedPaintDevice& device, const std::vector<const Layer*>& bottomToTop,
                   const MapView& screen, const PageSetup& setup) {
  QPainter painter;
  if (!painter.begin(&device)) return false;
  const double scale = device.logicalDpiX() / kPageDpi;
  painter.scale(scale, scale);
  PaintPage(painter, QRectF(0, 0, device.width() / scale, device.height() / scale), bottomToTop, screen,
            setup);
  return painter.end();
}

}  // namespace mappage
