#pragma once
// The list controls behind the ItemList interface of the query builders.
#include "kit/ItemList.h"

class QComboBox;
class QListWidget;

namespace qiwu {

// A list box: Clear empties it, AddItem appends. The widget is not owned.
class ListWidgetItems : public ItemList {
 public:
  explicit ListWidgetItems(QListWidget* list) : list_(list) {}
  void Clear() override;
  void AddItem(const QString& item) override;

 private:
  QListWidget* list_;
};

// A combo box: Clear empties its list and its text; AddItem appends without choosing an entry,
// so a combo that had no current entry still has none (and fires no change) after a fill.
// The widget is not owned.
class ComboBoxItems : public ItemList {
 public:
  explicit ComboBoxItems(QComboBox* combo) : combo_(combo) {}
  void Clear() override;
  void AddItem(const QString& item) override;

 private:
  QComboBox* combo_;
};

}  // namespace qiwu
