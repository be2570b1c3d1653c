#include "features/ListClicks.h"

#include <QEvent>
#include <QListWidget>

ListClicks::ListClicks(QListWidget* list) : QObject(list) {
  list->viewport()->installEventFilter(this);
  connect(list, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row >= 0 && !mousePressed_) emit Click();
  });
  connect(list, &QListWidget::itemClicked, this, [this] { emit Click(); });
}

bool ListClicks::eventFilter(QObject* /*watched*/, QEvent* event) {
  // Seen before the list handles the event: the press changes the current item, the release
  // (after this filter) reports the click.
  if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)
    mousePressed_ = true;
  else if (event->type() == QEvent::MouseButtonRelease)
    mousePressed_ = false;
  return false;
}
