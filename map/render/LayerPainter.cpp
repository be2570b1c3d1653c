#include "map/render/LayerPainter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

#include "kit/Colors.h"
#include "map/render/LineStroker.h"
#include "map/render/MarkerBitmap.h"
#include "map/render/PaintTarget.h"

namespace {

constexpr double kFullWidthView = 8000;  // metres: line widths are the style's up to this view width
constexpr double kMinStep = 0.5;         // pixels: vertices closer than this to the last one are left out
constexpr double kCutMargin = 32;        // pixels beyond the screen a region on a page is cut at
const QColor kGlow(0, 215, 255, 120);
const QColor kGlowEdge(0, 160, 255);

bool SubPixel(const QPolygonF& screen) {
  if (screen.size() > 3) return false;
  const QRectF r = screen.boundingRect();
  return r.width() < 1 && r.height() < 1;
}

QPen Pen(const QColor& color, double width, Qt::PenStyle pattern = Qt::SolidLine) {
  if (!color.isValid() || pattern == Qt::NoPen || width <= 0) return QPen(Qt::NoPen);
  return QPen(color, width, pattern, Qt::RoundCap, Qt::RoundJoin);
}

// Line widths are the style's up to kFullWidthView and thin out beyond it, so that a whole city does not
// drown in its roads.
double WidthScale(const MapView& view) { return std::min(1.0, std::sqrt(kFullWidthView / view.Width())); }

double SignedArea2(const QPolygonF& ring) {
  double area2 = 0;
  for (qsizetype i = 0; i < ring.size(); ++i) {
    const QPointF a = ring[i], b = ring[(i + 1) % ring.size()];
    area2 += a.x() * b.y() - b.x() * a.y();
  }
  return area2;
}

// Keeps the labels a kind of feature adds in layer order, which its runs of style cases draw out of:
// Added(id) after each feature's labels notes whose they are; going, it sorts them by feature.
template <typename Label>
class LabelsInLayerOrder {
 public:
  LabelsInLayerOrder(std::vector<Label>* labels, std::size_t runs, std::vector<int>& owners)
      : labels_(runs > 1 ? labels : nullptr), from_(labels ? labels->size() : 0), owners_(owners) {
    owners_.clear();
  }
  LabelsInLayerOrder(const LabelsInLayerOrder&) = delete;
  LabelsInLayerOrder& operator=(const LabelsInLayerOrder&) = delete;
  void Added(int id) {
    if (labels_) owners_.resize(labels_->size() - from_, id);
  }
  ~LabelsInLayerOrder() {
    if (!labels_) return;
    std::vector<std::size_t> order(owners_.size());
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return owners_[a] < owners_[b]; });
    std::vector<Label> sorted;
    sorted.reserve(order.size());
    for (std::size_t i : order) sorted.push_back(std::move((*labels_)[from_ + i]));
    std::move(sorted.begin(), sorted.end(), labels_->begin() + std::ptrdiff_t(from_));
  }

 private:
  std::vector<Label>* labels_;  // nullptr: the kind is drawn in layer order
  std::size_t from_;
  std::vector<int>& owners_;  // by label from from_: its feature's id
};

}  // namespace

// How often (in features) a drawing loop looks whether it has been cancelled.
constexpr std::size_t kCancelCheck = 4096;
// Screen vertices a layer's lines are stroked by when nothing needs them all at once.
constexpr std::size_t kBatchPoints = std::size_t(1) << 20;

LayerPainter::LayerPainter(QPainter& painter, const MapView& view, PainterBuffers& buffers,
                           const std::atomic<bool>* cancel)
    : painter_(painter),
      view_(view),
      xf_(ScreenTransform::Of(view)),
      buffers_(buffers),
      sprites_(buffers.sprites),
      scratch_(buffers.scratch),
      outlines_(buffers.outlines),
      cancel_(cancel) {}

bool LayerPainter::StopsAt(std::size_t n) const { return n % kCancelCheck == 0 && Cancelled(); }

