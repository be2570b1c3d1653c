#pragma once
// The handlers that serve whole control arrays across the panels: a type chosen in any cmbType
// member re-lists lstShow(0) from cmbType(0); an item picked in any lstShow member finds the
// feature on Map1 and makes it the map's only selected feature. The main window makes one of
// these after the panels; it lives as long as the type browse panel's picture box.
#include <QObject>
#include <QString>
#include <array>
#include <functional>

class KeywordPanel;
class NearestPanel;
class QComboBox;
class QListWidget;
class RadiusPanel;
class TypeBrowsePanel;
struct MainContext;

class ListHandlers : public QObject {
  Q_OBJECT

 public:
  // lstShow3 is the bus panel's list; showBusEntry runs the bus panel's own lookup of its
  // current entry (BusPanel::ShowListEntry), which ends in the same not-found box.
  ListHandlers(TypeBrowsePanel& typeBrowse, KeywordPanel& keyword, RadiusPanel& radius, NearestPanel& nearest,
               QListWidget* lstShow3, std::function<void()> showBusEntry, MainContext& context);

  // Any cmbType(index) chose a type.
  void cmbType_Click(int index);
  // An item of lstShow(index) was picked (a mouse click on it, or Enter on the current item).
  void lstShow_Click(int index);

  std::array<QComboBox*, 3> cmbType;
  std::array<QListWidget*, 4> lstShow;

 private:
  bool LocateOnMainMap(const QString& layer, const QString& name);
  bool LocateInAnyLayer(const QString& name);

  TypeBrowsePanel& typeBrowse_;
  std::function<void()> showBusEntry_;
  MainContext& context_;
};
