#include "map/Legend.h"

#include <QFont>
#include <algorithm>

#include "map/render/ScreenGeometry.h"
#include "map/render/SymbolPainter.h"
#include "map/render/TextPaths.h"

namespace {

constexpr int kPageRows = kLegendPageEntries / 2;
constexpr double kCellWidth = 150, kRowHeight = 22, kCardMarginX = 14, kCardMarginY = 12;

// How a layer's features drawn in style read in the legend.
LegendEntry::Kind KindOf(const Layer& layer, const LayerStyle& style) {
  const FeatureStore& store = layer.Store();
  for (int id = 1; id <= store.IdLimit(); ++id) {
    if (!store.Exists(id)) continue;
    if (store.TypeOf(id) == kFeaturePoint) return LegendEntry::Kind::Symbol;
    // A region drawn only by its outline (the city wall) reads as a line.
    const bool filled = style.brushColor.isValid() && style.brushPattern != Qt::NoBrush;
    return store.TypeOf(id) == kFeatureRegion && filled ? LegendEntry::Kind::Area : LegendEntry::Kind::Line;
  }
  return LegendEntry::Kind::Symbol;
}

void DrawLineSwatch(QPainter& painter, const QRectF& swatch, const LayerStyle& style) {
  const double y = swatch.center().y();
  const QPolygonF line({QPointF(swatch.left() + 2, y), QPointF(swatch.right() - 2, y)});
  QPainterPath path;
  path.addPolygon(line);
  if (style.casingColor.isValid() && style.casingWidth > 0) {
    painter.strokePath(path, QPen(style.casingColor, style.casingWidth, Qt::SolidLine, Qt::FlatCap));
  }
  if (style.penColor.isValid() && style.penPattern != Qt::NoPen) {
    painter.strokePath(path, QPen(style.penColor, style.penWidth, style.penPattern, Qt::FlatCap));
    if (style.lineDecoration == LineDecoration::Wall) {
      const double size = std::max(2.0, style.penWidth * 0.9);
      painter.fillPath(Battlements(line, size, style.penWidth / 2 - 0.3), style.penColor);
    }
  }
}

void DrawAreaSwatch(QPainter& painter, const QRectF& swatch, const LayerStyle& style) {
  const bool outlined = style.penColor.isValid() && style.penPattern != Qt::NoPen && style.penWidth > 0;
  painter.setPen(outlined ? QPen(style.penColor, std::min(style.penWidth, 2.0), style.penPattern)
                          : QPen(Qt::NoPen));
  painter.setBrush(QBrush(style.brushColor, style.brushPattern));
  painter.drawRoundedRect(swatch.adjusted(2, 1, -2, -1), 2, 2);
}

const Layer* ClassLayer(const QString& cls, const std::vector<const Layer*>& layers) {
  auto match = std::find_if(layers.begin(), layers.end(),
                            [&](const Layer* l) { return l->Style().legendClass == cls; });
  if (match == layers.end()) {
    match = std::find_if(layers.begin(), layers.end(), [&](const Layer* l) { return l->Name() == cls; });
  }
  return match == layers.end() ? nullptr : *match;
}

std::vector<LegendEntry> CaseEntries(const Layer& layer) {
  std::vector<LegendEntry> entries;
  for (const StyleCase& c : layer.Style().cases) {
    const QString label = c.legend.isEmpty() ? layer.Name() + QStringLiteral("：") + c.value : c.legend;
    entries.push_back({label, KindOf(layer, c.style), c.style, true});
  }
  return entries;
}

void DrawCard(QPainter& painter, const QRectF& rect) {
  painter.setPen(QPen(QColor(170, 170, 170), 1));
  painter.setBrush(Qt::white);
  painter.drawRect(rect.adjusted(0.5, 0.5, -0.5, -0.5));
}

void DrawEntries(QPainter& painter, const std::vector<LegendCell>& cells, const LegendEntry* entries) {
  QFont font;
  font.setFamilies(LabelFontFamilies());
  font.setPixelSize(std::clamp(int(cells.empty() ? 12 : cells.front().text.height() * 0.55), 10, 16));
  painter.setFont(font);
  for (size_t i = 0; i < cells.size(); ++i) {
    if (entries[i].hasLayer) DrawLegendSwatch(painter, cells[i].swatch, entries[i]);
    painter.setPen(QColor(40, 40, 40));
    painter.drawText(cells[i].text, Qt::AlignVCenter | Qt::AlignLeft, entries[i].label);
  }
}

}  // namespace