bool LayerPainter::Counted(const FeatureStore& store, int id) const {
  if (countTop_ == 0 && countBottom_ == std::numeric_limits<int>::max()) return true;
  if (store.PartCount(id) == 0 || store.Part(id, 0).empty()) return countTop_ == 0;
  const double y = std::max(0.0, xf_(store.Part(id, 0).front()).y());
  return y >= countTop_ && y < countBottom_;
}

QString LayerPainter::LabelText(const LayerSnapshot& layer, int id) const {
  const FeatureStore& store = layer.Store();
  return store.ValueOf(id, store.FieldIndex(layer.Style().labelField)).trimmed().toString();
}

LabelLook LayerPainter::Look(const LayerStyle& style) const {
  LabelLook look;
  look.pixelSize = std::max(6, int(std::lround(style.labelSize * 96.0 / 72.0)));
  look.color = style.labelColor;
  look.halo = style.labelHalo;
  return look;
}

int LayerPainter::Draw(const LayerSnapshot& layer, const std::vector<int>& ids, LayerLabels* labels,
                       std::vector<QRectF>* obstacles) {
  const LayerStyle& style = layer.Style();
  const bool labelled = labels && !style.labelField.isEmpty() && view_.Width() <= style.labelMaxViewWidth;
  LayerLabels* want = labelled ? labels : nullptr;
  // Features split by kind; those with a style of their own are drawn last, in it.
  std::vector<int>& regions = buffers_.regions.ids;
  std::vector<int>& lines = buffers_.lines.ids;
  std::vector<int>& points = buffers_.points.ids;
  std::vector<int>& styled = buffers_.styled;
  regions.clear(), lines.clear(), points.clear(), styled.clear();
  const FeatureStore& store = layer.Store();
  for (int id : ids) {
    if (store.StyleOf(id))
      styled.push_back(id);
    else if (store.TypeOf(id) == kFeatureRegion)
      regions.push_back(id);
    else if (store.TypeOf(id) == kFeatureLine)
      lines.push_back(id);
    else
      points.push_back(id);
  }
  GroupByCase(layer, buffers_.regions);
  GroupByCase(layer, buffers_.lines);
  GroupByCase(layer, buffers_.points);
  int drawn = DrawRegions(layer, buffers_.regions, want);
  drawn += DrawLines(layer, buffers_.lines, want);
  drawn += DrawPoints(layer, buffers_.points, want, obstacles);
  for (int id : styled) {
    DrawStyledFeature(store, id, *store.StyleOf(id));
    drawn += Counted(store, id);
  }
  return drawn;
}

void LayerPainter::GroupByCase(const LayerSnapshot& layer, KindRuns& kind) {
  kind.runs.clear();
  if (kind.ids.empty()) return;
  if (!layer.HasCases()) {
    kind.runs.push_back({&layer.Style(), kind.ids});
    return;
  }
  // A counting sort: case c's ids go to [start[c], start[c + 1]).
  std::array<std::size_t, kMaxStyleCases + 2> start{};
  for (int id : kind.ids) ++start[std::size_t(layer.CaseOf(id)) + 1];
  for (std::size_t c = 1; c < start.size(); ++c) start[c] += start[c - 1];
  std::array<std::size_t, kMaxStyleCases + 1> next{};
  std::copy_n(start.begin(), next.size(), next.begin());
  std::vector<int>& grouped = buffers_.grouped;
  grouped.resize(kind.ids.size());
  for (int id : kind.ids) grouped[next[std::size_t(layer.CaseOf(id))]++] = id;
  kind.ids.swap(grouped);
  const std::span<const int> ids(kind.ids);
  for (std::size_t c = 0; c + 1 < start.size(); ++c) {
    if (start[c + 1] > start[c])
      kind.runs.push_back(
          {&CaseStyle(layer.Style(), int(c)), ids.subspan(start[c], start[c + 1] - start[c])});
  }
}

void LayerPainter::ClearOutlines(std::size_t count) {
  if (outlines_.size() < count) outlines_.resize(count);
  for (std::size_t i = 0; i < count; ++i) outlines_[i].Clear();
}

