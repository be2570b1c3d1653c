#include "features/SelectorFill.h"

#include <QComboBox>

#include "data/Statements.h"
#include "data/modGetRecord.h"
#include "kit/ItemListAdapters.h"

void FillSelector(CityDatabase& database, QComboBox* selector, const ListStatement& names,
                  const std::function<void()>& afterRead) {
  qiwu::ComboBoxItems items(selector);
  modGetRecord::FillList(database, names, items, false);
  afterRead();
  if (selector->count() > 0) selector->setCurrentIndex(0);
}
