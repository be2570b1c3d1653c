#include "kit/ItemListAdapters.h"

#include <QComboBox>
#include <QListWidget>
#include <QSignalBlocker>

namespace qiwu {

void ListWidgetItems::Clear() { list_->clear(); }

void ListWidgetItems::AddItem(const QString& item) { list_->addItem(item); }

void ComboBoxItems::Clear() {
  combo_->clear();
  if (combo_->isEditable()) combo_->clearEditText();
}

void ComboBoxItems::AddItem(const QString& item) {
  if (combo_->currentIndex() >= 0) {
    combo_->addItem(item);
    return;
  }
  // Qt makes the first item of an empty combo its current one; a list fill chooses nothing.
  // Nothing observable changes (no entry chosen before or after), so no change event is due.
  const QString text = combo_->currentText();
  const QSignalBlocker blocker(combo_);
  combo_->addItem(item);
  combo_->setCurrentIndex(-1);
  if (combo_->isEditable()) combo_->setEditText(text);
}

}  // namespace qiwu
