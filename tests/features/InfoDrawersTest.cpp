// The information card and legend drawers, driven through Map1's selection and the drawer tabs.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "features/WebLink.h"
#include "kit/ImageControl.h"
#include "kit/Twips.h"
#include "mapwidgets/modMapFunction.h"
#include "tests/features/FixtureCity.h"
#include "tests/features/PanelHarness.h"
#include "tests/support/MessageRecorder.h"

namespace {

QStringList Card(const InfoDrawers& d) {
  return {d.lblName->text(), d.lblLinkman->text(), d.lblTel->text(), d.lblAddress->text(), d.lblWeb->text()};
}
const QStringList kEmptyCard{"", "", "", "", ""};

QStringList Expected(const fixture::Card& c) {
  return {QString::fromUtf8(c.name), QString::fromUtf8(c.linkman), QString::fromUtf8(c.tel),
          QString::fromUtf8(c.address), QString::fromUtf8(c.web)};
}

void Select(PanelHarness& h, const QString& layer, const QString& name) {
  ASSERT_TRUE(LocateFeature(*h.Map1, layer, QStringLiteral("name"), name)) << name.toStdString();
}

void ClickTab(PanelHarness& h, int i) { QTest::mouseClick(h.drawers->imgInfo[i], Qt::LeftButton); }

TEST(InfoCard, DrawersAndControlsSitWhereTheyBelong) {
  PanelHarness h;
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(qiwu::TwipsGeometry(h.drawers->imgInfo[i]), QRect(0, 0, 405, 2175));
    EXPECT_EQ(qiwu::TwipsLeft(h.picInfo[i]), InfoDrawers::kClosedLeft);
  }
  const QStringList captions{"名    称", "联 系 人", "联系电话", "联系地址", "网站链接"};
  const int captionTops[] = {240, 637, 997, 1357, 1717};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(h.drawers->lbl[i]->text(), captions[i]);
    EXPECT_EQ(qiwu::TwipsGeometry(h.drawers->lbl[i]), QRect(500, captionTops[i], 720, 180));
  }
  EXPECT_EQ(qiwu::TwipsGeometry(h.drawers->lblWeb), QRect(1320, 1680, 3015, 255));
  EXPECT_EQ(qiwu::TwipsGeometry(h.drawers->Image4), QRect(420, 120, 4095, 1890));
}

TEST(InfoCard, ARestaurantFillsTheCardOnlyWhileItIsOpen) {
  MessageRecorder messages;
  PanelHarness h;
  Select(h, QStringLiteral("餐饮娱乐"), QStringLiteral("湖畔酒家"));
  EXPECT_EQ(h.txtObjName->text(), QStringLiteral("湖畔酒家(餐饮娱乐)"));
  EXPECT_EQ(Card(*h.drawers), kEmptyCard);

  ClickTab(h, 0);
  EXPECT_EQ(qiwu::TwipsLeft(h.picInfo[0]), InfoDrawers::kOpenLeft);
  EXPECT_TRUE(h.drawers->CardOpen);
  EXPECT_EQ(Card(*h.drawers), Expected(fixture::kCards[0]));

  // A name with an apostrophe is looked up like any other.
  Select(h, QStringLiteral("餐饮娱乐"), QStringLiteral("O'Neil 酒吧"));
  EXPECT_EQ(Card(*h.drawers), Expected(fixture::kCards[1]));
  // A restaurant without card columns: the name, and empty values.
  Select(h, QStringLiteral("餐饮娱乐"), QStringLiteral("老街面馆"));
  EXPECT_EQ(Card(*h.drawers), (QStringList{"老街面馆", "", "", "", ""}));
  EXPECT_TRUE(messages.Messages().empty());

  ClickTab(h, 0);
  EXPECT_EQ(qiwu::TwipsLeft(h.picInfo[0]), InfoDrawers::kClosedLeft);
  EXPECT_FALSE(h.drawers->CardOpen);
}

