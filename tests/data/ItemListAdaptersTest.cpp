// The list controls behind ItemList: what a fill leaves in them and which signals it fires.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QListWidget>
#include <QSignalSpy>

#include "kit/ItemListAdapters.h"
#include "tests/support/QtTexts.h"

namespace {

TEST(ComboBoxItems, AFillEmptiesListAndTextAndChoosesNothing) {
  for (const bool editable : {true, false}) {
    QComboBox combo;
    combo.setEditable(editable);
    combo.addItems({"旧1", "旧2"});
    combo.setCurrentIndex(1);
    qiwu::ComboBoxItems items(&combo);
    items.Clear();
    EXPECT_EQ(combo.count(), 0);
    EXPECT_EQ(combo.currentText(), "");

    QSignalSpy indexChanges(&combo, &QComboBox::currentIndexChanged);
    QSignalSpy textChanges(&combo, &QComboBox::currentTextChanged);
    items.AddItem("1路");
    items.AddItem("2路");
    EXPECT_EQ(Items(&combo), QStringList({"1路", "2路"}));
    EXPECT_EQ(combo.currentIndex(), -1) << editable;
    EXPECT_EQ(combo.currentText(), "") << editable;
    EXPECT_EQ(indexChanges.count(), 0);
    EXPECT_EQ(textChanges.count(), 0);
  }
}

TEST(ComboBoxItems, TypedTextAndAChosenEntryStay) {
  QComboBox combo;
  combo.setEditable(true);
  combo.setEditText("北");
  qiwu::ComboBoxItems items(&combo);
  items.AddItem("北门");
  EXPECT_EQ(combo.currentText(), "北");
  combo.setCurrentIndex(0);
  items.AddItem("南门");
  EXPECT_EQ(combo.currentIndex(), 0);
  EXPECT_EQ(combo.currentText(), "北门");
}

TEST(ListWidgetItems, ClearAndAdd) {
  QListWidget list;
  list.addItem("旧");
  qiwu::ListWidgetItems items(&list);
  items.Clear();
  items.AddItem("01 南门");
  items.AddItem("02 北门");
  ASSERT_EQ(list.count(), 2);
  EXPECT_EQ(list.item(0)->text(), "01 南门");
  EXPECT_EQ(list.item(1)->text(), "02 北门");
}

}  // namespace