bool LayerPainter::RegionPath(const FeatureStore& store, int id, QPainterPath& path) {
  path.clear();
  path.setFillRule(Qt::OddEvenFill);
  // A page keeps only what shows: rings cut a little beyond the screen, so that their cut edges
  // stay out of sight.
  const bool cut = PaintsVectors(painter_);
  const QRectF around = QRectF(QPointF(0, 0), QSizeF(view_.Pixels()))
                            .adjusted(-kCutMargin, -kCutMargin, kCutMargin, kCutMargin);
  for (int part = 0; part < store.PartCount(id); ++part) {
    ToScreen(store.Part(id, part), xf_, kMinStep, scratch_);
    if (part == 0 && SubPixel(scratch_)) return false;
    path.addPolygon(cut ? ClipRing(scratch_, around) : scratch_);
    path.closeSubpath();
  }
  return !path.isEmpty();
}

int LayerPainter::DrawRegions(const LayerSnapshot& layer, const KindRuns& kind, LayerLabels* labels) {
  if (kind.ids.empty()) return 0;
  const FeatureStore& store = layer.Store();
  painter_.setPen(Qt::NoPen);
  QPainterPath path;
  ClearOutlines(kind.runs.size());
  LabelsInLayerOrder ordered(labels ? &labels->areas : nullptr, kind.runs.size(), buffers_.labelOwners);
  int drawn = 0;
  std::size_t n = 0;
  for (std::size_t r = 0; r < kind.runs.size(); ++r) {
    const LayerStyle& style = *kind.runs[r].style;
    painter_.setBrush(style.brushColor.isValid() ? QBrush(style.brushColor, style.brushPattern) : QBrush());
    const bool filled = painter_.brush().style() != Qt::NoBrush;
    const bool outlined =
        (style.penColor.isValid() && style.penPattern != Qt::NoPen) || style.casingColor.isValid();
    for (int id : kind.runs[r].ids) {
      if (StopsAt(n++)) return drawn;  // an unfinished frame is thrown away
      if (!RegionPath(store, id, path)) continue;
      if (filled) painter_.drawPath(path);
      drawn += Counted(store, id);
      if (outlined) {
        for (const QPolygonF& ring : path.toSubpathPolygons()) outlines_[r].Add(ring);
      }
      if (!labels) continue;
      AddAreaLabel(layer, id, *labels);
      ordered.Added(id);
    }
  }
  StrokeOutlines(kind.runs, true);
  return drawn;
}

void LayerPainter::AddAreaLabel(const LayerSnapshot& layer, int id, LayerLabels& labels) {
  const FeatureStore& store = layer.Store();
  const QString text = LabelText(layer, id);
  if (text.isEmpty() || store.PartCount(id) == 0) return;
  // The name goes to the middle of the part of the region that is on screen, clear of its holes.
  const QRectF screen(QPointF(0, 0), QSizeF(view_.Pixels()));
  std::vector<QPolygonF> visible;
  for (int part = 0; part < store.PartCount(id); ++part) {
    ToScreen(store.Part(id, part), xf_, kMinStep, scratch_);
    QPolygonF ring = ClipRing(scratch_, screen);
    if (!ring.isEmpty() || part > 0) visible.push_back(std::move(ring));
  }
  QPointF at;
  if (!visible.empty() && visible.front().boundingRect().width() > 40 && LabelPoint(visible, at)) {
    AreaLabel label{text, Look(layer.Style()), at};
    label.look.letterSpacing = label.look.pixelSize * 0.4;
    labels.areas.push_back(label);
  }
}

