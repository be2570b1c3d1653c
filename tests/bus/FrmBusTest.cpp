// The plan window as the search button fills it: created hidden on first use, shown once, kept
// in place by later searches, recreated after the user closes it.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>

#include "bus/BusPanel.h"
#include "bus/PlanTextBox.h"
#include "bus/frmBus.h"
#include "kit/Twips.h"
#include "tests/bus/BusPanelFixture.h"

namespace {

const QString kWrongName = QStringLiteral("站名输入有误！\r\n======***======*****======***======");

class FrmBusTest : public ::testing::Test {
 protected:
  PanelHarness h;
  BusPanel& p = *h.panel;
};

// The first search, on the boxes' design-time names, makes the window: an owned top-level window
// laid out in twips, showing the wrong-name answer.
TEST_F(FrmBusTest, TheDesignTimeNamesAreSearchedInAnOwnedWindowLaidOutInTwips) {
  ASSERT_EQ(p.PlanWindow(), nullptr);
  QTest::mouseClick(p.cmdOk, Qt::LeftButton);
  frmBus* w = p.PlanWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->isVisible());
  EXPECT_EQ(w->txtStart->text(), QStringLiteral("出发站"));
  EXPECT_EQ(w->txtEnd->text(), QStringLiteral("目的站"));
  EXPECT_EQ(w->rtxtBusChange->Text(), kWrongName);
  EXPECT_TRUE(h.messages.Messages().empty());

  EXPECT_TRUE(w->isWindow());
  EXPECT_EQ(w->parentWidget(), &h.window);
  EXPECT_EQ(w->windowTitle(), QStringLiteral("公交换乘"));
  EXPECT_EQ(w->size(), QSize(qiwu::TwipsToPixels(4215, w), qiwu::TwipsToPixels(5085, w)));
  EXPECT_EQ(w->Frame1->title(), QStringLiteral("乖车方案"));
  EXPECT_EQ(w->Label1[0]->text(), QStringLiteral("出发站"));
  EXPECT_EQ(w->Label1[1]->text(), QStringLiteral("目的站"));
  EXPECT_EQ(qiwu::TwipsGeometry(w->txtStart), QRect(960, 120, 2895, 270));
  EXPECT_EQ(qiwu::TwipsGeometry(w->txtEnd), QRect(960, 480, 2895, 270));
  EXPECT_EQ(qiwu::TwipsGeometry(w->Frame1), QRect(240, 960, 3735, 3975));
  EXPECT_EQ(w->rtxtBusChange->parentWidget(), w->Frame1);
  EXPECT_EQ(qiwu::TwipsGeometry(w->rtxtBusChange), QRect(120, 240, 3495, 3615));
}

TEST_F(FrmBusTest, ThePlanBoxKeepsTheAnswerWithItsLineBreaks) {
  h.Search(QStringLiteral("东门"), QStringLiteral("火车站"));
  const frmBus* w = p.PlanWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->rtxtBusChange->Text(), QStringLiteral("3路-->学府 换 2路 经过 5 站\r\n"
                                                     "1路-->钟楼 换 2路 经过 8 站\r\n"
                                                     "======***======*****======***======"));
  EXPECT_EQ(w->rtxtBusChange->blockCount(), 3);
  EXPECT_EQ(w->rtxtBusChange->document()->findBlockByNumber(1).text(),
            QStringLiteral("1路-->钟楼 换 2路 经过 8 站"));
}

TEST_F(FrmBusTest, ASecondSearchUpdatesTheOpenWindowInPlace) {
  h.Search(QStringLiteral("东门"), QStringLiteral("钟楼"));
  frmBus* first = p.PlanWindow();
  ASSERT_NE(first, nullptr);
  first->move(first->pos() + QPoint(37, 21));
  const QPoint placed = first->pos();
  h.window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&h.window));

  h.Search(QStringLiteral("钟楼"), QStringLiteral("东门"));
  EXPECT_EQ(p.PlanWindow(), first);
  EXPECT_TRUE(first->isVisible());
  EXPECT_EQ(first->pos(), placed);
  EXPECT_EQ(QApplication::activeWindow(), &h.window);  // not activated again
  EXPECT_EQ(first->txtStart->text(), QStringLiteral("钟楼"));
  EXPECT_EQ(first->txtEnd->text(), QStringLiteral("东门"));
  EXPECT_EQ(first->rtxtBusChange->Text(), QStringLiteral("1路  直达；经过 6 站\r\n"));
}