TEST(InfoCard, OnlyOneSelectedFeatureIsShown) {
  PanelHarness h;
  ClickTab(h, 0);
  Select(h, QStringLiteral("金融银行"), QStringLiteral("工商银行"));
  EXPECT_EQ(h.txtObjName->text(), QStringLiteral("工商银行(金融银行)"));
  EXPECT_EQ(Card(*h.drawers), kEmptyCard);

  const auto selectAndCheckEmpty = [&](const std::function<void()>& select) {
    Select(h, QStringLiteral("餐饮娱乐"), QStringLiteral("湖畔酒家"));
    ASSERT_FALSE(h.txtObjName->text().isEmpty());
    select();
    EXPECT_TRUE(h.txtObjName->text().isEmpty());
    EXPECT_EQ(Card(*h.drawers), kEmptyCard);
  };
  // Two features of one layer.
  selectAndCheckEmpty([&] {
    h.Map1->FindLayer(QStringLiteral("餐饮娱乐"))
        ->Selection()
        .SelectWithinRadius(fixture::kCx, fixture::kCy, 300, 0);
  });
  // One feature in each of two layers.
  selectAndCheckEmpty([&] {
    Layer* banks = h.Map1->FindLayer(QStringLiteral("金融银行"));
    banks->Selection().Replace(banks->FeatureForId(banks->IdOfNamedFeature(QStringLiteral("工商银行"))));
  });
  // Nothing selected.
  selectAndCheckEmpty([&] { h.Map1->UnselectAll(); });
}

TEST(InfoCard, TheLegendDrawerStopsTheCardFollowingTheSelection) {
  PanelHarness h;
  ClickTab(h, 0);  // card open
  ClickTab(h, 1);  // legend open
  EXPECT_EQ(qiwu::TwipsLeft(h.picInfo[1]), InfoDrawers::kOpenLeft);
  ClickTab(h, 1);  // legend closed: the shared flag goes down with it
  EXPECT_EQ(qiwu::TwipsLeft(h.picInfo[0]), InfoDrawers::kOpenLeft);
  Select(h, QStringLiteral("餐饮娱乐"), QStringLiteral("湖畔酒家"));
  EXPECT_EQ(h.txtObjName->text(), QStringLiteral("湖畔酒家(餐饮娱乐)"));
  EXPECT_EQ(Card(*h.drawers), kEmptyCard);

  ClickTab(h, 0);  // closes the open card
  ClickTab(h, 0);  // opens and refreshes it
  EXPECT_EQ(Card(*h.drawers), Expected(fixture::kCards[0]));
}

TEST(InfoCard, TheWebLinkOpensOnlyWhenThereIsOne) {
  PanelHarness h;
  QList<QUrl> opened;
  const UrlOpener previous = SetUrlOpener([&](const QUrl& url) { opened << url; });
  ClickTab(h, 0);
  QTest::mouseMove(h.drawers->lblWeb);
  EXPECT_FALSE(h.drawers->lblWeb->testAttribute(Qt::WA_SetCursor));
  QTest::mouseClick(h.drawers->lblWeb, Qt::LeftButton);
  EXPECT_TRUE(opened.isEmpty());

  Select(h, QStringLiteral("餐饮娱乐"), QStringLiteral("湖畔酒家"));
  QTest::mouseMove(h.drawers->lblWeb, QPoint(5, 5));
  EXPECT_EQ(h.drawers->lblWeb->cursor().shape(), Qt::PointingHandCursor);  // the harness's hand

  // Only a left-button release over the link opens it.
  const struct {
    Qt::MouseButton button;
    QPoint releasedAt;
    QList<QUrl> opened;
  } releases[] = {
      {Qt::RightButton, {5, 5}, {}},
      {Qt::MiddleButton, {5, 5}, {}},
      {Qt::LeftButton, {-20, 5}, {}},
      {Qt::LeftButton, {5, 5}, {QUrl("http://www.hupan.cn")}},
  };
  for (const auto& r : releases) {
    opened.clear();
    QTest::mousePress(h.drawers->lblWeb, r.button, Qt::NoModifier, QPoint(5, 5));
    QTest::mouseRelease(h.drawers->lblWeb, r.button, Qt::NoModifier, r.releasedAt);
    EXPECT_EQ(opened, r.opened) << "button " << r.button << " released at x " << r.releasedAt.x();
  }
  SetUrlOpener(previous);
}

}  // namespace
