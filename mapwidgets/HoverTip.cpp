#include "mapwidgets/HoverTip.h"

#include <QMouseEvent>
#include <QTimer>
#include <QToolTip>

#include "kit/PlainText.h"
#include "mapwidgets/FeaturePick.h"
#include "mapwidgets/MapControl.h"

QString HoverText(const MapControl& map, QPointF screen) {
  const std::optional<PickedFeature> picked = FeatureUnder(map, screen);
  if (!picked) return QString();
  const QString layer = QStringLiteral("图层：") + picked->layer->Name();
  const QString name = picked->layer->FeatureForId(picked->id).DisplayName();
  return name.isEmpty() ? layer : name + QLatin1Char('\n') + layer;
}

HoverTip::HoverTip(MapControl& map) : QObject(&map), map_(map), pause_(new QTimer(this)) {
  pause_->setSingleShot(true);
  pause_->setInterval(kHoverPauseMs);
  connect(pause_, &QTimer::timeout, this, &HoverTip::ShowNow);
  map.installEventFilter(this);
}

void HoverTip::ShowNow() {
  const QString text = HoverText(map_, at_);
  if (text.isEmpty())
    QToolTip::hideText();
  else
    QToolTip::showText(map_.mapToGlobal(at_), qiwu::PlainToolTipText(text), &map_);
}

bool HoverTip::eventFilter(QObject*, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseMove: {
      const auto* move = static_cast<QMouseEvent*>(event);
      at_ = move->position().toPoint();
      if (move->buttons() == Qt::NoButton)
        pause_->start();
      else
        pause_->stop();
      break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::Wheel:
    case QEvent::Leave:
      pause_->stop();
      QToolTip::hideText();
      break;
    default:
      break;
  }
  return false;
}
