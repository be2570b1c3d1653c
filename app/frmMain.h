#pragma once
// The main window: the map with its toolbar and overview, the accordion of five query panels
// on the left, the two drawers on the right. It builds the controls under their given names,
// runs start-up and the city switch, and wires the events to their handlers; each panel's own
// behaviour lives in its panel class (bus/, features/), which says what it wants by its signals;
// the window wires them to short handlers. The window is the top strip (TopStrip()), the Parts'
// area and the status bar; positions are twips in the Parts' area (PartsLayout.h when resized).
#include <QString>
#include <QWidget>
#include <array>
#include <memory>
#include <vector>

#include "app/Accordion.h"
#include "bus/TimedSource.h"
#include "data/CityPlace.h"
#include "data/modDBAccess.h"
#include "kit/ImageList.h"
#include "map/MapTypes.h"

class QComboBox;
class QHBoxLayout;
class QLabel;
class QMenu;
class QScrollArea;
class QLineEdit;
class QListWidget;
class QTimer;
class MapControl;
class BusPanel;
class DeparturesWindow;
class HelpWindow;
class InfoDrawers;
class KeywordPanel;
class Layer;
class NearestPanel;
class RadiusPanel;
class ResultsHub;
class SearchBox;
class StatusBar;
class TypeBrowsePanel;
class TripWindow;
class QToolButton;
class AttributeWindow;
class LayerDrawer;

namespace qiwu {
class ImageControl;
class LineControl;
}  // namespace qiwu

