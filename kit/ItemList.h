#pragma once
// What FillList and FillListByKeyword fill: a list box or a combo box behind a small interface,
// so the builders are tested without a window (kit/ItemListAdapters.h wraps the widgets).
#include <QString>
#include <QStringList>

class ItemList {
 public:
  virtual ~ItemList() = default;
  virtual void Clear() = 0;  // a combo box loses its list and its text
  virtual void AddItem(const QString& item) = 0;
};

// A list without a window: the items as plain texts (the command line, tests, benchmarks).
class TextItemList : public ItemList {
 public:
  void Clear() override { items.clear(); }
  void AddItem(const QString& item) override { items << item; }
  QStringList items;
};
