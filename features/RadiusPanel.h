#pragma once
// The radius panel picShow(2): features of the type in cmbType(1) lying wholly inside a circle
// of txtRadius metres around a point picked on Map1. The controls are children of the panel's
// picture box; this object lives as long as that picture box.
#include <QObject>

class FeatureSet;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;
struct MainContext;

class RadiusPanel : public QObject {
  Q_OBJECT

 public:
  RadiusPanel(QWidget* picShow2, MainContext& context);

  QLabel* Label4;          // "选择地物类型"
  QComboBox* cmbType1;     // cmbType(1): point types
  QLabel* Label8;          // "输入查询半径(米)"
  QLineEdit* txtRadius;    // "500"
  QPushButton* cmdClick0;  // cmdClick(0): "屏幕上指定中心点"
  QLabel* Label2;          // "查询结果"
  QListWidget* lstShow2;   // lstShow(2): names found, in search order

  // cmdClick(0): arms user tool 1 on Map1 for the radius search (PickForRadius true).
  void cmdClick_Click();

  // The search at a point picked on Map1 (map coordinates, metres): marker, selection of the
  // features in the circle, view fit and result list. A pick that cannot be searched (no type,
  // no such layer, a negative radius) shows an information box and changes nothing.
  void RadiusSearch(double x, double y);

 private:
  void FitView(const FeatureSet& found, double x, double y);

  MainContext& context_;
};
