// The bus panel driven as a user drives it: clicks, typing, Tab and double clicks on the real
// widgets, against a small bus table and a real map.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <string>

#include "bus/BusPanel.h"
#include "kit/Twips.h"
#include "mapwidgets/MapControl.h"
#include "tests/bus/BusPanelFixture.h"
#include "tests/support/QtTexts.h"

namespace {

QSet<QString> AsSet(const QStringList& list) { return {list.begin(), list.end()}; }

// Types text key by key; QTest::keyClicks knows Latin keys only, so each character goes as the
// text of a key event, the way an input method delivers it.
void TypeText(QWidget* widget, const QString& text) {
  for (const QChar ch : text)
    QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

// Replaces the text of a line edit by typing, as a user does: select all, then the keys.
void TypeInto(QLineEdit* edit, const QString& text) {
  QTest::mouseClick(edit, Qt::LeftButton);
  QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
  if (text.isEmpty()) {
    QTest::keyClick(edit, Qt::Key_Backspace);
  } else {
    TypeText(edit, text);
  }
}

void ClickItem(QListWidget* list, int row, bool twice = false) {
  const QRect rect = list->visualItemRect(list->item(row));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
  if (twice) QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

class BusPanelTest : public ::testing::Test {
 protected:
  BusPanelTest() {
    // The window's shared lstShow handler calls the panel for index 3.
    QObject::connect(p.lstShow3, &QListWidget::itemClicked, [this] { p.ShowListEntry(); });
    p.optLine->setChecked(true);  // what start-up does
  }

  // The feature selected on the map: layer name and feature name, or empty.
  QStringList Selected() const {
    for (int i = 1; i <= h.map->LayerCount(); ++i) {
      Layer* layer = h.map->LayerAt(i);
      if (layer->Selection().Count() > 0) return {layer->Name(), layer->Selection().Item(1).DisplayName()};
    }
    return {};
  }

  PanelHarness h;
  BusPanel& p = *h.panel;
};

TEST(BusPanelLayout, ControlsStandWithTheirDesignTimeTextsInTwips) {
  PanelHarness h;
  BusPanel& p = *h.panel;
  struct Case {
    QWidget* control;
    QWidget* container;
    QRect twips;
    QString text;
  };
  const Case cases[] = {
      {p.Frame1, h.picShow4, {90, -50, 2175, 3300}, p.Frame1->title()},
      {p.optLine, p.Frame1, {120, 160, 1935, 315}, QStringLiteral("线路查询")},
      {p.optStation, p.Frame1, {120, 460, 1935, 315}, QStringLiteral("站名查询")},
      {p.cmbBus, p.Frame1, {60, 850, 2055, 300}, QStringLiteral("Combo1")},
      {p.lstShow3, p.Frame1, {60, 1200, 2055, 1680}, QString()},
      {p.cmdBus, p.Frame1, {60, 2935, 2055, 315}, QStringLiteral("在地图上显示该线路")},
      {p.txtStation[0], h.picShow4, {80, 3300, 2175, 330}, QStringLiteral("出发站")},
      {p.txtStation[1], h.picShow4, {80, 3680, 2175, 330}, QStringLiteral("目的站")},
      {p.lstStation, h.picShow4, {570, 2190, 1695, 1110}, QString()},
      {p.cmdOk, h.picShow4, {1285, 4080, 975, 315}, QStringLiteral("查 询")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(QString(c.control->metaObject()->className() + QStringLiteral(" ") + c.text).toStdString());
    EXPECT_EQ(c.control->parentWidget(), c.container);
    EXPECT_EQ(qiwu::TwipsGeometry(c.control), c.twips);
    QString text;
    if (auto* b = qobject_cast<QAbstractButton*>(c.control)) text = b->text();
    if (auto* e = qobject_cast<QLineEdit*>(c.control)) text = e->text();
    if (auto* cb = qobject_cast<QComboBox*>(c.control)) text = cb->currentText();
    if (auto* g = qobject_cast<QGroupBox*>(c.control)) text = g->title();
    EXPECT_EQ(text, c.text);
  }
  EXPECT_TRUE(p.Frame1->title().isEmpty());
  EXPECT_FALSE(p.lstStation->isVisible());
  EXPECT_FALSE(p.optLine->isChecked());  // no mode until start-up selects one
}

TEST_F(BusPanelTest, SelectingLineModeFromCodeFillsTheLinesAndEmptiesTheList) {
  EXPECT_TRUE(p.LineMode());
  EXPECT_EQ(p.cmdBus->text(), QStringLiteral("在地图上显示该路线"));
  EXPECT_EQ(Items(p.cmbBus), (QStringList{"1路", "2路", "3路", "环城线", "旧线"}));
  EXPECT_EQ(p.cmbBus->currentText(), QString());
  EXPECT_EQ(p.lstShow3->count(), 0);
}

TEST_F(BusPanelTest, OptionClicksSwitchCaptionsAndComboContents) {
  p.cmbBus->setEditText(QStringLiteral("1路"));
  ASSERT_EQ(p.lstShow3->count(), 8);
  QTest::mouseClick(p.optStation, Qt::LeftButton);
  EXPECT_FALSE(p.LineMode());
  EXPECT_EQ(p.cmdBus->text(), QStringLiteral("在地图上显示该站点"));
  EXPECT_EQ(p.lstShow3->count(), 0);
  QSet<QString> stops;
  for (const auto& line : FixtureLines()) stops.unite(AsSet(line.stops));
  EXPECT_EQ(AsSet(Items(p.cmbBus)), stops);
  EXPECT_EQ(p.cmbBus->count(), stops.size());  // distinct

  QTest::mouseClick(p.optLine, Qt::LeftButton);
  EXPECT_TRUE(p.LineMode());
  EXPECT_EQ(p.cmdBus->text(), QStringLiteral("在地图上显示该路线"));
  EXPECT_EQ(p.cmbBus->count(), 5);
}

TEST_F(BusPanelTest, TypingInTheComboListsOnlyForAnExactName) {
  struct Case {
    bool lineMode;
    QString typed;
    QStringList expected;
  };
  const Case cases[] = {
      {true, "1", {}},
      {true, "1路", {"01 东门", "02 西街", "03 北桥", "04 南湖", "05 花园", "06 老街", "07 钟楼", "08 码头"}},
      {true, "3路", {"01 Tony's站", "02 东门", "03 学府"}},
      {true, "Combo1", {}},
      {false, "钟", {}},
      {false, "钟楼", {"1路", "2路"}},
      {false, "Tony's站", {"3路"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(QString(c.typed).toStdString());
    QTest::mouseClick(c.lineMode ? p.optLine : p.optStation, Qt::LeftButton);
    TypeInto(p.cmbBus->lineEdit(), c.typed);
    EXPECT_EQ(Items(p.lstShow3), c.expected);
  }
  EXPECT_TRUE(h.messages.Messages().empty());
}

TEST_F(BusPanelTest, ChoosingFromTheComboListFillsTheList) {
  p.cmbBus->showPopup();
  QAbstractItemView* view = p.cmbBus->view();
  const QModelIndex second = view->model()->index(1, 0);
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(second).center());
  EXPECT_EQ(p.cmbBus->currentText(), QStringLiteral("2路"));
  EXPECT_EQ(Items(p.lstShow3), (QStringList{"01 学府", "02 新村", "03 钟楼", "04 体育馆", "05 火车站"}));
}

TEST(BusPanelListEntry, TheRunningNumberAndItsBlankAreDroppedWhateverTheirLength) {
  struct Case {
    QString entry;
    bool lineMode;
    QString layer;
    QString name;
  };
  const Case cases[] = {
      {"07 钟楼", true, "公交站台", "钟楼"},         {"100 环站100", true, "公交站台", "环站100"},
      {"01 Tony's站", true, "公交站台", "Tony's站"}, {"03 ", true, "公交站台", ""},
      {"01 12 号站", true, "公交站台", "12 号站"},   {"3路", false, "公交路线", "3路"},
      {"12 路", false, "公交路线", "12 路"},
  };
  for (const auto& c : cases) {
    const BusMapTarget target = BusPanel::ListEntryTarget(c.entry, c.lineMode);
    EXPECT_EQ(target.layer, c.layer) << c.entry.toStdString();
    EXPECT_EQ(target.name, c.name) << c.entry.toStdString();
  }
}

TEST_F(BusPanelTest, ClickingAListEntryShowsThatStopOrLineOnTheMap) {
  struct Case {
    bool lineMode;
    QString combo;
    int row;
    QStringList selected;
  };
  const Case cases[] = {
      {true, "1路", 6, {"公交站台", "钟楼"}},
      {true, "环城线", 99, {"公交站台", "环站100"}},
      {true, "3路", 0, {"公交站台", "Tony's站"}},
      {false, "钟楼", 1, {"公交路线", "2路"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(QString(c.combo).toStdString());
    h.map->UnselectAll();
    QTest::mouseClick(c.lineMode ? p.optLine : p.optStation, Qt::LeftButton);
    p.cmbBus->setEditText(c.combo);
    p.lstShow3->scrollToItem(p.lstShow3->item(c.row));
    ClickItem(p.lstShow3, c.row);
    EXPECT_EQ(Selected(), c.selected);
    if (c.lineMode) {
      const QPointF stop = FixtureStopPositions().at(c.selected[1]);
      EXPECT_NEAR(h.map->CenterX(), stop.x(), 0.01);
      EXPECT_NEAR(h.map->CenterY(), stop.y(), 0.01);
    }
  }
  EXPECT_TRUE(h.messages.Messages().empty());
}

TEST_F(BusPanelTest, AStopOrLineTheMapLacksGivesTheNotFoundBox) {
  p.cmbBus->setEditText(QStringLiteral("旧线"));
  ASSERT_EQ(Items(p.lstShow3), (QStringList{"01 废站甲", "02 废站乙"}));
  const double centerBefore = h.map->CenterX();
  ClickItem(p.lstShow3, 0);
  QTest::mouseClick(p.cmdBus, Qt::LeftButton);
  ASSERT_EQ(h.messages.Messages().size(), 2u);
  for (const auto& m : h.messages.Messages()) {
    EXPECT_EQ(m.text, QStringLiteral("没有找到相应图元。 \r\n"));
    EXPECT_EQ(m.icon, qiwu::MsgIcon::Information);
    EXPECT_EQ(m.title, QStringLiteral("栖坞"));
  }
  EXPECT_EQ(h.map->CenterX(), centerBefore);
  EXPECT_TRUE(Selected().isEmpty());
}

TEST_F(BusPanelTest, TheMapButtonShowsTheComboLineOrStop) {
  p.cmbBus->setEditText(QStringLiteral("2路"));
  QTest::mouseClick(p.cmdBus, Qt::LeftButton);
  EXPECT_EQ(Selected(), (QStringList{"公交路线", "2路"}));
  QTest::mouseClick(p.optStation, Qt::LeftButton);
  p.cmbBus->setEditText(QStringLiteral("火车站"));
  QTest::mouseClick(p.cmdBus, Qt::LeftButton);
  EXPECT_EQ(Selected(), (QStringList{"公交站台", "火车站"}));
  EXPECT_TRUE(h.messages.Messages().empty());
}

TEST_F(BusPanelTest, TypingInTheDepartureBoxShowsMatchingStopsAboveIt) {
  struct Case {
    QString typed;
    QSet<QString> expected;  // empty: the list is hidden
  };
  const Case cases[] = {
      {"环站10", {"环站10", "环站100", "环站101", "环站102", "环站103", "环站104", "环站105"}},
      {"", {}},
      {"街", {"西街", "老街"}},
      {"无此站", {}},
      {"Tony's", {"Tony's站"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(QString(c.typed).toStdString());
    TypeInto(p.txtStation[0], c.typed);
    EXPECT_EQ(p.lstStation->isVisible(), !c.expected.isEmpty());
    if (!c.expected.isEmpty()) {
      EXPECT_EQ(AsSet(Items(p.lstStation)), c.expected);
    }
    EXPECT_EQ(qiwu::TwipsTop(p.lstStation), 2190);
  }
  EXPECT_TRUE(h.messages.Messages().empty());
}

TEST_F(BusPanelTest, TabToTheDestinationMovesAndEmptiesTheList) {
  TypeInto(p.txtStation[0], QStringLiteral("东"));
  ASSERT_TRUE(p.lstStation->isVisible());
  QTest::keyClick(p.txtStation[0], Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), p.txtStation[1]);
  EXPECT_FALSE(p.lstStation->isVisible());
  EXPECT_EQ(p.lstStation->count(), 0);
  EXPECT_EQ(qiwu::TwipsTop(p.lstStation), 2570);

  TypeText(p.txtStation[1], QStringLiteral("钟"));  // Tab selected the whole text
  EXPECT_EQ(p.txtStation[1]->text(), QStringLiteral("钟"));
  EXPECT_TRUE(p.lstStation->isVisible());
  EXPECT_EQ(Items(p.lstStation), QStringList{"钟楼"});

  QTest::mouseClick(p.txtStation[0], Qt::LeftButton);  // back: the list moves up and shows "东" again
  EXPECT_EQ(qiwu::TwipsTop(p.lstStation), 2190);
  EXPECT_EQ(Items(p.lstStation), QStringList{"东门"});
  EXPECT_TRUE(p.lstStation->isVisible());
}

TEST_F(BusPanelTest, DoubleClicksFillTheBoxTheListServesAndMoveTheFocusOn) {
  TypeInto(p.txtStation[0], QStringLiteral("钟"));
  ClickItem(p.lstStation, 0, true);
  EXPECT_EQ(p.txtStation[0]->text(), QStringLiteral("钟楼"));
  EXPECT_EQ(QApplication::focusWidget(), p.txtStation[1]);
  EXPECT_FALSE(p.lstStation->isVisible());
  EXPECT_EQ(qiwu::TwipsTop(p.lstStation), 2570);

  QTest::keyClick(p.txtStation[1], Qt::Key_A, Qt::ControlModifier);
  TypeText(p.txtStation[1], QStringLiteral("火"));
  ASSERT_TRUE(p.lstStation->isVisible());
  ClickItem(p.lstStation, 0, true);
  EXPECT_EQ(p.txtStation[1]->text(), QStringLiteral("火车站"));
  EXPECT_EQ(QApplication::focusWidget(), p.cmdOk);
  EXPECT_FALSE(p.lstStation->isVisible());
}

TEST_F(BusPanelTest, TheFocusMayPassIntoTheListButNowhereElse) {
  TypeInto(p.txtStation[0], QStringLiteral("街"));
  ClickItem(p.lstStation, 1);  // a single click only selects
  EXPECT_TRUE(p.lstStation->isVisible());
  EXPECT_EQ(QApplication::focusWidget(), p.lstStation);
  EXPECT_EQ(p.txtStation[0]->text(), QStringLiteral("街"));
  QTest::mouseClick(p.cmdBus, Qt::LeftButton);
  p.cmdBus->setFocus();
  EXPECT_FALSE(p.lstStation->isVisible());

  TypeInto(p.txtStation[0], QStringLiteral("街"));
  p.cmbBus->setFocus();
  EXPECT_FALSE(p.lstStation->isVisible());
}

TEST_F(BusPanelTest, ClickingIntoABoxThatHoldsTextShowsItsSuggestionsAgain) {
  TypeInto(p.txtStation[1], QStringLiteral("钟"));
  p.cmdOk->setFocus();
  ASSERT_FALSE(p.lstStation->isVisible());
  QTest::mouseClick(p.txtStation[1], Qt::LeftButton);
  EXPECT_TRUE(p.lstStation->isVisible());
  EXPECT_EQ(Items(p.lstStation), QStringList{"钟楼"});
  EXPECT_EQ(qiwu::TwipsTop(p.lstStation), 2570);
}

TEST_F(BusPanelTest, EnterOnAFocusedButtonPressesIt) {
  struct Case {
    QPushButton* button;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
  };
  const Case cases[] = {
      {p.cmdOk, Qt::Key_Return, Qt::NoModifier},
      {p.cmdBus, Qt::Key_Enter, Qt::KeypadModifier},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.button->text().toStdString() + " " + std::to_string(c.key));
    QSignalSpy clicks(c.button, &QPushButton::clicked);
    c.button->setFocus(Qt::TabFocusReason);
    QTest::keyClick(c.button, c.key, c.modifiers);
    EXPECT_EQ(clicks.count(), 1);
  }
}

TEST_F(BusPanelTest, ABoxStillHoldingItsLabelOffersItForReplacing) {
  struct Case {
    int box;
    bool byMouse;  // else the focus comes from code, as after a suggestion is taken
    QString typed;
    QString suggested;
  };
  const Case cases[] = {
      {0, true, "东", "东门"},
      {1, true, "钟", "钟楼"},
      {1, false, "火", "火车站"},
  };
  const QString labels[] = {QStringLiteral("出发站"), QStringLiteral("目的站")};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.box);
    QLineEdit* box = p.txtStation[c.box];
    box->setText(labels[c.box]);
    p.cmbBus->setFocus();
    if (c.byMouse)
      QTest::mouseClick(box, Qt::LeftButton);
    else
      box->setFocus(Qt::OtherFocusReason);
    EXPECT_EQ(box->selectedText(), labels[c.box]);
    TypeText(box, c.typed);
    EXPECT_EQ(box->text(), c.typed);
    EXPECT_TRUE(p.lstStation->isVisible());
    EXPECT_EQ(Items(p.lstStation), QStringList{c.suggested});
  }
  // A name of the user's own is not selected: the click places the cursor.
  p.cmbBus->setFocus();
  QTest::mouseClick(p.txtStation[0], Qt::LeftButton);
  EXPECT_FALSE(p.txtStation[0]->hasSelectedText());
}

TEST_F(BusPanelTest, TheKeyboardAloneTakesASuggestion) {
  TypeInto(p.txtStation[0], QStringLiteral("街"));
  QTest::keyClick(p.txtStation[0], Qt::Key_Down);
  EXPECT_EQ(QApplication::focusWidget(), p.lstStation);
  EXPECT_TRUE(p.lstStation->isVisible());
  QTest::keyClick(p.lstStation, Qt::Key_Down);
  const QString chosen = p.lstStation->currentItem()->text();
  QTest::keyClick(p.lstStation, Qt::Key_Return);
  EXPECT_EQ(p.txtStation[0]->text(), chosen);
  EXPECT_EQ(QApplication::focusWidget(), p.txtStation[1]);
}

}  // namespace
