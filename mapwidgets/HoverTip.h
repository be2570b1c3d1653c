#pragma once
// The hover tip of a map: when the pointer rests on the map for a moment (kHoverPauseMs) with no
// button down, a tooltip names the feature under it and its layer (FeaturePick.h), as plain text.
#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QString>

class MapControl;
class QTimer;

inline constexpr int kHoverPauseMs = 500;

// "name\n图层：layer" for the feature under screen, the layer alone for a feature without a name;
// empty where there is none.
QString HoverText(const MapControl& map, QPointF screen);

class HoverTip : public QObject {
 public:
  // Watches map (which owns this object).
  explicit HoverTip(MapControl& map);

  // Shows the tip for the last resting place now, as the pause's end does.
  void ShowNow();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  MapControl& map_;
  QTimer* pause_;
  QPoint at_;
};
