// The form kit: number formats, the line control's twips, the image list and the real
// message box.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "kit/ImageList.h"
#include "kit/LineControl.h"
#include "kit/MessageBoxSink.h"
#include "kit/Messages.h"
#include "kit/NumberFormat.h"
#include "kit/Twips.h"
#include "tests/support/WatchedFile.h"

TEST(FormatGrouped, GroupsThousandsAndRoundsHalvesAwayFromZero) {
  const struct {
    double value;
    int decimals;
    const char* text;
  } cases[] = {
      {1234.5, 2, "1,234.50"}, {100, 2, "100.00"},       {46200, 2, "46,200.00"},
      {0, 2, "0.00"},          {999.995, 2, "1,000.00"}, {1234567.891, 2, "1,234,567.89"},
      {700, 0, "700"},         {1234.6, 0, "1,235"},     {0.5, 0, "1"},
      {2.5, 0, "3"},           {-1234.5, 0, "-1,235"},   {-0.2, 0, "0"},
      {999, 0, "999"},         {1000, 0, "1,000"},       {12.345, 1, "12.3"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(qiwu::FormatGrouped(c.value, c.decimals), QString::fromUtf8(c.text))
        << c.value << " " << c.decimals;
}

TEST(LineControl, EndPointsReadBackInTwipsAndPlaceTheControl) {
  QWidget form;
  qiwu::LineControl line(&form, 240, 1080, 240, 7560, 0x808080);
  EXPECT_EQ(line.Y2(), 7560);
  line.SetY2(3020);
  EXPECT_EQ(line.X1(), 240);
  EXPECT_EQ(line.Y1(), 1080);
  EXPECT_EQ(line.Y2(), 3020);
  // The control spans the line from its upper end, a pixel wide.
  EXPECT_EQ(qiwu::TwipsLeft(&line), 240);
  EXPECT_EQ(qiwu::TwipsTop(&line), 1080);
  EXPECT_EQ(line.geometry().top(), qiwu::TwipsToPixels(1080, &line));
  EXPECT_EQ(line.geometry().height(), qiwu::TwipsToPixels(3020 - 1080, &line) + 1);
  // An end above the start still covers the span between them.
  line.SetY2(600);
  EXPECT_EQ(qiwu::TwipsTop(&line), 600);
}

TEST(ImageList, NumbersFromOneAndFindsByKey) {
  qiwu::ImageList images;
  QPixmap a(4, 4), b(4, 4);
  images.Add(QStringLiteral("pointer1"), a);
  images.Add(QStringLiteral("Hand"), b);
  EXPECT_EQ(images.Count(), 2);
  EXPECT_EQ(images.Picture(1).cacheKey(), a.cacheKey());
  EXPECT_EQ(images.Picture(QStringLiteral("Hand")).cacheKey(), b.cacheKey());
  EXPECT_EQ(images.Key(2), QStringLiteral("Hand"));
  EXPECT_TRUE(images.Picture(0).isNull());
  EXPECT_TRUE(images.Picture(3).isNull());
  EXPECT_TRUE(images.Picture(QStringLiteral("hand")).isNull());
}

// The real box: modal, with the icon, text and title given and one button "确定".
namespace {
struct ShownBox {
  QString text, title, buttons;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  Qt::TextFormat format = Qt::AutoText;
};

// Shows a message through the real sink and reads the modal box before closing it.
ShownBox ShowThroughSink(const QString& text, qiwu::MsgIcon icon, const QString& title) {
  qiwu::InstallMessageBoxSink();
  ShownBox shown;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    shown = {box->text(), box->windowTitle(), {}, box->icon(), box->textFormat()};
    for (QAbstractButton* b : box->buttons()) shown.buttons += b->text() + ";";
    box->buttons().front()->click();
  });
  qiwu::MsgBox(text, icon, title);
  qiwu::SetMessageSink(nullptr);
  return shown;
}
}  // namespace

TEST(MessageBoxSink, ShowsAModalBoxWithOneOkButton) {
  const ShownBox box = ShowThroughSink(QStringLiteral("连接数据库错误"), qiwu::MsgIcon::Critical,
                                       QStringLiteral("数据库错误"));
  EXPECT_EQ(box.text, QStringLiteral("连接数据库错误"));
  EXPECT_EQ(box.title, QStringLiteral("数据库错误"));
  EXPECT_EQ(box.icon, QMessageBox::Critical);
  EXPECT_EQ(box.buttons, QStringLiteral("确定;"));
}

// Box texts carry names and descriptions from the data set.
TEST(MessageBoxSink, ShowsMarkupFromTheDataSetAsPlainText) {
  WatchedFile picture;
  const QString text = QStringLiteral("地图上没有“%1”图层，无法查询。").arg(picture.ImageTag());
  const ShownBox box = ShowThroughSink(text, qiwu::MsgIcon::Information, QString());
  EXPECT_EQ(box.format, Qt::PlainText);
  EXPECT_EQ(box.text, text);
  EXPECT_FALSE(picture.Opened());
}