int LayerPainter::DrawLines(const LayerSnapshot& layer, const KindRuns& kind, LayerLabels* labels) {
  if (kind.ids.empty()) return 0;
  const FeatureStore& store = layer.Store();
  const LabelLook look = Look(layer.Style());
  const QRectF screen(QPointF(0, 0), QSizeF(view_.Pixels()));
  ClearOutlines(kind.runs.size());
  // Without casings to go under all of them, the lines are stroked a batch at a time, so that a
  // city's millions of lines never sit on screen all at once.
  const bool flushable = std::all_of(kind.runs.begin(), kind.runs.end(), [](const StyleRun& run) {
    return !run.style->casingColor.isValid() && run.style->penColor.alpha() == 255;
  });
  LabelsInLayerOrder ordered(labels ? &labels->lines : nullptr, kind.runs.size(), buffers_.labelOwners);
  int drawn = 0;
  std::size_t n = 0;
  for (std::size_t r = 0; r < kind.runs.size(); ++r) {
    const LayerStyle& style = *kind.runs[r].style;
    PolylineBatch& batch = outlines_[r];
    for (int id : kind.runs[r].ids) {
      if (StopsAt(n++)) return drawn;  // an unfinished frame is thrown away
      const QString text = labels ? LabelText(layer, id) : QString();
      bool any = false;
      for (int part = 0; part < store.PartCount(id); ++part) {
        ToScreen(store.Part(id, part), xf_, kMinStep, scratch_);
        if (scratch_.size() < 2 || SubPixel(scratch_)) continue;
        batch.Add(scratch_);
        any = true;
        if (text.isEmpty()) continue;
        for (QPolygonF& piece : ClipPolyline(scratch_, screen)) {
          labels->lines.push_back({text, look, std::move(piece)});
          labels->lines.back().look.letterSpacing = labels->lines.back().look.pixelSize * 0.3;
        }
      }
      ordered.Added(id);
      drawn += any && Counted(store, id);
      if (flushable && batch.Points() >= kBatchPoints) {
        StrokePen(batch, style, false);
        batch.Clear();
      }
    }
    if (flushable) {
      StrokePen(batch, style, false);
      batch.Clear();
    }
  }
  StrokeOutlines(kind.runs, false);
  return drawn;
}

void LayerPainter::StrokeOutlines(std::span<const StyleRun> runs, bool closed) {
  const double scale = WidthScale(view_);
  LineStroker stroker(painter_, QRectF(QPointF(0, 0), QSizeF(view_.Pixels())), buffers_.stroke);
  for (std::size_t r = 0; r < runs.size(); ++r)
    stroker.Stroke(outlines_[r], runs[r].style->casingColor, runs[r].style->casingWidth * scale,
                   Qt::SolidLine);
  for (std::size_t r = 0; r < runs.size(); ++r) StrokePen(outlines_[r], *runs[r].style, closed);
}

void LayerPainter::StrokePen(const PolylineBatch& lines, const LayerStyle& style, bool closed) {
  const double scale = WidthScale(view_);
  LineStroker stroker(painter_, QRectF(QPointF(0, 0), QSizeF(view_.Pixels())), buffers_.stroke);
  stroker.Stroke(lines, style.penColor, style.penWidth * scale, style.penPattern);
  if (style.lineDecoration != LineDecoration::Wall || !style.penColor.isValid()) return;
  LayerStyle thinned = style;
  thinned.penWidth *= scale;
  QPainterPath teeth;
  for (std::size_t i = 0; i < lines.Count(); ++i) {
    const std::span<const QPointF> line = lines.Line(i);
    AddWall(QPolygonF(line.begin(), line.end()), thinned, closed, teeth);
  }
  painter_.fillPath(teeth, style.penColor);
}

void LayerPainter::AddWall(const QPolygonF& path, const LayerStyle& style, bool closed, QPainterPath& teeth) {
  const double size = std::max(2.0, style.penWidth * 0.9);
  if (!closed || SignedArea2(path) > 0) {
    teeth.addPath(Battlements(path, size, style.penWidth / 2 - 0.3));
    return;
  }
  // Battlements face outwards: a ring running the other way round is walked backwards.
  const QPolygonF reversed(path.rbegin(), path.rend());
  teeth.addPath(Battlements(reversed, size, style.penWidth / 2 - 0.3));
}