class frmMain : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 15435;   // the Parts' area at the start size: room for a
  static constexpr int kClientHeight = 10080;  // drawer opened at 10800

  // programDir: the directory that holds the city data set (map/, data/) and help/.
  explicit frmMain(QString programDir, QWidget* parent = nullptr);
  ~frmMain() override;

  // Start-up, the load of the window: every step runs before the window is shown. A map
  // failure or a database that does not open ends the program (qiwu::EndProgram).
  void Form_Load();
  // What the program does on launch: start-up, then the window is shown.
  void Start();
  // The city start-up opens instead of the demo city (qiwu --city NAME).
  void SetStartCity(const QString& city) { startCity_ = city; }
  // City switch: reloads both maps, the database and the selectors for cmbCity's text.
  void cmbCity_Click();

  void imgType_Click(int index);
  void imgType_MouseMove(int index);
  void imgTools_Click(int index);
  // A point-pick button, cmdClick(0) radius or cmdClick(1) nearest: arms user tool 1 on Map1.
  void cmdClick_Click(int index);
  // A type chosen in any cmbType member: lstShow(0) lists the type of cmbType(0).
  void cmbType_Click(int index);
  void Map1_ViewChanged();
  void Map1_PolylineToolStep(int tool, int phase, const std::vector<MapPoint>& points);
  void Map1_ToolCompleted(int tool, double x1, double y1);
  void Map2_MouseDown(double x, double y);
  void Timer1_Timer();

  // The trip planner's window, made on first use and kept (hidden when closed).
  TripWindow* OpenTripPlanner();
  TripWindow* Trip() const { return trip_; }
  // The main map's right-click menu for the screen point at: a trip from or to it, and the
  // departures (查看发车时刻) when a stop of 公交站台 lies under it.
  std::unique_ptr<QMenu> MapMenu(QPoint at);
  // The next departures at the stop of this name, from now, in their own small window.
  void ShowDepartures(const QString& stop);
  DeparturesWindow* Departures() const { return departures_; }

  // F1: the program's help in its own window, at its first page or at page (a file of help/).
  void ShowHelp();
  void ShowHelpPage(const QString& page);
  const QString& HelpFile() const { return helpFile_; }
  HelpWindow* Help() const { return help_; }

  // The strip above the Parts' area, for the window's own commands (search, export, ...).
  QHBoxLayout& TopStrip() { return *topStrip_; }

  // Controls, under their given names.
  QComboBox* cmbCity;
  QWidget* picMain;
  MapControl* Map1;
  QWidget* Picture2;
  MapControl* Map2;
  qiwu::ImageList imgListTools;
  std::array<qiwu::ImageControl*, 9> imgTools;
  QLabel* lblZoom;
  QLabel* lblDist;
  QWidget* Picture4;
  QLineEdit* txtObjName;
  std::array<qiwu::ImageControl*, 5> imgType;
  std::array<QWidget*, 5> picShow;
  std::array<QWidget*, 2> picInfo;
  qiwu::LineControl* Line1;
  QTimer* Timer1;

  // The temporary layers of Map1 (the marker "tempPoint") and Map2 (the view frame "rectlayer"),
  // owned by their maps: replaced at every city switch, null from a workspace load until the
  // set-up has made the new one.
  Layer* lyrTempPoint = nullptr;
  Layer* lyrRect = nullptr;
  // Which search the next pick with user tool 1 runs: radius (true) or nearest (false).
  bool PickForRadius = false;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The Parts' area: every twips position is relative to it. The panel column (city selector,
  // tabs, panels, overview) lies in a scroll area at its left.
  QWidget* partsArea;
  QScrollArea* column;
  StatusBar* statusBar;
  SearchBox* searchBox;  // stops, lines, places and roads by name, pinyin or initials
  // Control arrays whose members live in the panels.
  std::array<QListWidget*, 4> lstShow{};
  std::array<QComboBox*, 3> cmbType{};
  // The panels fill the containers picShow; each is owned by its container (Qt parent).
  TypeBrowsePanel* typeBrowse;
  KeywordPanel* keyword;
  RadiusPanel* radius;
  NearestPanel* nearest;
  BusPanel* bus;
  InfoDrawers* drawers = nullptr;
  LayerDrawer* layerDrawer = nullptr;  // the 图层 drawer between the card and the legend
  QWidget* picLayers = nullptr;
  AttributeWindow* attributes = nullptr;  // the 属性 window, opened from the 图层 drawer
  // The result table and the export commands (its toolbar belongs in the strip above the panels).
  ResultsHub* results;
  QToolButton* cmdTrip = nullptr;  // opens the trip planner

  void CreateFrame();
  // Places the resizable parts for the Parts' area's size (PartsLayout.h).
  void LayOutParts();
  int Line1Bottom() const;
  void CreateControls();
  void CreateTopRow();
  void CreateLeftColumn();
  void CreateMaps();
  void CreateDrawers();
  void CreatePanels();
  void ConnectEvents();
  void CreateTripPlanner();
  void FillTopStrip();
  void ShowOpenPanelResults();

  // Start-up and switch steps.
  void LoadMainMap(bool atCitySwitch);
  void LoadOverviewMap();
  void PlacePanels();
  void OpenCityDatabase();
  void FillSelectors();

  // The common reset after every tab click.
  void ResetAfterTabClick();
  void ReleaseToolButtons();

  // The city database, current (modDBAccess::cnnCity) while the window lives.
  CityDatabase database_;
  modDBAccess::CurrentCity currentCity_{database_};
  // The city open now: resolved at start-up and at each switch from cmbCity's text, then passed down.
  qiwu::CityPlace city_;
  QStringList dataFolders_;  // where the cities and the help lie (data/DataFolders.h)
  QString startCity_;
  QString helpFile_;
  std::unique_ptr<qiwu::Accordion> accordion_;
  HelpWindow* help_ = nullptr;
  TripWindow* trip_ = nullptr;
  DeparturesWindow* departures_ = nullptr;
  trip::TimedSourceOf timetable_;  // the city's timetable for the planner and the departures
  QHBoxLayout* topStrip_ = nullptr;
  QWidget* columnContent_ = nullptr;
  int columnStretch_ = 0;  // twips the column's panels have grown beyond their start height
};
