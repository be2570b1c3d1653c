#pragma once
// The nearest panel picShow(3): the feature of the type in cmbType(2) nearest to a point picked
// on Map1, with its distance. The controls are children of the panel's picture box; this object
// lives as long as that picture box.
#include <QObject>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;
struct MainContext;

class NearestPanel : public QObject {
  Q_OBJECT

 public:
  NearestPanel(QWidget* picShow3, MainContext& context);

  QLabel* Label1;          // "选择地物类型"
  QComboBox* cmbType2;     // cmbType(2): point types
  QPushButton* cmdClick1;  // cmdClick(1): "屏幕上指定当前位置"
  QGroupBox* Frame2;       // "结果"
  QLabel* Label7;          // "最近地物名称"
  QLineEdit* txtNear;      // name of the nearest feature
  QLabel* Label9;          // "距当前位置的距离"
  QLabel* lblDis;          // its distance, "#,##0" + "  米"

  // cmdClick(1): arms user tool 1 on Map1 for the nearest search (PickForRadius false).
  void cmdClick_Click();

  // The search at a point picked on Map1 (map coordinates, metres): selects the nearest
  // feature, shows its name and distance, then places the marker and frames feature and point.
  // A pick that cannot be searched (no type, no such layer, a layer without features) shows an
  // information box and changes nothing.
  void NearestSearch(double x, double y);

 private:
  MainContext& context_;
};
