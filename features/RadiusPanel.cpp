#include "features/RadiusPanel.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "features/SpatialSearch.h"
#include "kit/Colors.h"
#include "kit/HandlerGuard.h"
#include "kit/MainContext.h"
#include "kit/Messages.h"
#include "kit/PlainText.h"
#include "kit/Twips.h"
#include "map/MapControl.h"
#include "map/MapTypes.h"
#include "map/modMapFunction.h"

RadiusPanel::RadiusPanel(QWidget* picShow2, MainContext& context)
    : QObject(picShow2),
      Label4(qiwu::NewLabel(picShow2, QStringLiteral("选择地物类型"))),
      cmbType1(new QComboBox(picShow2)),
      Label8(qiwu::NewLabel(picShow2, QStringLiteral("输入查询半径(米)"))),
      txtRadius(new QLineEdit(QStringLiteral("500"), picShow2)),
      cmdClick0(new QPushButton(QStringLiteral("屏幕上指定中心点"), picShow2)),
      Label2(qiwu::NewLabel(picShow2, QStringLiteral("查询结果"))),
      lstShow2(new QListWidget(picShow2)),
      context_(context) {
  cmbType1->setObjectName(QStringLiteral("cmbType1"));
  txtRadius->setObjectName(QStringLiteral("txtRadius"));
  cmdClick0->setObjectName(QStringLiteral("cmdClick0"));
  lstShow2->setObjectName(QStringLiteral("lstShow2"));
  qiwu::SetTwipsGeometry(Label4, 90, 120, 1500, 180);
  qiwu::SetTwipsGeometry(cmbType1, 80, 360, 2175, 300);
  qiwu::SetTwipsGeometry(Label8, 90, 810, 1800, 180);
  qiwu::SetTwipsGeometry(txtRadius, 80, 1050, 2175, 330);
  qiwu::SetTwipsGeometry(cmdClick0, 80, 1530, 2175, 390);
  qiwu::SetTwipsGeometry(Label2, 90, 2070, 900, 180);
  qiwu::SetTwipsGeometry(lstShow2, 80, 2310, 2175, 2070);
  qiwu::UseWindowColors({txtRadius, lstShow2});
  cmdClick0->setAutoDefault(true);  // Enter on the focused button presses it, as Space does
  connect(cmdClick0, &QPushButton::clicked, this,
          [this] { qiwu::Guarded(QStringLiteral("指定中心点"), [this] { cmdClick_Click(); }); });
}

void RadiusPanel::cmdClick_Click() {
  if (context_.Map1) context_.Map1->ActivateTool(kToolPick);
  context_.PickForRadius = true;
}

void RadiusPanel::RadiusSearch(double x, double y) {
  MapControl* map = context_.Map1;
  if (!map) return;
  const float radius = RadiusFromText(txtRadius->text());
  const QString type = cmbType1->currentText();
  Layer* layer = type.isEmpty() ? nullptr : map->FindLayer(type);
  // A pick that cannot be searched is refused before the marker moves, so nothing changes.
  QString refusal = SearchRefusal(type, layer, false);
  if (refusal.isEmpty()) refusal = RadiusRefusal(radius);
  if (!refusal.isEmpty()) {
    qiwu::MsgBox(refusal, qiwu::MsgIcon::Information);
    return;
  }

  if (context_.lyrTempPoint) PlaceMarker(*map, *context_.lyrTempPoint, x, y);
  map->UnselectAll();
  const FeatureSet found = FeaturesInRadius(*layer, {x, y}, radius);
  layer->Selection().SelectWithinRadius(x, y, radius, kSelectionNew);
  FitView(found, x, y);
  lstShow2->clear();
  for (const Feature& feature : found) lstShow2->addItem(feature.DisplayName());
}

void RadiusPanel::FitView(const FeatureSet& found, double x, double y) {
  MapControl& map = *context_.Map1;
  if (found.Count() == 1) {
    if (map.ViewWidth() >= 50) {
      MapRect span, view;
      const Feature& feature = found.Item(1);
      FrameFeatureAndPoint(map, span, view, feature.CenterX(), feature.CenterY(), x, y);
    }
  } else if (found.Count() > 1) {
    const MapRect b = found.Bounds();
    const double dx = b.Width() / 10, dy = b.Height() / 10;
    map.SetBounds({b.minX - dx, b.minY - dy, b.maxX + dx, b.maxY + dy});
  }
}
