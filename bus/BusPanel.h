#pragma once
// The bus panel picShow(4): line and stop lookup in the upper half (Frame1), the departure and
// destination boxes with their suggestion list and the search button in the lower half.
// The controls live inside the container the main window gives; their positions are twips
// relative to their own container. The panel owns the plan window frmBus while it is open. A line
// or stop to be shown on the map is handed on as FeatureChosen.
#include <QObject>
#include <QPointer>
#include <QString>
#include <array>
#include <functional>

class QComboBox;
class QFrame;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QWidget;
class frmBus;
class CityDatabase;
struct ListStatement;
class MapControl;
class RouteDrawing;

// Where an entry of lstShow(3) is looked up on the main map: a layer and a feature name.
struct BusMapTarget {
  QString layer;
  QString name;
};

class BusPanel : public QObject {
  Q_OBJECT

 public:
  // Creates every control of the panel inside picShow4 (2400 x 4500 twips). The panel takes
  // no mode yet: selecting optLine from code (optLine->setChecked(true)) runs optLine_Click.
  // Map1 is the main map the plan window's routes are drawn on; database, which outlives the
  // panel, is the city whose bus table is read.
  BusPanel(QWidget* picShow4, MapControl& Map1, CityDatabase& database);
  ~BusPanel() override;

  QGroupBox* Frame1;
  QRadioButton* optLine;
  QRadioButton* optStation;
  QFrame* Line2;
  QComboBox* cmbBus;
  QListWidget* lstShow3;  // lstShow(3); its click is served by the window's shared lstShow handler
  QPushButton* cmdBus;
  std::array<QLineEdit*, 2> txtStation;  // 0 departure, 1 destination
  QListWidget* lstStation;
  QPushButton* cmdOk;

  // True while optLine is selected.
  bool LineMode() const;

  // The layer and feature name for an lstShow(3) entry: a numbered stop of the line in line mode
  // (the running number and the one blank after it removed), a whole line name in station mode.
  static BusMapTarget ListEntryTarget(const QString& entry, bool lineMode);

  // lstShow(3) click: asks to show the current entry on the map.
  void ShowListEntry();

  // The plan window while it exists (hidden or shown); nullptr before the first search and after
  // the user closed it.
  frmBus* PlanWindow() const;

  // A city switch: the route drawn from the last city's plan goes.
  void CitySwitched();

  // A city is open: line mode, and cmbBus filled with the lines of the new database. afterRead
  // runs after each statement (it may end the program).
  void CityOpened(const std::function<void()>& afterRead);

  void optLine_Click();
  void optStation_Click();
  void cmbBus_Change();
  void cmbBus_Click();
  void cmdBus_Click();
  void txtStation_Change(int index);
  void txtStation_Click(int index);
  void txtStation_GotFocus(int index);
  void txtStation_LostFocus(int index);
  void lstStation_DblClick();
  void lstStation_LostFocus();
  int AboveBox(int index) const;  // twips top of the suggestion list directly above txtStation(index)
  void cmdOk_Click();

 signals:
  // Show the feature of that name on that layer (a line of 公交路线, a stop of 公交站台).
  void FeatureChosen(const QString& layer, const QString& name);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls(QWidget* picShow4);
  void Connect();
  bool StationBoxEvent(int index, QEvent* event);
  bool SuggestionListEvent(QEvent* event);
  void SelectUntouchedLabel(int index);
  void Select(QRadioButton* option);
  void FillCombo(const ListStatement& names);
  void FillStops();
  void FillSuggestions(int index);
  frmBus& PlanWindowCreated();

  bool fillingCombo_ = false;
  bool selectLabelOnRelease_ = false;
  QPointer<frmBus> frmBus_;
  CityDatabase& database_;
  RouteDrawing* routeDrawing_;
};
