#pragma once
// The 属性 window: for the one feature selected on the main map, of any layer, its layer, its
// name and every attribute of its layer's data, as plain text (a data set is untrusted). It
// follows the selection while it is open; with nothing or several features selected it says so.
// It is a window of its own beside the main window and leaves the card (详细信息) alone.
#include <QWidget>

class MapControl;
class QLabel;
class QTableWidget;

class AttributeWindow : public QWidget {
  Q_OBJECT

 public:
  // owner: the main window, which the window stays with; Map1: the map whose selection it shows.
  AttributeWindow(MapControl& Map1, QWidget* owner);

  QLabel* lblAttributesHint;    // what is shown, or why nothing is
  QTableWidget* tblAttributes;  // 字段 | 值: 图层, 名称, then the layer's fields in their order

  // Shows the window in front, filled from the selection now.
  void Open();
  // Fills the table from the selection now.
  void Refresh();

 private:
  MapControl& Map1_;
};
