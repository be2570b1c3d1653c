// Texts from the data set never turn into markup on the real window: every label shows its text
// literally, and a tooltip holding an <img> tag loads no picture.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolTip>

#include "bus/BusPanel.h"
#include "features/InfoDrawers.h"
#include "map/modMapFunction.h"
#include "tests/app/WindowFixture.h"
#include "tests/support/WatchedFile.h"

namespace {

// Writes text into every card column of the first restaurant of the city database; its name.
QString FillFirstCard(const QString& root, const QString& text) {
  sqlite3* db = nullptr;
  sqlite3_open((root + "/data/" + apptest::kCity + ".mdb").toUtf8().constData(), &db);
  sqlite3_stmt* statement = nullptr;
  sqlite3_prepare_v2(db, "select name from 餐饮娱乐 limit 1", -1, &statement, nullptr);
  QString name;
  if (sqlite3_step(statement) == SQLITE_ROW)
    name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
  sqlite3_finalize(statement);
  sqlite3_prepare_v2(db, "update 餐饮娱乐 set linkman = ?1, tel = ?1, address = ?1, web = ?1 where name = ?2",
                     -1, &statement, nullptr);
  const QByteArray value = text.toUtf8(), key = name.toUtf8();
  sqlite3_bind_text(statement, 1, value.constData(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_text(statement, 2, key.constData(), -1, SQLITE_TRANSIENT);
  const int stepped = sqlite3_step(statement);
  sqlite3_finalize(statement);
  sqlite3_close(db);
  EXPECT_EQ(stepped, SQLITE_DONE);
  return name;
}

TEST(PlainText, MarkupFromTheDataSetIsShownLiterallyEverywhere) {
  WatchedFile picture;
  const auto dir = apptest::CopyOfDemo();
  const QString restaurant = FillFirstCard(dir->path(), picture.ImageTag());
  apptest::StartedWindow started(dir->path());
  frmMain& w = started.window;
  w.show();

  w.drawers->imgInfo_Click(0);
  ASSERT_TRUE(LocateFeature(*w.Map1, QStringLiteral("餐饮娱乐"), QStringLiteral("name"), restaurant));
  w.bus->cmdOk_Click();  // no stations typed: the plan window is made, with a message
  ASSERT_NE(w.bus->PlanWindow(), nullptr);
  w.txtObjName->setToolTip(picture.ImageTag());
  QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), w.txtObjName->mapToGlobal(QPoint(2, 2)));
  QApplication::sendEvent(w.txtObjName, &help);
  EXPECT_TRUE(QToolTip::isVisible());
  w.grab();
  QApplication::processEvents();

  for (const QLabel* card :
       {w.drawers->lblLinkman, w.drawers->lblTel, w.drawers->lblAddress, w.drawers->lblWeb})
    EXPECT_EQ(card->text(), picture.ImageTag());
  for (const QLabel* label : w.findChildren<QLabel*>()) {
    if (label->windowType() == Qt::ToolTip) continue;  // Qt's own tip label, showing the text escaped
    EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->text().toStdString();
  }
  EXPECT_FALSE(picture.Opened());
  QToolTip::hideText();
}

}  // namespace
