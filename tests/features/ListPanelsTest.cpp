// Type browse, keyword search and the shared list click, driven on the fixture city.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <array>
#include <string>

#include "data/modDBAccess.h"
#include "tests/features/FixtureCity.h"
#include "tests/features/PanelHarness.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/QtTexts.h"

namespace {

const QString kNotFound = QStringLiteral("没有找到相应图元。 \r\n");

TEST(TypeBrowse, ChoosingATypeListsItsNamesOnceInOrder) {
  MessageRecorder messages;
  PanelHarness h;
  PanelHarness::Choose(h.typeBrowse->cmbType0, QStringLiteral("大中专院校"));
  EXPECT_EQ(Items(h.typeBrowse->lstShow0),
            (QStringList{QStringLiteral("栖坞大学"), QStringLiteral("同名楼")}));
  PanelHarness::Choose(h.typeBrowse->cmbType0, QStringLiteral("餐饮娱乐"));
  // 连锁快餐 is in the table twice and listed once.
  EXPECT_EQ(Items(h.typeBrowse->lstShow0).count(QStringLiteral("连锁快餐")), 1);
  EXPECT_EQ(h.typeBrowse->lstShow0->count(), int(fixture::Restaurants().size()) - 1);
  EXPECT_TRUE(messages.Messages().empty());
}

TEST(TypeBrowse, AnotherPanelsSelectorRelistsTheTypeBrowseList) {
  PanelHarness h;
  PanelHarness::Choose(h.typeBrowse->cmbType0, QStringLiteral("大中专院校"));
  for (QComboBox* other : {h.radius->cmbType1, h.nearest->cmbType2}) {
    h.typeBrowse->lstShow0->clear();
    h.radius->lstShow2->addItem(QStringLiteral("旧结果"));
    PanelHarness::Choose(other, other->currentText() == QStringLiteral("金融银行")
                                    ? QStringLiteral("餐饮娱乐")
                                    : QStringLiteral("金融银行"));
    // Listed from cmbType(0), whatever the other selector shows; its own panel is untouched.
    EXPECT_EQ(Items(h.typeBrowse->lstShow0),
              (QStringList{QStringLiteral("栖坞大学"), QStringLiteral("同名楼")}));
    EXPECT_EQ(Items(h.radius->lstShow2), QStringList{QStringLiteral("旧结果")});
    h.radius->lstShow2->clear();
  }
}

TEST(TypeBrowse, PickingANameSelectsItOnTheMap) {
  MessageRecorder messages;
  PanelHarness h;
  PanelHarness::Choose(h.typeBrowse->cmbType0, QStringLiteral("金融银行"));
  PanelHarness::ClickRow(h.typeBrowse->lstShow0,
                         int(Items(h.typeBrowse->lstShow0).indexOf(QStringLiteral("同名楼"))));
  EXPECT_EQ(h.SelectedFeatures(), QStringList{QStringLiteral("同名楼(金融银行)")});
  EXPECT_DOUBLE_EQ(h.Map1->CenterX(), fixture::Banks()[2].at.x);
  EXPECT_DOUBLE_EQ(h.Map1->ViewWidth(), 1000);
  EXPECT_TRUE(messages.Messages().empty());
}

TEST(Keyword, EveryChangeSearchesAndEmptyingRunsNoQuery) {
  MessageRecorder messages;
  PanelHarness h;
  for (const QChar typed : QStringLiteral("同名")) h.keyword->txtLike->insert(typed);
  EXPECT_EQ(Items(h.keyword->lstShow1), QStringList{QStringLiteral("同名楼")});  // two tables, listed once
  h.keyword->txtLike->setText(QStringLiteral("路"));
  EXPECT_EQ(Items(h.keyword->lstShow1), QStringList{QStringLiteral("解放路")});

  // Emptying the box must not query: an empty keyword would list every name.
  h.keyword->txtLike->clear();
  EXPECT_EQ(h.keyword->lstShow1->count(), 0);
  EXPECT_TRUE(messages.Messages().empty());

  h.keyword->txtLike->setText(QStringLiteral("不存在的名字"));
  EXPECT_EQ(h.keyword->lstShow1->count(), 0);
  EXPECT_TRUE(messages.Messages().empty());
}

TEST(ListPanels, ReadTheDatabaseTheyWereGivenWhicheverIsCurrent) {
  MessageRecorder messages;
  PanelHarness h;
  CityDatabase unopened;
  const modDBAccess::CurrentCity other(unopened);
  PanelHarness::Choose(h.typeBrowse->cmbType0, QStringLiteral("大中专院校"));
  EXPECT_EQ(Items(h.typeBrowse->lstShow0),
            (QStringList{QStringLiteral("栖坞大学"), QStringLiteral("同名楼")}));
  h.keyword->txtLike->setText(QStringLiteral("同名"));
  EXPECT_EQ(Items(h.keyword->lstShow1), QStringList{QStringLiteral("同名楼")});
  EXPECT_TRUE(messages.Messages().empty());
}

// A name with an apostrophe is found and picked; a name in two layers picks the layer nearest the
// top (大中专院校 at position 3, above 金融银行 at 4).
TEST(Keyword, APickedNameIsSelectedInTheTopmostLayerHoldingIt) {
  const struct {
    const char* typed;
    QString listed, selected;
  } cases[] = {
      {"O'Ne", "O'Neil 酒吧", "O'Neil 酒吧(餐饮娱乐)"},
      {"同名楼", "同名楼", "同名楼(大中专院校)"},
  };
  for (const auto& c : cases) {
    MessageRecorder messages;
    PanelHarness h;
    ASSERT_EQ(h.Map1->LayerAt(3)->Name(), QStringLiteral("大中专院校"));
    ASSERT_EQ(h.Map1->LayerAt(4)->Name(), QStringLiteral("金融银行"));
    h.keyword->txtLike->setText(QString::fromUtf8(c.typed));
    ASSERT_EQ(Items(h.keyword->lstShow1), QStringList{c.listed});
    PanelHarness::ClickRow(h.keyword->lstShow1, 0);
    EXPECT_EQ(h.SelectedFeatures(), QStringList{c.selected});
    EXPECT_TRUE(messages.Messages().empty());
  }
}

TEST(ListClick, ANameOnNoLayerShowsTheNotFoundBoxOncePerClick) {
  MessageRecorder messages;
  PanelHarness h;
  h.keyword->txtLike->setText(QStringLiteral("栖霞"));
  ASSERT_EQ(Items(h.keyword->lstShow1), QStringList{QStringLiteral("栖霞古寺")});
  const MapRect before = h.Map1->Bounds();
  QListWidget* list = h.keyword->lstShow1;
  const QPoint itemCentre = list->visualItemRect(list->item(0)).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, itemCentre);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, itemCentre);  // the same item again
  ASSERT_EQ(messages.Messages().size(), 2u);
  for (const qiwu::Message& m : messages.Messages()) {
    EXPECT_EQ(m.text, kNotFound);
    EXPECT_EQ(m.icon, qiwu::MsgIcon::Information);
    EXPECT_EQ(m.title, QStringLiteral("栖坞"));
  }
  EXPECT_EQ(list->currentRow(), 0);  // the list keeps its selection
  EXPECT_DOUBLE_EQ(h.Map1->Bounds().minX, before.minX);
  EXPECT_TRUE(h.SelectedFeatures().isEmpty());
}

