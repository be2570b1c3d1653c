#pragma once
// The feature panels in a window of their own, wired the way the main window wires them: a real
// Map1 on the fixture city's workspace with its marker layer and pick tool, the fixture
// database, the four panel boxes, the two drawers and txtObjName.
#include <QLineEdit>
#include <QListWidget>
#include <QWidget>
#include <array>
#include <memory>

#include "features/InfoDrawers.h"
#include "features/KeywordPanel.h"
#include "features/NearestPanel.h"
#include "features/RadiusPanel.h"
#include "features/TypeBrowsePanel.h"
#include "mapwidgets/MapControl.h"

class PanelHarness {
 public:
  PanelHarness();
  ~PanelHarness();

  // Chooses a type in a selector as a user would.
  static void Choose(QComboBox* selector, const QString& type);
  // Clicks the item in row of a list with the left button, as a user picks it.
  static void ClickRow(QListWidget* list, int row);
  // Clicks the main map at a map point with the current tool.
  void ClickMap(MapPoint p);
  // The selected features of every layer as "name(layer)".
  QStringList SelectedFeatures() const;
  // The marker's position, or nothing when the marker layer is empty.
  std::optional<MapPoint> Marker() const;

  std::unique_ptr<QWidget> window;
  MapControl* Map1;
  Layer* lyrTempPoint;
  bool PickForRadius = false;
  std::array<QWidget*, 4> picShow;
  std::array<QWidget*, 2> picInfo;
  QLineEdit* txtObjName;
  QListWidget* lstShow3;  // stands in for the bus panel's list
  TypeBrowsePanel* typeBrowse;
  KeywordPanel* keyword;
  RadiusPanel* radius;
  NearestPanel* nearest;
  InfoDrawers* drawers;
  int busEntryShown = 0;  // picks in lstShow3
};
