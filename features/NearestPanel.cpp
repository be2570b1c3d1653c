#include "features/NearestPanel.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "data/Statements.h"
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

NearestPanel::NearestPanel(QWidget* picShow3, MapControl& Map1, CityDatabase& database)
    : QObject(picShow3),
      Label1(qiwu::NewLabel(picShow3, QStringLiteral("选择地物类型"))),
      cmbType2(new QComboBox(picShow3)),
      cmdClick1(new QPushButton(QStringLiteral("屏幕上指定当前位置"), picShow3)),
      Frame2(new QGroupBox(QStringLiteral("结果"), picShow3)),
      Label7(qiwu::NewLabel(Frame2, QStringLiteral("最近地物名称"))),
      txtNear(new QLineEdit(Frame2)),
      Label9(qiwu::NewLabel(Frame2, QStringLiteral("距当前位置的距离"))),
      lblDis(qiwu::NewLabel(Frame2)),
      Map1_(Map1),
      database_(database) {
  cmbType2->setObjectName(QStringLiteral("cmbType2"));
  cmdClick1->setObjectName(QStringLiteral("cmdClick1"));
  txtNear->setObjectName(QStringLiteral("txtNear"));
  lblDis->setObjectName(QStringLiteral("lblDis"));
  qiwu::SetTwipsGeometry(Label1, 90, 120, 1500, 180);
  qiwu::SetTwipsGeometry(cmbType2, 80, 360, 2175, 300);
  qiwu::SetTwipsGeometry(cmdClick1, 80, 810, 2175, 390);
  qiwu::SetTwipsGeometry(Frame2, 80, 1380, 2175, 1860);
  qiwu::SetTwipsGeometry(Label7, 120, 330, 1800, 180);
  qiwu::SetTwipsGeometry(txtNear, 120, 570, 1935, 330);
  qiwu::SetTwipsGeometry(Label9, 120, 1080, 1800, 180);
  qiwu::SetTwipsGeometry(lblDis, 120, 1320, 1935, 330);
  lblDis->setFrameShape(QFrame::StyledPanel);
  qiwu::UseWindowColors({txtNear});
  cmdClick1->setAutoDefault(true);  // Enter on the focused button presses it, as Space does
  connect(cmdClick1, &QPushButton::clicked, this,
          [this] { qiwu::Guarded(QStringLiteral("指定当前位置"), [this] { emit PickRequested(); }); });
  // A cleared selector (index -1) chose nothing.
  connect(cmbType2, &QComboBox::currentIndexChanged, this, [this](int row) {
    if (row >= 0) qiwu::Guarded(QStringLiteral("选择地物类型"), [this] { emit TypeChosen(); });
  });
}

void NearestPanel::NearestSearch(double x, double y, Layer* lyrTempPoint) {
  MapControl* map = &Map1_;
  const QString type = cmbType2->currentText();
  const QString refusal = SearchRefusal(type, type.isEmpty() ? nullptr : map->FindLayer(type), true);
  if (!refusal.isEmpty()) {
    qiwu::MsgBox(refusal, qiwu::MsgIcon::Information);
    return;
  }

  const NearestResult nearest = NearestFeatureName(*map, type, x, y);
  if (!nearest.ok) {
    qiwu::MsgBox(nearest.reason, qiwu::MsgIcon::Information);
    return;
  }
  // Measured to the nearest feature itself: a lookup by name could return another feature of
  // the same name lying farther away.
  const Feature& feature = nearest.feature;
  const double distance = map->MeasureDistance(x, y, feature.CenterX(), feature.CenterY());
  txtNear->setText(nearest.name);
  lblDis->setText(DistanceCaption(distance));
  if (lyrTempPoint) PlaceMarker(*map, *lyrTempPoint, x, y);
  if (map->ViewWidth() >= 50) {
    MapRect span, view;
    FrameFeatureAndPoint(*map, span, view, feature.CenterX(), feature.CenterY(), x, y);
  }
}

void NearestPanel::CityOpened(const std::function<void()>& afterRead) {
  FillSelector(database_, cmbType2, statements::PointTypeNames(), afterRead);
}
