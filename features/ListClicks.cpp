#include "features/ListClicks.h"

#include <QKeyEvent>
#include <QListWidget>

ListClicks::ListClicks(QListWidget* list) : QObject(list), list_(list) {
  list->installEventFilter(this);
  connect(list, &QListWidget::itemClicked, this, &ListClicks::Click);
}

bool ListClicks::eventFilter(QObject* /*watched*/, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const int key = static_cast<QKeyEvent*>(event)->key();
  if ((key != Qt::Key_Return && key != Qt::Key_Enter) || !list_->currentItem()) return false;
  emit Click();
  return true;
}
