#include "features/TypeBrowsePanel.h"

#include <QComboBox>
#include <QListWidget>

#include "data/CityVocabulary.h"
#include "data/Statements.h"
#include "data/modGetRecord.h"
#include "features/ListClicks.h"
#include "features/SelectorFill.h"
#include "kit/Colors.h"
#include "kit/HandlerGuard.h"
#include "kit/ItemListAdapters.h"
#include "kit/Twips.h"

TypeBrowsePanel::TypeBrowsePanel(QWidget* picShow0, CityDatabase& database)
    : QObject(picShow0),
      cmbType0(new QComboBox(picShow0)),
      lstShow0(new QListWidget(picShow0)),
      database_(database) {
  cmbType0->setObjectName(QStringLiteral("cmbType0"));
  lstShow0->setObjectName(QStringLiteral("lstShow0"));
  qiwu::SetTwipsGeometry(cmbType0, 80, 120, 2175, 300);
  qiwu::SetTwipsGeometry(lstShow0, 80, 480, 2175, 3840);
  qiwu::UseWindowColors({lstShow0});
  // A cleared selector (index -1) chose nothing.
  connect(cmbType0, &QComboBox::currentIndexChanged, this, [this](int row) {
    if (row >= 0) qiwu::Guarded(QStringLiteral("选择地物类型"), [this] { ListChosenType(); });
  });
  connect(new ListClicks(lstShow0), &ListClicks::Click, this,
          [this] { qiwu::Guarded(QStringLiteral("查找图元"), [this] { lstShow_Click(); }); });
}

void TypeBrowsePanel::CityOpened(const std::function<void()>& afterRead) {
  FillSelector(database_, cmbType0, statements::TypeNames(), afterRead);
}

void TypeBrowsePanel::OfferResults() {
  const QString type = cmbType0->currentText();
  std::vector<ResultRow> rows;
  for (int row = 0; row < lstShow0->count(); ++row) rows.push_back(RowOf(lstShow0->item(row)->text(), type));
  FillContacts(database_, rows);
  emit ResultsReady(QStringLiteral("智能查询：") + type, rows);
}

void TypeBrowsePanel::lstShow_Click() {
  if (const QListWidgetItem* item = lstShow0->currentItem())
    emit FeatureChosen(cmbType0->currentText(), item->text());
}

void TypeBrowsePanel::ListChosenType() {
  lstShow0->clear();
  const QString type = cmbType0->currentText();
  // Before the selectors are filled there is no type to list (and no table to ask).
  if (type.isEmpty()) return;
  qiwu::ListWidgetItems target(lstShow0);
  modGetRecord::FillList(database_, statements::NamesOfType(type), target, false);
}
