#include "app/frmMain.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLineEdit>
#include <QShortcut>
#include <QTimer>

#include "app/Artwork.h"
#include "app/HelpWindow.h"
#include "app/ResultsHub.h"
#include "app/StatusBar.h"
#include "bus/BusPanel.h"
#include "data/DataFolders.h"
#include "features/AttributeWindow.h"
#include "features/InfoDrawers.h"
#include "features/KeywordPanel.h"
#include "features/LayerDrawer.h"
#include "features/ListClicks.h"
#include "features/NearestPanel.h"
#include "features/RadiusPanel.h"
#include "features/SearchBox.h"
#include "features/ShowFeature.h"
#include "features/TypeBrowsePanel.h"
#include "kit/HandlerGuard.h"
#include "kit/ImageControl.h"
#include "kit/Messages.h"
#include "kit/PlainText.h"
#include "kit/Twips.h"
#include "mapwidgets/HoverTip.h"
#include "mapwidgets/MapControl.h"

using namespace qiwu;

frmMain::frmMain(QString programDir, QWidget* parent)
    : QWidget(parent), dataFolders_(qiwu::DataFolders(programDir)) {
  setWindowTitle(QStringLiteral("栖坞地理信息查询系统"));
  InstallPlainToolTips();
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, QColor(0xee, 0xf1, 0xf5));
  setPalette(palette);

  CreateFrame();
  CreateControls();
  CreatePanels();
  CreateTripPlanner();
  FillTopStrip();
  ConnectEvents();
  Map1->SetScaleBar(true);
  new HoverTip(*Map1);
  // The start size: the Parts' area at its twips size between the two strips.
  resize(TwipsToPixels(kClientWidth, this),
         TopStrip().parentWidget()->height() + statusBar->height() + TwipsToPixels(kClientHeight, this));
  LayOutParts();
}

frmMain::~frmMain() = default;

// Each panel is made and its intents wired to the window's handlers here.
void frmMain::CreatePanels() {
  const auto showFeature = [this](const QString& layer, const QString& name) {
    ShowFeature(*Map1, layer, name);
  };
  typeBrowse = new TypeBrowsePanel(picShow[0], database_);
  connect(typeBrowse, &TypeBrowsePanel::FeatureChosen, this, showFeature);
  keyword = new KeywordPanel(picShow[1], database_);
  connect(keyword, &KeywordPanel::NameChosen, this,
          [this](const QString& name) { ShowFeatureInAnyLayer(*Map1, name); });
  radius = new RadiusPanel(picShow[2], *Map1, database_);
  connect(radius, &RadiusPanel::PickRequested, this, [this] { cmdClick_Click(0); });
  connect(radius, &RadiusPanel::TypeChosen, this, [this] { cmbType_Click(1); });
  connect(radius, &RadiusPanel::FeatureChosen, this, showFeature);
  nearest = new NearestPanel(picShow[3], *Map1, database_);
  connect(nearest, &NearestPanel::PickRequested, this, [this] { cmdClick_Click(1); });
  connect(nearest, &NearestPanel::TypeChosen, this, [this] { cmbType_Click(2); });
  bus = new BusPanel(picShow[Accordion::kBusPanel], *Map1, database_);
  connect(bus, &BusPanel::FeatureChosen, this, showFeature);
  connect(new ListClicks(bus->lstShow3), &ListClicks::Click, this,
          [this] { Guarded(QStringLiteral("查找图元"), [this] { bus->ShowListEntry(); }); });
  layerDrawer = new LayerDrawer(picLayers, *Map1, HandCursor(imgListTools));
  attributes = new AttributeWindow(*Map1, this);
  drawers = new InfoDrawers(picInfo[0], picInfo[1], *Map1, database_, txtObjName, HandCursor(imgListTools));
  connect(layerDrawer, &LayerDrawer::ShownChanged, this, [this] { drawers->RefreshLegend(); });
  connect(layerDrawer, &LayerDrawer::AttributesRequested, this, [this] { attributes->Open(); });

  connect(searchBox, &SearchBox::FeatureChosen, this, showFeature);

  lstShow = {typeBrowse->lstShow0, keyword->lstShow1, radius->lstShow2, bus->lstShow3};
  cmbType = {typeBrowse->cmbType0, radius->cmbType1, nearest->cmbType2};
  results = new ResultsHub(*Map1, city_);
  results->Follow(typeBrowse, typeBrowse->lstShow0);
  results->Follow(keyword, keyword->lstShow1);
  results->Follow(radius, radius->lstShow2);
  connect(results, &ResultsHub::TableAsked, this, &frmMain::ShowOpenPanelResults);
}

