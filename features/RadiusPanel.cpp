#include "features/RadiusPanel.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "data/Statements.h"
#include "features/ListClicks.h"
#include "features/SelectorFill.h"
#include "features/SpatialSearch.h"
#include "kit/Colors.h"
#include "kit/HandlerGuard.h"
#include "kit/Messages.h"
#include "kit/PlainText.h"
#include "kit/Twips.h"
#include "map/MapTypes.h"
#include "mapwidgets/MapControl.h"
#include "mapwidgets/modMapFunction.h"

RadiusPanel::RadiusPanel(QWidget* picShow2, MapControl& Map1, CityDatabase& database)
    : QObject(picShow2),
      Label4(qiwu::NewLabel(picShow2, QStringLiteral("选择地物类型"))),
      cmbType1(new QComboBox(picShow2)),
      Label8(qiwu::NewLabel(picShow2, QStringLiteral("输入查询半径(米)"))),
      txtRadius(new QLineEdit(QStringLiteral("500"), picShow2)),
      cmdClick0(new QPushButton(QStringLiteral("屏幕上指定中心点"), picShow2)),
      Label2(qiwu::NewLabel(picShow2, QStringLiteral("查询结果"))),
      lstShow2(new QListWidget(picShow2)),
      Map1_(Map1),
      database_(database) {
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
          [this] { qiwu::Guarded(QStringLiteral("指定中心点"), [this] { emit PickRequested(); }); });
  // A cleared selector (index -1) chose nothing.
  connect(cmbType1, &QComboBox::currentIndexChanged, this, [this](int row) {
    if (row >= 0) qiwu::Guarded(QStringLiteral("选择地物类型"), [this] { emit TypeChosen(); });
  });
  connect(new ListClicks(lstShow2), &ListClicks::Click, this,
          [this] { qiwu::Guarded(QStringLiteral("查找图元"), [this] { lstShow_Click(); }); });
}

void RadiusPanel::lstShow_Click() {
  if (const QListWidgetItem* item = lstShow2->currentItem())
    emit FeatureChosen(cmbType1->currentText(), item->text());
}

void RadiusPanel::RadiusSearch(double x, double y, Layer* lyrTempPoint) {
  MapControl* map = &Map1_;
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

  if (lyrTempPoint) PlaceMarker(*map, *lyrTempPoint, x, y);
  map->UnselectAll();
  const FeatureSet found = FeaturesInRadius(*layer, {x, y}, radius);
  layer->Selection().SelectWithinRadius(x, y, radius, kSelectionNew);
  FitView(found, x, y);
  lstShow2->clear();
  for (const Feature& feature : found) lstShow2->addItem(feature.DisplayName());
  resultsTitle_ = QStringLiteral("半径查询：%1，%2 米内").arg(type, QString::number(radius));
  results_ = RowsOfFound(found, type, {x, y});
  FillContacts(database_, results_);
  OfferResults();
}

void RadiusPanel::OfferResults() {
  if (!resultsTitle_.isEmpty()) emit ResultsReady(resultsTitle_, results_);
}

void RadiusPanel::FitView(const FeatureSet& found, double x, double y) {
  MapControl& map = Map1_;
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

void RadiusPanel::CityOpened(const std::function<void()>& afterRead) {
  FillSelector(database_, cmbType1, statements::PointTypeNames(), afterRead);
}
