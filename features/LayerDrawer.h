#pragma once
// The 图层 drawer on the right edge, between the card's and the legend's: the main map's layers,
// top first (not the temporary ones), each with a switch, its symbol (and its style cases' under
// it) and "放大后显示" while the view is wider than its display limit. A switch only changes what
// is drawn (Layer::SetShown): searches, selections and display limits go on as before. It opens
// and closes like the other drawers, by its tab, and leaves CardOpen alone. Nothing is kept: a
// loaded workspace starts with every layer switched on.
#include <QCursor>
#include <QObject>
#include <vector>

class Layer;
class MapControl;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;
namespace qiwu {
class ImageControl;
}

class LayerDrawer : public QObject {
  Q_OBJECT

 public:
  // Twips: the drawer lies in the gap between the card's tab (840 to 3015) and the legend's (7800).
  static constexpr int kTop = 3135;
  static constexpr int kHeight = 4545;
  static constexpr int kWidth = 4635;
  inline static const QString kZoomInHint = QStringLiteral("放大后显示");

  // picLayers: the drawer, placed closed by the window. Map1's layers are listed; hand is the
  // cursor over the tab.
  LayerDrawer(QWidget* picLayers, MapControl& Map1, const QCursor& hand);

  QWidget* picLayers;
  qiwu::ImageControl* imgLayers;  // the tab
  QTreeWidget* lstLayers;         // column 0: switch, symbol, name; column 1: the zoom hint
  QPushButton* cmdAttributes;     // "属性…": the selected feature's attributes

  // Lists Map1's layers again, every one switched on as it is (after a workspace load).
  void Refill();
  // The zoom hints for Map1's view width now (after a view change).
  void ShowZoomHints();
  // A click on the tab: opens a drawer that stands exactly closed, else closes it.
  void imgLayers_Click();
  // The window grew by shift twips: the drawer keeps to the map's right edge.
  void KeepToRightEdge(int shift);

 signals:
  // A layer was switched on or off (the map has been asked to redraw).
  void ShownChanged();
  void AttributesRequested();

 private:
  std::vector<Layer*> ListedLayers() const;  // Map1's layers as the list shows them, top first
  void Switched(QTreeWidgetItem* item);

  MapControl& Map1_;
  std::vector<Layer*> layers_;  // by row
  int shift_ = 0;
};