// The table command: the results of the open panel with a result list, else the table as it was.
void frmMain::ShowOpenPanelResults() {
  if (!picShow[0]->isHidden()) return typeBrowse->OfferResults();
  if (!picShow[1]->isHidden()) return keyword->OfferResults();
  if (!picShow[2]->isHidden()) return radius->OfferResults();
  results->ShowTable();
}

void frmMain::cmbType_Click(int) { typeBrowse->ListChosenType(); }

void frmMain::ConnectEvents() {
  connect(cmbCity, &QComboBox::activated, this,
          [this] { Guarded(QStringLiteral("城市切换"), [this] { cmbCity_Click(); }); });

  for (int i = 0; i < int(imgType.size()); ++i) {
    connect(imgType[i], &ImageControl::Click, this,
            [this, i] { Guarded(QStringLiteral("切换查询面板"), [this, i] { imgType_Click(i); }); });
    connect(imgType[i], &ImageControl::MouseMove, this, [this, i] { imgType_MouseMove(i); });
  }
  for (int i = 0; i < int(imgTools.size()); ++i)
    connect(imgTools[i], &ImageControl::Click, this,
            [this, i] { Guarded(QStringLiteral("地图工具"), [this, i] { imgTools_Click(i); }); });

  connect(Map1, &MapControl::ViewChanged, this,
          [this] { Guarded(QStringLiteral("更新视野"), [this] { Map1_ViewChanged(); }); });
  connect(Map1, &MapControl::PolylineToolStep, this,
          [this](int tool, int phase, const std::vector<MapPoint>& points, bool, bool) {
            Guarded(QStringLiteral("测距"), [&] { Map1_PolylineToolStep(tool, phase, points); });
          });
  connect(Map1, &MapControl::ToolCompleted, this,
          [this](int tool, double x1, double y1, double, double, double, bool, bool) {
            Guarded(QStringLiteral("地图点选查询"), [&] { Map1_ToolCompleted(tool, x1, y1); });
          });
  connect(Map1, &MapControl::SelectionModified, this, [this] {
    Guarded(QStringLiteral("显示选中图元"), [this] { drawers->SelectionModified(); });
    statusBar->ShowSelection(*Map1);
  });
  connect(Map1, &MapControl::CursorMoved, this, [this](double x, double y) {
    statusBar->ShowCursor(*Map1, {x, y});
  });
  connect(Map2, &MapControl::MouseDown, this, [this](int, int, double x, double y) {
    Guarded(QStringLiteral("鹰眼图定位"), [&] { Map2_MouseDown(x, y); });
  });
  connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });

  auto* help = new QShortcut(QKeySequence::HelpContents, this);
  connect(help, &QShortcut::activated, this, [this] { ShowHelp(); });
}

void frmMain::ShowHelp() { ShowHelpPage(QFileInfo(helpFile_).fileName()); }

void frmMain::ShowHelpPage(const QString& page) {
  const QString path = QFileInfo(helpFile_).dir().filePath(page);
  if (!help_) help_ = new HelpWindow(this);
  if (!help_->ShowPage(path)) MsgBox(QStringLiteral("找不到帮助文件：") + path, MsgIcon::Information);
}