int LayerPainter::DrawPoints(const LayerSnapshot& layer, const KindRuns& kind, LayerLabels* labels,
                             std::vector<QRectF>* obstacles) {
  const FeatureStore& store = layer.Store();
  const LabelLook look = Look(layer.Style());
  LabelsInLayerOrder ordered(labels ? &labels->points : nullptr, kind.runs.size(), buffers_.labelOwners);
  int drawn = 0;
  std::size_t n = 0;
  for (const StyleRun& run : kind.runs) {
    const LayerStyle& style = *run.style;
    const SymbolLook def{style.symbolShape, style.symbolSize, style.symbolColor, style.symbolOutline};
    const double half = style.symbolSize / 2;
    for (int id : run.ids) {
      if (StopsAt(n++)) return drawn;  // an unfinished frame is thrown away
      if (store.PartCount(id) == 0 || store.Part(id, 0).empty()) continue;
      const QPointF at = xf_(store.Part(id, 0).front());
      sprites_.Draw(painter_, def, at);
      drawn += Counted(store, id);
      if (obstacles) obstacles->emplace_back(at.x() - half, at.y() - half, 2 * half, 2 * half);
      if (!labels) continue;
      const QString text = LabelText(layer, id);
      if (!text.isEmpty()) labels->points.push_back({text, look, at, half + 2});
      ordered.Added(id);
    }
  }
  return drawn;
}

void LayerPainter::DrawStyledFeature(const FeatureStore& store, int id, const FeatureStyle& style) {
  const int type = store.TypeOf(id);
  if (type == kFeaturePoint) {
    if (store.PartCount(id) == 0 || store.Part(id, 0).empty()) return;
    const QPointF at = xf_(store.Part(id, 0).front());
    const qreal ratio = painter_.device() ? painter_.device()->devicePixelRatio() : 1.0;
    const QImage marker = MarkerBitmap(style.SymbolBitmapName, style.SymbolBitmapSize, ratio);
    const QSizeF size = marker.deviceIndependentSize();
    painter_.drawImage(at - QPointF(size.width() / 2, size.height() / 2), marker);
    return;
  }
  QPainterPath path;
  if (type == kFeatureRegion) {
    if (!RegionPath(store, id, path)) return;
    painter_.setPen(Pen(qiwu::ColorFromBGR(style.RegionBorderColor), style.RegionBorderWidth));
    painter_.setBrush(style.RegionPattern == 0 ? QBrush() : QBrush(qiwu::ColorFromBGR(style.RegionColor)));
    painter_.drawPath(path);
    return;
  }
  for (int part = 0; part < store.PartCount(id); ++part) {
    ToScreen(store.Part(id, part), xf_, kMinStep, scratch_);
    path.addPolygon(scratch_);
  }
  painter_.strokePath(path, Pen(qiwu::ColorFromBGR(style.LineColor), style.LineWidth));
}

void LayerPainter::DrawHighlight(const LayerSnapshot& layer, const std::vector<int>& ids) {
  const FeatureStore& store = layer.Store();
  for (int id : ids) {
    const LayerStyle& style = CaseStyle(layer.Style(), layer.CaseOf(id));
    const int type = store.TypeOf(id);
    QPainterPath path;
    if (type == kFeaturePoint) {
      if (store.PartCount(id) == 0 || store.Part(id, 0).empty()) continue;
      const QPointF at = xf_(store.Part(id, 0).front());
      const double radius = style.symbolSize / 2 + 5;
      painter_.setPen(QPen(kGlowEdge, 2));
      painter_.setBrush(kGlow);
      painter_.drawEllipse(at, radius, radius);
    } else if (type == kFeatureRegion) {
      if (!RegionPath(store, id, path)) continue;
      painter_.setPen(QPen(kGlowEdge, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      painter_.setBrush(QColor(kGlow.red(), kGlow.green(), kGlow.blue(), 60));
      painter_.drawPath(path);
      continue;
    } else {
      for (int part = 0; part < store.PartCount(id); ++part) {
        ToScreen(store.Part(id, part), xf_, kMinStep, scratch_);
        path.addPolygon(scratch_);
      }
      const double width = std::max(style.penWidth, style.casingWidth) + 8;
      painter_.strokePath(path, Pen(kGlow, width));
    }
    // The feature itself over its glow.
    Draw(layer, {id}, nullptr, nullptr);
  }
}
