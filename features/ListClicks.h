#pragma once
// The click of a list box the way the panels need it: once for every mouse click on an item
// (also on the item already selected, so a pick can be repeated after the map moved), once for
// every change of the current item by the keyboard or by code, and never twice for one click.
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
  bool mousePressed_ = false;  // a change while the button is down is reported by the click itself
};
