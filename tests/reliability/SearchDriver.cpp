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
#include "tests/app/WindowParts.h"
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
  Choose(apptest::Part<TypeBrowsePanel>(w)->cmbType0, QStringLiteral("餐饮娱乐"));
  apptest::Part<TypeBrowsePanel>(w)->ListChosenType();
  answers.typeList = Items(apptest::Part<TypeBrowsePanel>(w)->lstShow0);

  w.imgType_Click(1);
  apptest::Part<KeywordPanel>(w)->txtLike->clear();
  apptest::Part<KeywordPanel>(w)->txtLike->setText(kKeyword);
  answers.keywordList = Items(apptest::Part<KeywordPanel>(w)->lstShow1);

  w.imgType_Click(2);
  Choose(apptest::Part<RadiusPanel>(w)->cmbType1, QStringLiteral("餐饮娱乐"));
  apptest::Part<RadiusPanel>(w)->txtRadius->setText(QStringLiteral("800"));
  apptest::Part<RadiusPanel>(w)->cmdClick0->click();
  w.Map1_ToolCompleted(kToolPick, kCentreX, kCentreY);
  answers.radiusList = Items(apptest::Part<RadiusPanel>(w)->lstShow2);

  w.imgType_Click(3);
  Choose(apptest::Part<NearestPanel>(w)->cmbType2, QStringLiteral("金融银行"));
  apptest::Part<NearestPanel>(w)->cmdClick1->click();
  w.Map1_ToolCompleted(kToolPick, kCentreX, kCentreY);
  answers.nearestName = apptest::Part<NearestPanel>(w)->txtNear->text();

  w.imgType_Click(4);
  apptest::Part<BusPanel>(w)->optLine->setChecked(true);
  if (apptest::Part<BusPanel>(w)->cmbBus->count() > 0) {
    apptest::Part<BusPanel>(w)->cmbBus->setCurrentIndex(0);
    apptest::Part<BusPanel>(w)->cmbBus_Click();
  }
  answers.lineStops = Items(apptest::Part<BusPanel>(w)->lstShow3);
  if (answers.lineStops.size() >= 2) {
    const QRegularExpression number(QStringLiteral("^\\d+ "));
    apptest::Part<BusPanel>(w)->txtStation[0]->setText(QString(answers.lineStops[0]).remove(number));
    apptest::Part<BusPanel>(w)->txtStation[1]->setText(QString(answers.lineStops[1]).remove(number));
    apptest::Part<BusPanel>(w)->cmdOk->click();
    if (apptest::Part<BusPanel>(w)->PlanWindow())
      answers.plan = apptest::Part<BusPanel>(w)->PlanWindow()->rtxtBusChange->Text();
  }

  w.imgType_Click(0);
  if (!apptest::Part<InfoDrawers>(w)->CardOpen) apptest::Part<InfoDrawers>(w)->imgInfo_Click(0);
  if (apptest::Part<TypeBrowsePanel>(w)->lstShow0->count() > 0) {
    apptest::Part<TypeBrowsePanel>(w)->lstShow0->setCurrentRow(0);
    apptest::Part<TypeBrowsePanel>(w)->lstShow_Click();
  }
  answers.selectedName = w.txtObjName->text();
  answers.cardName = apptest::Part<InfoDrawers>(w)->lblName->text();
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
