#include "features/ListHandlers.h"

#include <QComboBox>
#include <QListWidget>

#include "data/CityVocabulary.h"
#include "features/KeywordPanel.h"
#include "features/ListClicks.h"
#include "features/NearestPanel.h"
#include "features/RadiusPanel.h"
#include "features/TypeBrowsePanel.h"
#include "kit/HandlerGuard.h"
#include "kit/MainContext.h"
#include "kit/Messages.h"
#include "map/MapControl.h"
#include "map/modMapFunction.h"

ListHandlers::ListHandlers(TypeBrowsePanel& typeBrowse, KeywordPanel& keyword, RadiusPanel& radius,
                           NearestPanel& nearest, QListWidget* lstShow3, std::function<void()> showBusEntry,
                           MainContext& context)
    : QObject(typeBrowse.parent()),
      cmbType{typeBrowse.cmbType0, radius.cmbType1, nearest.cmbType2},
      lstShow{typeBrowse.lstShow0, keyword.lstShow1, radius.lstShow2, lstShow3},
      typeBrowse_(typeBrowse),
      showBusEntry_(std::move(showBusEntry)),
      context_(context) {
  for (int i = 0; i < int(cmbType.size()); ++i) {
    // A cleared selector (index -1) chose nothing.
    connect(cmbType[i], &QComboBox::currentIndexChanged, this, [this, i](int row) {
      if (row >= 0) qiwu::Guarded(QStringLiteral("选择地物类型"), [this, i] { cmbType_Click(i); });
    });
  }
  for (int i = 0; i < int(lstShow.size()); ++i) {
    if (!lstShow[i]) continue;
    connect(new ListClicks(lstShow[i]), &ListClicks::Click, this,
            [this, i] { qiwu::Guarded(QStringLiteral("查找图元"), [this, i] { lstShow_Click(i); }); });
  }
}

void ListHandlers::cmbType_Click(int /*index*/) { typeBrowse_.ListChosenType(); }

void ListHandlers::lstShow_Click(int index) {
  if (index == 3) {
    if (showBusEntry_) showBusEntry_();  // the bus panel shows its own not-found box
    return;
  }
  if (index < 0 || index > 2) return;
  const QListWidgetItem* item = lstShow[index]->currentItem();
  if (!item) return;
  // lstShow(0) lists the type of cmbType(0), lstShow(2) that of cmbType(1).
  const bool found = index == 1 ? LocateInAnyLayer(item->text())
                                : LocateOnMainMap(cmbType[index == 0 ? 0 : 1]->currentText(), item->text());
  if (!found)
    qiwu::MsgBox(QStringLiteral("没有找到相应图元。 ") + QStringLiteral("\r\n"), qiwu::MsgIcon::Information);
}

bool ListHandlers::LocateOnMainMap(const QString& layer, const QString& name) {
  return context_.Map1 && LocateFeature(*context_.Map1, layer, city::kNameField, name);
}

// The keyword list does not say which table a name came from: the layers are tried from
// position 2 down, so of a name in several layers the one nearest the top wins. Position 1 is
// the marker layer.
bool ListHandlers::LocateInAnyLayer(const QString& name) {
  MapControl* map = context_.Map1;
  if (!map) return false;
  for (int position = 2; position <= map->LayerCount(); ++position) {
    if (LocateFeature(*map, map->LayerAt(position)->Name(), city::kNameField, name)) return true;
  }
  return false;
}
