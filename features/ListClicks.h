#pragma once
// The click of a list box the way the panels need it: once for every mouse click on an item
// (also on the item already selected, so a pick can be repeated after the map moved) and once
// for Enter on the list's current item. Moving the current item by the keyboard, by the focus
// arriving or by code picks nothing: tabbing into a list must not move the map.
#include <QObject>

class QListWidget;

class ListClicks : public QObject {
  Q_OBJECT

 public:
  // Watches list; lives as long as the list.
  explicit ListClicks(QListWidget* list);

 signals:
  void Click();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QListWidget* list_;
};
