// Texts from the data set never turn into markup on the real window: every label shows its text
// literally, and a tooltip holding an <img> tag loads no picture.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolTip>

#include "bus/BusPanel.h"
#include "features/InfoDrawers.h"
#include "mapwidgets/modMapFunction.h"
#include "tests/app/WindowFixture.h"
#include "tests/app/WindowParts.h"
#include "tests/hostile/DataSetEdits.h"
#include "tests/support/DatabaseColumn.h"
#include "tests/support/WatchedFile.h"

namespace {

// Writes text into every card column of the first restaurant of the city database; its name.
QString FillFirstCard(const QString& root, const QString& text) {
  const QString database = hostile::DatabaseFile(root);
  const QString first = QStringLiteral(" where rowid = (select min(rowid) from 餐饮娱乐)");
  const QString value = "'" + QString(text).replace("'", "''") + "'";
  const QString columns = QStringLiteral("linkman = %1, tel = %1, address = %1, web = %1").arg(value);
  hostile::ExecSql(database, "update 餐饮娱乐 set " + columns + first);
  return DatabaseColumn(database, "select name from 餐饮娱乐" + first).values().value(0);
}

TEST(PlainText, MarkupFromTheDataSetIsShownLiterallyEverywhere) {
  WatchedFile picture;
  const auto dir = apptest::CopyOfDemo();
  const QString restaurant = FillFirstCard(dir->path(), picture.ImageTag());
  apptest::StartedWindow started(dir->path());
  frmMain& w = started.window;
  w.show();

  apptest::Part<InfoDrawers>(w)->imgInfo_Click(0);
  ASSERT_TRUE(LocateFeature(*w.Map1, QStringLiteral("餐饮娱乐"), QStringLiteral("name"), restaurant));
  apptest::Part<BusPanel>(w)->cmdOk_Click();  // no stations typed: the plan window is made, with a message
  ASSERT_NE(apptest::Part<BusPanel>(w)->PlanWindow(), nullptr);
  w.txtObjName->setToolTip(picture.ImageTag());
  QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), w.txtObjName->mapToGlobal(QPoint(2, 2)));
  QApplication::sendEvent(w.txtObjName, &help);
  EXPECT_TRUE(QToolTip::isVisible());
  w.grab();
  QApplication::processEvents();

  for (const QLabel* card :
       {apptest::Part<InfoDrawers>(w)->lblLinkman, apptest::Part<InfoDrawers>(w)->lblTel,
        apptest::Part<InfoDrawers>(w)->lblAddress, apptest::Part<InfoDrawers>(w)->lblWeb})
    EXPECT_EQ(card->text(), picture.ImageTag());
  for (const QLabel* label : w.findChildren<QLabel*>()) {
    if (label->windowType() == Qt::ToolTip) continue;  // Qt's own tip label, showing the text escaped
    EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->text().toStdString();
  }
  EXPECT_FALSE(picture.Opened());
  QToolTip::hideText();
}

}  // namespace
