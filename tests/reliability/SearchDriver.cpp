#include "tests/reliability/SearchDriver.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>

#include "app/frmMain.h"
#include "bus/BusPanel.h"
#include "bus/PlanTextBox.h"
#include "bus/frmBus.h"
#include "features/InfoDrawers.h"
#include "features/KeywordPanel.h"
#include "features/NearestPanel.h"
#include "features/RadiusPanel.h"
#include "features/TypeBrowsePanel.h"
#include "map/MapTypes.h"
#include "tests/support/DatabaseColumn.h"

namespace reliab {

namespace {

constexpr double kCentreX = 500000, kCentreY = 3400000;

void Choose(QComboBox* combo, const QString& text) { combo->setCurrentIndex(combo->findText(text)); }

QSet<QString> Column(const QString& root, const QString& sql, const QString& parameter = QString()) {
  return DatabaseColumn(root + "/data/栖坞市.mdb", sql, parameter);
}

}  // namespace

SearchAnswers RunEverySearch(frmMain& w) {
  SearchAnswers answers;
  w.imgType_Click(0);
  Choose(w.typeBrowse->cmbType0, QStringLiteral("餐饮娱乐"));
  w.typeBrowse->ListChosenType();
  answers.typeList = Items(w.typeBrowse->lstShow0);

  w.imgType_Click(1);
  w.keyword->txtLike->clear();
  w.keyword->txtLike->setText(kKeyword);
  answers.keywordList = Items(w.keyword->lstShow1);

  w.imgType_Click(2);
  Choose(w.radius->cmbType1, QStringLiteral("餐饮娱乐"));
  w.radius->txtRadius->setText(QStringLiteral("800"));
  w.radius->cmdClick0->click();
  w.Map1_ToolCompleted(kToolPick, kCentreX, kCentreY);
  answers.radiusList = Items(w.radius->lstShow2);

  w.imgType_Click(3);
  Choose(w.nearest->cmbType2, QStringLiteral("金融银行"));
  w.nearest->cmdClick1->click();
  w.Map1_ToolCompleted(kToolPick, kCentreX, kCentreY);
  answers.nearestName = w.nearest->txtNear->text();

  w.imgType_Click(4);
  w.bus->optLine->setChecked(true);
  if (w.bus->cmbBus->count() > 0) {
    w.bus->cmbBus->setCurrentIndex(0);
    w.bus->cmbBus_Click();
  }
  answers.lineStops = Items(w.bus->lstShow3);
  if (answers.lineStops.size() >= 2) {
    const QRegularExpression number(QStringLiteral("^\\d+ "));
    w.bus->txtStation[0]->setText(QString(answers.lineStops[0]).remove(number));
    w.bus->txtStation[1]->setText(QString(answers.lineStops[1]).remove(number));
    w.bus->cmdOk->click();
    if (w.bus->PlanWindow()) answers.plan = w.bus->PlanWindow()->rtxtBusChange->Text();
  }

  w.imgType_Click(0);
  if (!w.drawers->CardOpen) w.drawers->imgInfo_Click(0);
  if (w.typeBrowse->lstShow0->count() > 0) {
    w.typeBrowse->lstShow0->setCurrentRow(0);
    w.typeBrowse->lstShow_Click();
  }
  answers.selectedName = w.txtObjName->text();
  answers.cardName = w.drawers->lblName->text();
  return answers;
}

QSet<QString> TypeNames(const QString& root, const QString& type) {
  return Column(root, "select name from " + type);
}

QSet<QString> KeywordNames(const QString& root, const QString& keyword) {
  QStringList parts;
  for (const char* table :
       {"大中专院校", "餐饮娱乐", "旅游景点", "医院诊所", "金融银行", "主干道", "次干道", "支路"})
    parts << QStringLiteral("select name from %1 where instr(name, ?1) > 0").arg(QString::fromUtf8(table));
  return Column(root, parts.join(" union "), keyword);
}

void ExpectEverySearchAnswered(const SearchAnswers& answers, const QString& root) {
  EXPECT_EQ(Entries(answers.typeList), TypeNames(root, QStringLiteral("餐饮娱乐")));
  EXPECT_EQ(Entries(answers.keywordList), KeywordNames(root, kKeyword));
  EXPECT_FALSE(answers.radiusList.isEmpty());
  EXPECT_FALSE(answers.nearestName.isEmpty());
  EXPECT_FALSE(answers.lineStops.isEmpty());
  EXPECT_FALSE(answers.plan.isEmpty());
  EXPECT_EQ(answers.selectedName, answers.cardName + "(餐饮娱乐)");
}

QSet<QString> Entries(const QStringList& items) {
  static const QRegularExpression number(QStringLiteral("^\\d+ "));
  QSet<QString> entries;
  for (const QString& item : items) entries.insert(QString(item).remove(number));
  return entries;
}

}  // namespace reliab
