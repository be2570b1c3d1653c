// Start-up (the load of frmMain) and the city switch: the maps, the panels' places, the
// database and the selectors, in this order (a server city connects before its maps). A map
// failure or a database that does not open ends the program after its message.
#include <QComboBox>

#include "app/MapSetup.h"
#include "app/frmMain.h"
#include "bus/BusPanel.h"
#include "bus/DeparturesWindow.h"
#include "bus/TripWindow.h"
#include "data/CityPaths.h"
#include "data/CityPlace.h"
#include "data/CityVocabulary.h"
#include "data/DataFolders.h"
#include "data/modDBAccess.h"
#include "features/AttributeWindow.h"
#include "features/InfoDrawers.h"
#include "features/LayerDrawer.h"
#include "features/NearestPanel.h"
#include "features/RadiusPanel.h"
#include "features/TypeBrowsePanel.h"
#include "kit/Messages.h"
#include "kit/Twips.h"
#include "mapwidgets/MapControl.h"
#include "mapwidgets/modMapFunction.h"

using namespace qiwu;

namespace {

[[noreturn]] void EndOnMapFailure(const Outcome& result) {
  MsgBox(QStringLiteral("错误代码：%1\r\n错误描述：%2").arg(result.number).arg(result.description),
         MsgIcon::Critical, QStringLiteral("地图错误"));
  EndProgram(1);
}

void Check(const Outcome& result) {
  if (!result.ok()) EndOnMapFailure(result);
}

[[noreturn]] void EndOnDatabaseFailure() {
  MsgBox(QStringLiteral("连接数据库错误，请确认数据库是否存在；应用程序将退出..."), MsgIcon::Critical,
         QStringLiteral("数据库错误"));
  EndProgram(1);
}

// A server city's server that fell silent while start-up or a city switch read from it ends the
// program as a database that does not open does.
void EndIfServerLost() {
  if (modDBAccess::cnnCity->ConnectionLost()) EndOnDatabaseFailure();
}

void ConnectOrEnd(const QString& databasePath) {
  if (!modDBAccess::OpenConnection(databasePath)) EndOnDatabaseFailure();
}

// The connection a city's maps read their "pg:" layers over: none for a file city, whose workspaces
// reach no server (not even the one a city open before it was served from).
QString LayerConnection(const CityPlace& city) {
  return city.onServer ? modDBAccess::cnnCity->ServerConnection() : QString();
}

// A server city connects before its maps load, whose layers lie on the same server.
void ConnectServerCity(const CityPlace& city) {
  if (city.onServer) ConnectOrEnd(city.database);
}

}  // namespace

// The cities of the data folders; start-up opens the one asked for, else the demo city, else the
// first listed. A city asked for that is not complete is listed too, so that it fails as usual.
void frmMain::Form_Load() {
  QStringList cities = ListCities(dataFolders_);
  QString city = !startCity_.isEmpty() ? startCity_ : cities.isEmpty() ? kDemoCity : cities.front();
  if (!cities.contains(city)) cities << city;
  cmbCity->clear();
  cmbCity->addItems(cities);
  cmbCity->setCurrentText(city);
  helpFile_ = HelpFilePath(dataFolders_);
  city_ = ResolveCity(FolderOfCity(dataFolders_, city), city);
  ConnectServerCity(city_);
  LoadMainMap(false);
  LoadOverviewMap();
  PlacePanels();
  OpenCityDatabase();
}

void frmMain::Start() {
  Form_Load();
  show();
}

// Steps 1, 2 and the panel placement of start-up are not repeated; apart from the drawn bus route
// nothing else is reset.
void frmMain::cmbCity_Click() {
  bus->CitySwitched();
  if (trip_) trip_->CitySwitched();
  if (departures_) departures_->close();
  city_ = ResolveCity(FolderOfCity(dataFolders_, cmbCity->currentText()), cmbCity->currentText());
  ConnectServerCity(city_);
  LoadMainMap(true);
  LoadOverviewMap();
  OpenCityDatabase();
}

void frmMain::LoadMainMap(bool atCitySwitch) {
  SetTwipsSize(Map1, TwipsWidth(picMain), TwipsHeight(picMain));
  lyrTempPoint = nullptr;  // the load removes the old marker layer
  Check(Map1->LoadWorkspace(city_.mainWorkspace, LayerConnection(city_)));
  Check(SetupMainMap(*Map1, atCitySwitch, lyrTempPoint));
  drawers->RefreshLegend();  // the legend follows the styles of the workspace just loaded
  layerDrawer->Refill();     // every layer of the new workspace switched on
  attributes->Refresh();
}

void frmMain::LoadOverviewMap() {
  SetTwipsGeometry(Map2, 0, 0, TwipsWidth(Picture2), TwipsHeight(Picture2));
  lyrRect = nullptr;  // the load removes the old frame layer
  Check(SetupOverviewMap(*Map2, city_.overviewWorkspace, lyrRect, LayerConnection(city_)));
  DrawViewFrame(*Map1, *Map2, *lyrRect);  // the frame shows at once, not at the next view change
}

void frmMain::PlacePanels() {
  accordion_->PlacePanels();
  SetTwipsLeft(picInfo[0], 14940);
  SetTwipsTop(picInfo[0], 840);
  SetTwipsLeft(picInfo[1], 14940);
  SetTwipsTop(picInfo[1], 7800);
}

void frmMain::OpenCityDatabase() {
  if (!city_.onServer) ConnectOrEnd(city_.database);
  FillSelectors();
}

void frmMain::FillSelectors() {
  typeBrowse->CityOpened(EndIfServerLost);
  bus->CityOpened(EndIfServerLost);
  radius->CityOpened(EndIfServerLost);
  nearest->CityOpened(EndIfServerLost);
}