TEST_F(FrmBusTest, RefusedSearchesStillWriteBothNamesButKeepThePlan) {
  struct Case {
    QString departure;
    QString destination;
    QString message;
    qiwu::MsgIcon icon;
  };
  const Case cases[] = {
      {"东门", "", "请输入站名", qiwu::MsgIcon::Information},
      {"", "钟楼", "请输入站名", qiwu::MsgIcon::Information},
      {"", "", "请输入站名", qiwu::MsgIcon::Information},
      {"钟楼", "钟楼", "出发站名与目的站名相同", qiwu::MsgIcon::Critical},
  };
  h.Search(QStringLiteral("东门"), QStringLiteral("钟楼"));
  frmBus* w = p.PlanWindow();
  ASSERT_NE(w, nullptr);
  const QString plan = w->rtxtBusChange->Text();
  for (const auto& c : cases) {
    SCOPED_TRACE(QString(c.departure + "/" + c.destination).toStdString());
    h.messages.Clear();
    h.Search(c.departure, c.destination);
    ASSERT_EQ(h.messages.Messages().size(), 1u);
    EXPECT_EQ(h.messages.Messages()[0].text, c.message);
    EXPECT_EQ(h.messages.Messages()[0].icon, c.icon);
    EXPECT_EQ(h.messages.Messages()[0].title, QStringLiteral("公交查询"));
    EXPECT_EQ(w->txtStart->text(), c.departure);
    EXPECT_EQ(w->txtEnd->text(), c.destination);
    EXPECT_EQ(w->rtxtBusChange->Text(), plan);
  }
}

TEST_F(FrmBusTest, AFirstSearchWithAnEmptyBoxCreatesTheWindowHiddenWithBothNames) {
  QString namesAtMessage;
  qiwu::SetMessageSink([&](const qiwu::Message&) {
    frmBus* w = p.PlanWindow();
    namesAtMessage = w ? w->txtStart->text() + "|" + w->txtEnd->text() : QStringLiteral("no window");
  });
  h.Search(QStringLiteral("东门"), QString());
  EXPECT_EQ(namesAtMessage, QStringLiteral("东门|"));
  ASSERT_NE(p.PlanWindow(), nullptr);
  EXPECT_FALSE(p.PlanWindow()->isVisible());
}

TEST_F(FrmBusTest, AFailedQueryLeavesThePlanBoxEmpty) {
  h.Search(QStringLiteral("东门"), QStringLiteral("钟楼"));
  ASSERT_FALSE(p.PlanWindow()->rtxtBusChange->Text().isEmpty());
  const BusDatabase withoutBusTable({{QStringLiteral("1路"), QStringLiteral("东门"), 1, 1}},
                                    QStringLiteral("别的表"));
  ASSERT_TRUE(withoutBusTable.Open());
  h.messages.Clear();
  h.Search(QStringLiteral("东门"), QStringLiteral("码头"));
  EXPECT_TRUE(p.PlanWindow()->rtxtBusChange->Text().isEmpty());
  EXPECT_TRUE(h.messages.Texts().contains(QStringLiteral("运行时错误...")));
}

TEST_F(FrmBusTest, TheWindowIsCreatedAgainAfterTheUserClosesIt) {
  h.Search(QStringLiteral("东门"), QStringLiteral("钟楼"));
  QPointer<frmBus> first = p.PlanWindow();
  ASSERT_TRUE(first);
  first->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(first);
  EXPECT_EQ(p.PlanWindow(), nullptr);

  h.Search(QStringLiteral("东门"), QStringLiteral("火车站"));
  frmBus* second = p.PlanWindow();
  ASSERT_NE(second, nullptr);
  EXPECT_TRUE(second->isVisible());
  EXPECT_EQ(second->txtStart->text(), QStringLiteral("东门"));
  EXPECT_TRUE(second->rtxtBusChange->Text().startsWith(QStringLiteral("3路-->学府")));
}

}  // namespace
