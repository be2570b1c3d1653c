#pragma once
// The radius panel picShow(2): features of the type in cmbType(1) lying wholly inside a circle
// of txtRadius metres around a point picked on Map1. The controls are children of the panel's
// picture box; this object lives as long as that picture box. Its pick button asks the window to
// arm the point pick (PickRequested); the window runs RadiusSearch at the picked point.
#include <QObject>
#include <QString>
#include <functional>

#include "map/Feature.h"
#include "map/MapTypes.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;
class Layer;
class MapControl;

class RadiusPanel : public QObject {
  Q_OBJECT

 public:
  // Map1: the main map the search runs on.
  RadiusPanel(QWidget* picShow2, MapControl& Map1);

  QLabel* Label4;          // "选择地物类型"
  QComboBox* cmbType1;     // cmbType(1): point types
  QLabel* Label8;          // "输入查询半径(米)"
  QLineEdit* txtRadius;    // "500"
  QPushButton* cmdClick0;  // cmdClick(0): "屏幕上指定中心点"
  QLabel* Label2;          // "查询结果"
  QListWidget* lstShow2;   // lstShow(2): names found, in search order

  // The search at a point picked on Map1 (map coordinates, metres): the marker on lyrTempPoint
  // (Map1's marker layer; none: no marker), selection of the features in the circle, view fit
  // and result list. A pick that cannot be searched (no type, no such layer, a negative radius)
  // shows an information box and changes nothing.
  void RadiusSearch(double x, double y, Layer* lyrTempPoint);
  // An item of lstShow(2) was picked (a mouse click on it, or Enter on the current item).
  void lstShow_Click();

 public slots:
  // A city is open: fills cmbType(1) with the point types from the new database and chooses its first entry.
  // afterRead runs after each statement (it may end the program).
  void CityOpened(const std::function<void()>& afterRead);

 signals:
  // cmdClick(0): arm the point pick for the radius search.
  void PickRequested();
  // A type was chosen in cmbType(1).
  void TypeChosen();
  // Show the feature of that name on the layer of that type.
  void FeatureChosen(const QString& layer, const QString& name);
  // A search ran: the features of type found within radius metres of centre, in lstShow(2)'s order.
  void ResultsFound(const QString& type, MapPoint centre, double radius, const FeatureSet& found);

 private:
  void FitView(const FeatureSet& found, double x, double y);

  MapControl& Map1_;
};
