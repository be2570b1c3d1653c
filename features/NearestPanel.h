#pragma once
// The nearest panel picShow(3): the feature of the type in cmbType(2) nearest to a point picked
// on Map1, with its distance. The controls are children of the panel's picture box; this object
// lives as long as that picture box. Its pick button asks the window to arm the point pick
// (PickRequested); the window runs NearestSearch at the picked point.
#include <QObject>
#include <functional>

class CityDatabase;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;
class Layer;
class MapControl;

class NearestPanel : public QObject {
  Q_OBJECT

 public:
  // Map1: the main map the search runs on; database, which outlives the panel, holds the types.
  NearestPanel(QWidget* picShow3, MapControl& Map1, CityDatabase& database);

  QLabel* Label1;          // "选择地物类型"
  QComboBox* cmbType2;     // cmbType(2): point types
  QPushButton* cmdClick1;  // cmdClick(1): "屏幕上指定当前位置"
  QGroupBox* Frame2;       // "结果"
  QLabel* Label7;          // "最近地物名称"
  QLineEdit* txtNear;      // name of the nearest feature
  QLabel* Label9;          // "距当前位置的距离"
  QLabel* lblDis;          // its distance, "#,##0" + "  米"

  // The search at a point picked on Map1 (map coordinates, metres): selects the nearest
  // feature, shows its name and distance, then places the marker on lyrTempPoint (Map1's marker
  // layer; none: no marker) and frames feature and point. A pick that cannot be searched (no
  // type, no such layer, a layer without features) shows an information box and changes nothing.
  void NearestSearch(double x, double y, Layer* lyrTempPoint);

 public slots:
  // A city is open: fills cmbType(2) with the point types from the new database and chooses its first entry.
  // afterRead runs after each statement (it may end the program).
  void CityOpened(const std::function<void()>& afterRead);

 signals:
  // cmdClick(1): arm the point pick for the nearest search.
  void PickRequested();
  // A type was chosen in cmbType(2).
  void TypeChosen();

 private:
  MapControl& Map1_;
  CityDatabase& database_;
};