void DrawLegendSwatch(QPainter& painter, const QRectF& swatch, const LegendEntry& entry) {
  switch (entry.kind) {
    case LegendEntry::Kind::Symbol: {
      const double size = std::clamp(entry.style.symbolSize, 10.0, swatch.height() - 1);
      painter.save();
      painter.translate(swatch.center());
      DrawSymbol(painter,
                 {entry.style.symbolShape, size, entry.style.symbolColor, entry.style.symbolOutline});
      painter.restore();
      break;
    }
    case LegendEntry::Kind::Line:
      DrawLineSwatch(painter, swatch, entry.style);
      break;
    case LegendEntry::Kind::Area:
      DrawAreaSwatch(painter, swatch, entry.style);
      break;
  }
}

std::vector<LegendEntry> LegendEntries(const QStringList& classes, const std::vector<const Layer*>& layers) {
  std::vector<LegendEntry> entries;
  for (const QString& cls : classes) {
    const Layer* layer = ClassLayer(cls, layers);
    entries.push_back(layer ? LegendEntry{cls, KindOf(*layer, layer->Style()), layer->Style(), true}
                            : LegendEntry{cls, LegendEntry::Kind::Symbol, {}, false});
  }
  return entries;
}

std::vector<LegendEntry> LayerLegendEntries(const Layer& layer) {
  std::vector<LegendEntry> entries{{layer.Name(), KindOf(layer, layer.Style()), layer.Style(), true}};
  for (LegendEntry& e : CaseEntries(layer)) entries.push_back(std::move(e));
  return entries;
}

std::vector<LegendEntry> MapLegendEntries(const QStringList& classes,
                                          const std::vector<const Layer*>& bottomToTop) {
  std::vector<LegendEntry> entries = LegendEntries(classes, bottomToTop);
  std::vector<const Layer*> classLayers;
  for (const QString& cls : classes) classLayers.push_back(ClassLayer(cls, bottomToTop));
  for (auto it = bottomToTop.rbegin(); it != bottomToTop.rend(); ++it) {
    const Layer& layer = **it;
    if (layer.IsTemporary() || !layer.Shown()) continue;
    const bool ofClass = std::find(classLayers.begin(), classLayers.end(), &layer) != classLayers.end();
    for (LegendEntry& e : ofClass ? CaseEntries(layer) : LayerLegendEntries(layer))
      entries.push_back(std::move(e));
  }
  return entries;
}

std::vector<LegendCell> LegendLayout(const QRectF& rect, int entries, int rows) {
  if (rows <= 0) rows = (entries + 1) / 2;
  const int columns = std::max(1, (entries + rows - 1) / std::max(1, rows));
  const QRectF inner = rect.adjusted(8, 6, -6, -6);
  const double cellW = inner.width() / columns, cellH = inner.height() / std::max(1, rows);
  const double swatchW = std::min(30.0, cellW * 0.3), swatchH = std::min(cellH - 4, 18.0);
  std::vector<LegendCell> cells;
  for (int i = 0; i < entries; ++i) {
    const QPointF cell(inner.left() + (i / rows) * cellW, inner.top() + (i % rows) * cellH);
    const QRectF swatch(cell.x(), cell.y() + (cellH - swatchH) / 2, swatchW, swatchH);
    cells.push_back({swatch, QRectF(swatch.right() + 6, cell.y(), cellW - swatchW - 8, cellH)});
  }
  return cells;
}

void DrawLegend(QPainter& painter, const QRectF& rect, const std::vector<LegendEntry>& entries, int rows) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  DrawCard(painter, rect);
  DrawEntries(painter, LegendLayout(rect, int(entries.size()), rows), entries.data());
  painter.restore();
}

QSizeF LegendSize(int entries, int rows) {
  const int columns = std::max(1, (entries + rows - 1) / std::max(1, rows));
  return {columns * kCellWidth + kCardMarginX, rows * kRowHeight + kCardMarginY};
}

QImage RenderLegend(const QStringList& classes, const std::vector<const Layer*>& layers, QSize size,
                    qreal devicePixelRatio) {
  QImage image(size * devicePixelRatio, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(devicePixelRatio);
  image.fill(Qt::white);
  QPainter painter(&image);
  DrawLegend(painter, QRectF(QPointF(0, 0), QSizeF(size)), LegendEntries(classes, layers));
  return image;
}

QImage RenderLegendPages(const std::vector<LegendEntry>& entries, QSize page, qreal devicePixelRatio) {
  const int count = int(entries.size());
  const int pages = std::max(1, (count + kLegendPageEntries - 1) / kLegendPageEntries);
  const QSize size(page.width(), page.height() * pages);
  QImage image(size * devicePixelRatio, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(devicePixelRatio);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  DrawCard(painter, QRectF(QPointF(0, 0), QSizeF(size)));
  for (int p = 0; p < pages; ++p) {
    const int first = p * kLegendPageEntries;
    const int onPage = std::min(kLegendPageEntries, count - first);
    const QRectF rect(0, p * page.height(), page.width(), page.height());
    DrawEntries(painter, LegendLayout(rect, onPage, kPageRows), entries.data() + first);
  }
  return image;
}