// Moves the focus into list with the Tab key from the focusable widget before it.
void TabInto(QListWidget* list) {
  QWidget* before = list->previousInFocusChain();
  while (!(before->focusPolicy() & Qt::TabFocus) || !before->isVisible())
    before = before->previousInFocusChain();
  before->setFocus();
  QTest::keyClick(before, Qt::Key_Tab);
}

TEST(ListClick, OnlyAClickOrEnterPicksInEveryList) {
  MessageRecorder messages;
  PanelHarness h;
  h.window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(h.window.get()));
  // Names no layer has: every pick of lists 0 to 2 ends in one not-found box, and the bus list
  // counts the calls of its own lookup.
  auto picks = [&] { return int(messages.Messages().size()) + h.busEntryShown; };
  const std::array lists{h.typeBrowse->lstShow0, h.keyword->lstShow1, h.radius->lstShow2, h.lstShow3};
  for (std::size_t i = 0; i < lists.size(); ++i) {
    SCOPED_TRACE("lstShow(" + std::to_string(i) + ")");
    QListWidget* list = lists[i];
    list->clear();
    list->addItems({QStringLiteral("无此地物甲"), QStringLiteral("无此地物乙")});
    const int before = picks();
    TabInto(list);
    ASSERT_EQ(QApplication::focusWidget(), list);
    EXPECT_EQ(list->currentRow(), 0);  // Qt makes the first row current on focus: no pick
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(picks() - before, 0);
    QTest::keyClick(list, Qt::Key_Return);
    QTest::keyClick(list, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(picks() - before, 2);
    PanelHarness::ClickRow(list, 0);
    PanelHarness::ClickRow(list, 0);  // the same item again picks again, once
    EXPECT_EQ(picks() - before, 4);
  }
}

}  // namespace
