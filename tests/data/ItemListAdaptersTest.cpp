// The combo box behind ItemList: what a fill leaves in it and which signals it fires. The list
// widget's adapter is exercised by every panel list the bus and feature tests fill twice.
#include <gtest/gtest.h>

#include <QComboBox>
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

}  // namespace
