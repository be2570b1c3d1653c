#include "features/TypeBrowsePanel.h"

#include <QComboBox>
#include <QListWidget>

#include "data/CityVocabulary.h"
#include "data/modGetRecord.h"
#include "kit/Colors.h"
#include "kit/ItemListAdapters.h"
#include "kit/Twips.h"

TypeBrowsePanel::TypeBrowsePanel(QWidget* picShow0, MainContext& /*context*/)
    : QObject(picShow0), cmbType0(new QComboBox(picShow0)), lstShow0(new QListWidget(picShow0)) {
  cmbType0->setObjectName(QStringLiteral("cmbType0"));
  lstShow0->setObjectName(QStringLiteral("lstShow0"));
  qiwu::SetTwipsGeometry(cmbType0, 80, 120, 2175, 300);
  qiwu::SetTwipsGeometry(lstShow0, 80, 480, 2175, 3840);
  qiwu::UseWindowColors({lstShow0});
}

void TypeBrowsePanel::ListChosenType() {
  lstShow0->clear();
  const QString type = cmbType0->currentText();
  // Before the selectors are filled there is no type to list (and no table to ask).
  if (type.isEmpty()) return;
  qiwu::ListWidgetItems target(lstShow0);
  modGetRecord::FillList(type, city::kNameField, target, QString(), city::kNameField, true, false);
}
