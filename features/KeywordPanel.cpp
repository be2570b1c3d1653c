#include "features/KeywordPanel.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include "data/CityVocabulary.h"
#include "data/modGetRecord.h"
#include "features/ListClicks.h"
#include "kit/Colors.h"
#include "kit/HandlerGuard.h"
#include "kit/ItemListAdapters.h"
#include "kit/PlainText.h"
#include "kit/Twips.h"

KeywordPanel::KeywordPanel(QWidget* picShow1, CityDatabase& database)
    : QObject(picShow1),
      Label5(qiwu::NewLabel(picShow1, QStringLiteral("输入关键字"))),
      txtLike(new QLineEdit(picShow1)),
      Label6(qiwu::NewLabel(picShow1, QStringLiteral("查询结果"))),
      lstShow1(new QListWidget(picShow1)),
      database_(database) {
  txtLike->setObjectName(QStringLiteral("txtLike"));
  lstShow1->setObjectName(QStringLiteral("lstShow1"));
  qiwu::SetTwipsGeometry(Label5, 90, 120, 900, 180);
  qiwu::SetTwipsGeometry(txtLike, 80, 360, 2175, 330);
  qiwu::SetTwipsGeometry(Label6, 80, 840, 720, 180);
  qiwu::SetTwipsGeometry(lstShow1, 80, 1080, 2175, 3300);
  qiwu::UseWindowColors({txtLike, lstShow1});
  // Every keystroke, paste or clearing searches again.
  connect(txtLike, &QLineEdit::textChanged, this,
          [this] { qiwu::Guarded(QStringLiteral("模糊查询"), [this] { txtLike_Change(); }); });
  connect(new ListClicks(lstShow1), &ListClicks::Click, this,
          [this] { qiwu::Guarded(QStringLiteral("查找图元"), [this] { lstShow_Click(); }); });
}

void KeywordPanel::lstShow_Click() {
  if (const QListWidgetItem* item = lstShow1->currentItem()) emit NameChosen(item->text());
}

void KeywordPanel::txtLike_Change() {
  lstShow1->clear();
  const QString keyword = txtLike->text();
  if (keyword.isEmpty()) return;
  qiwu::ListWidgetItems target(lstShow1);
  modGetRecord::FillListByKeyword(database_, city::kNameField, keyword, target);
}

void KeywordPanel::FocusKeyword() { txtLike->setFocus(); }

void KeywordPanel::OfferResults() {
  QStringList names;
  for (int row = 0; row < lstShow1->count(); ++row) names << lstShow1->item(row)->text();
  emit ResultsReady(QStringLiteral("模糊查询：") + txtLike->text(), RowsOfKeywordNames(database_, names));
}
