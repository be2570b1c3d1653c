#pragma once
// The radius panel picShow(2): features of the type in cmbType(1) lying wholly inside a circle
// of txtRadius metres around a point picked on Map1. The controls are children of the panel's
// picture box; this object lives as long as that picture box. Its pick button asks the window to
// arm the point pick (PickRequested); the window runs RadiusSearch at the picked point.
#include <QObject>
#include <QString>
#include <functional>
#include <vector>

#include "features/ResultRows.h"
#include "map/Feature.h"
#include "map/MapTypes.h"

class CityDatabase;
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
  // Map1: the main map the search runs on; database, which outlives the panel, holds the contacts
  // of the features found.
  RadiusPanel(QWidget* picShow2, MapControl& Map1, CityDatabase& database);

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
  // Hands the last search's rows on again as ResultsReady; nothing before the first search.
  void OfferResults();

 signals:
  // cmdClick(0): arm the point pick for the radius search.
  void PickRequested();
  // A type was chosen in cmbType(1).
  void TypeChosen();
  // Show the feature of that name on the layer of that type.
  void FeatureChosen(const QString& layer, const QString& name);
  // Every search hands its rows on: the features found, in lstShow(2)'s order, with their
  // distances from the picked point and their contacts.
  void ResultsReady(const QString& title, const std::vector<ResultRow>& rows);

 private:
  void FitView(const FeatureSet& found, double x, double y);

  MapControl& Map1_;
  CityDatabase& database_;
  QString resultsTitle_;
  std::vector<ResultRow> results_;
};
