#include "map/Legend.h"

#include <QFont>
#include <algorithm>

#include "map/render/ScreenGeometry.h"
#include "map/render/SymbolPainter.h"
#include "map/render/TextPaths.h"

namespace {

LegendEntry::Kind KindOf(const Layer& layer) {
  const FeatureStore& store = layer.Store();
  for (int id = 1; id <= store.IdLimit(); ++id) {
    if (!store.Exists(id)) continue;
    if (store.TypeOf(id) == kFeaturePoint) return LegendEntry::Kind::Symbol;
    // A region drawn only by its outline (the city wall) reads as a line.
    const bool filled = layer.Style().brushColor.isValid() && layer.Style().brushPattern != Qt::NoBrush;
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

void DrawSwatch(QPainter& painter, const QRectF& swatch, const LegendEntry& entry) {
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

}  // namespace

std::vector<LegendEntry> LegendEntries(const QStringList& classes, const std::vector<const Layer*>& layers) {
  std::vector<LegendEntry> entries;
  for (const QString& cls : classes) {
    LegendEntry entry{cls, LegendEntry::Kind::Symbol, {}, false};
    auto match = std::find_if(layers.begin(), layers.end(),
                              [&](const Layer* l) { return l->Style().legendClass == cls; });
    if (match == layers.end()) {
      match = std::find_if(layers.begin(), layers.end(), [&](const Layer* l) { return l->Name() == cls; });
    }
    if (match != layers.end()) entry = {cls, KindOf(**match), (*match)->Style(), true};
    entries.push_back(entry);
  }
  return entries;
}

std::vector<LegendCell> LegendLayout(const QRectF& rect, int entries) {
  const int rows = (entries + 1) / 2;
  const QRectF inner = rect.adjusted(8, 6, -6, -6);
  const double cellW = inner.width() / 2, cellH = inner.height() / std::max(1, rows);
  const double swatchW = std::min(30.0, cellW * 0.3), swatchH = std::min(cellH - 4, 18.0);
  std::vector<LegendCell> cells;
  for (int i = 0; i < entries; ++i) {
    const QPointF cell(inner.left() + (i / rows) * cellW, inner.top() + (i % rows) * cellH);
    const QRectF swatch(cell.x(), cell.y() + (cellH - swatchH) / 2, swatchW, swatchH);
    cells.push_back({swatch, QRectF(swatch.right() + 6, cell.y(), cellW - swatchW - 8, cellH)});
  }
  return cells;
}

void DrawLegend(QPainter& painter, const QRectF& rect, const std::vector<LegendEntry>& entries) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(170, 170, 170), 1));
  painter.setBrush(Qt::white);
  painter.drawRect(rect.adjusted(0.5, 0.5, -0.5, -0.5));
  const std::vector<LegendCell> cells = LegendLayout(rect, int(entries.size()));
  QFont font;
  font.setFamilies(LabelFontFamilies());
  font.setPixelSize(std::clamp(int(cells.empty() ? 12 : cells.front().text.height() * 0.55), 10, 16));
  painter.setFont(font);
  for (size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].hasLayer) DrawSwatch(painter, cells[i].swatch, entries[i]);
    painter.setPen(QColor(40, 40, 40));
    painter.drawText(cells[i].text, Qt::AlignVCenter | Qt::AlignLeft, entries[i].label);
  }
  painter.restore();
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
