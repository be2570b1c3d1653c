#include "app/StatusBar.h"

#include <QLabel>
#include <QStringList>
#include <cmath>

#include "kit/NumberFormat.h"
#include "kit/PlainText.h"
#include "map/LonLat.h"
#include "mapwidgets/MapControl.h"

using namespace qiwu;

double ScaleDenominator(double metresPerPixel, double dpi) { return metresPerPixel * dpi / 0.0254; }

QString CursorText(MapPoint p) {
  return QStringLiteral("X %1  Y %2").arg(FormatGrouped(p.x, 1), FormatGrouped(p.y, 1));
}

QString LonLatText(const std::optional<MapPoint>& p) {
  if (!p) return QString();
  const QString lon = (p->x < 0 ? QStringLiteral("西经 ") : QStringLiteral("东经 ")) +
                      QString::number(std::fabs(p->x), 'f', 5) + QStringLiteral("°");
  const QString lat = (p->y < 0 ? QStringLiteral("南纬 ") : QStringLiteral("北纬 ")) +
                      QString::number(std::fabs(p->y), 'f', 5) + QStringLiteral("°");
  return lon + QStringLiteral("  ") + lat;
}

QString ScaleText(double metresPerPixel, double dpi) {
  const double n = ScaleDenominator(metresPerPixel, dpi);
  if (!(n > 0) || !std::isfinite(n)) return QString();
  return QStringLiteral("比例尺 1:") + FormatGrouped(n, 0);
}

QString SelectionText(const MapControl& map) {
  int count = 0;
  QStringList layers;
  for (const Layer* layer : map.LayersBottomToTop()) {
    if (layer->IsTemporary() || layer->Selection().Count() == 0) continue;
    count += layer->Selection().Count();
    layers.prepend(layer->Name());  // the top layer first, as the map lists them
  }
  if (count == 0) return QString();
  return QStringLiteral("已选 %1 个：").arg(count) + layers.join(QStringLiteral("、"));
}

QString LastMeasureText(double metres) {
  return QStringLiteral("上次测量 ") + FormatGrouped(metres, 0) + QStringLiteral(" 米");
}

StatusBar::StatusBar(QWidget* parent) : QStatusBar(parent) {
  setSizeGripEnabled(true);
  for (QLabel** label : {&lblCursor, &lblLonLat, &lblScale, &lblSelection, &lblMeasure}) {
    *label = NewLabel(this);
    (*label)->setContentsMargins(6, 0, 6, 0);
  }
  lblCursor->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("X 0,000,000.0  Y 0,000,000.0")) +
                             12);
  addWidget(lblCursor);
  addWidget(lblLonLat);
  addWidget(lblSelection, 1);
  addPermanentWidget(lblMeasure);
  addPermanentWidget(lblScale);
}

StatusBar::~StatusBar() = default;

void StatusBar::ShowCursor(const MapControl& map, MapPoint p) {
  if (!lonLat_ || map.Projection() != projection_) {
    projection_ = map.Projection();
    lonLat_ = std::make_unique<LonLatTransform>(projection_);
  }
  lblCursor->setText(CursorText(p));
  lblLonLat->setText(LonLatText(lonLat_->ToLonLat(p)));
}

void StatusBar::ShowScale(const MapControl& map) {
  lblScale->setText(ScaleText(map.View().PixelSize(), map.physicalDpiX()));
}

void StatusBar::ShowSelection(const MapControl& map) { lblSelection->setText(SelectionText(map)); }

void StatusBar::ShowLastMeasure(double metres) { lblMeasure->setText(LastMeasureText(metres)); }
