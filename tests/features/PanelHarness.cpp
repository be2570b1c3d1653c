#include "tests/features/PanelHarness.h"

#include <QComboBox>
#include <QTest>
#include <stdexcept>

#include "data/modDBAccess.h"
#include "data/modGetRecord.h"
#include "features/ListClicks.h"
#include "features/ShowFeature.h"
#include "kit/ItemListAdapters.h"
#include "kit/Twips.h"
#include "map/MapTypes.h"
#include "tests/features/FixtureCity.h"

namespace {
QWidget* Box(QWidget* parent, int left, int top, int width, int height) {
  auto* box = new QWidget(parent);
  box->setAutoFillBackground(true);
  QPalette palette = box->palette();
  palette.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
  box->setPalette(palette);
  qiwu::SetTwipsGeometry(box, left, top, width, height);
  return box;
}
}  // namespace

PanelHarness::PanelHarness() : window(std::make_unique<QWidget>()) {
  const fixture::City& city = fixture::City::Get();
  if (!modDBAccess::OpenConnection(city.DatabasePath()))
    throw std::runtime_error("fixture database not opened");

  qiwu::SetTwipsGeometry(window.get(), 0, 0, 15360, 9300);
  for (int k = 0; k < 4; ++k)
    picShow[k] = Box(window.get(), 60 + (k % 2) * 2460, 60 + (k / 2) * 4600, 2400, 4500);
  Map1 = new MapControl(window.get());
  qiwu::SetTwipsGeometry(Map1, 5000, 900, 10360, 8400);
  auto* picture4 = Box(window.get(), 11160, 0, 3915, 750);
  txtObjName = new QLineEdit(picture4);
  qiwu::SetTwipsGeometry(txtObjName, 840, 240, 2295, 270);
  lstShow3 = new QListWidget(window.get());
  qiwu::SetTwipsGeometry(lstShow3, 60, 9300 - 400, 2400, 300);
  picInfo[0] = Box(window.get(), InfoDrawers::kClosedLeft, 840, 4635, 2175);
  picInfo[1] = Box(window.get(), InfoDrawers::kClosedLeft, 7800 - 1200, 4635, 2175);

  const Outcome loaded = Map1->LoadWorkspace(city.WorkspacePath());
  if (!loaded.ok()) throw std::runtime_error(loaded.description.toStdString());
  Map1->DefineUserTool(kToolPick, kUserToolPoint, kCursorCrossHair);
  lyrTempPoint = Map1->CreateTemporaryLayer(QStringLiteral("tempPoint"));

  // The test program's database, which the fixture city was just opened in.
  CityDatabase& database = *modDBAccess::cnnCity;
  typeBrowse = new TypeBrowsePanel(picShow[0], database);
  keyword = new KeywordPanel(picShow[1], database);
  radius = new RadiusPanel(picShow[2], *Map1, database);
  nearest = new NearestPanel(picShow[3], *Map1, database);
  drawers =
      new InfoDrawers(picInfo[0], picInfo[1], *Map1, database, txtObjName, QCursor(Qt::PointingHandCursor));
  for (QWidget* drawer : picInfo) drawer->raise();

  // The panels' intents, handled as the main window handles them.
  QWidget* w = window.get();
  const auto show = [this](const QString& layer, const QString& name) { ShowFeature(*Map1, layer, name); };
  const auto listTypes = [this] { typeBrowse->ListChosenType(); };
  const auto arm = [this](bool forRadius) {
    Map1->ActivateTool(kToolPick);
    PickForRadius = forRadius;
  };
  QObject::connect(typeBrowse, &TypeBrowsePanel::FeatureChosen, w, show);
  QObject::connect(keyword, &KeywordPanel::NameChosen, w,
                   [this](const QString& name) { ShowFeatureInAnyLayer(*Map1, name); });
  QObject::connect(radius, &RadiusPanel::FeatureChosen, w, show);
  QObject::connect(radius, &RadiusPanel::TypeChosen, w, listTypes);
  QObject::connect(nearest, &NearestPanel::TypeChosen, w, listTypes);
  QObject::connect(radius, &RadiusPanel::PickRequested, w, [arm] { arm(true); });
  QObject::connect(nearest, &NearestPanel::PickRequested, w, [arm] { arm(false); });
  QObject::connect(new ListClicks(lstShow3), &ListClicks::Click, w, [this] { ++busEntryShown; });
  QObject::connect(Map1, &MapControl::SelectionModified, drawers, [this] { drawers->SelectionModified(); });
  QObject::connect(Map1, &MapControl::ToolCompleted, w, [this](int tool, double x, double y) {
    if (tool != kToolPick) return;
    if (PickForRadius)
      radius->RadiusSearch(x, y, lyrTempPoint);
    else
      nearest->NearestSearch(x, y, lyrTempPoint);
  });

  // As at start-up: each selector filled, then its first entry chosen.
  const QString pointTypes = QStringLiteral(" where type  = \"点\" ");
  for (auto [selector, condition] :
       {std::pair{typeBrowse->cmbType0, QString()}, std::pair{radius->cmbType1, pointTypes},
        std::pair{nearest->cmbType2, pointTypes}}) {
    qiwu::ComboBoxItems items(selector);
    modGetRecord::FillList(QStringLiteral("地物类型"), QStringLiteral("typeName"), items, condition,
                           QStringLiteral("typeName"), true, false);
    selector->setCurrentIndex(0);
  }
  window->show();
  if (!QTest::qWaitForWindowExposed(window.get())) throw std::runtime_error("window not shown");
}

PanelHarness::~PanelHarness() = default;

void PanelHarness::Choose(QComboBox* selector, const QString& type) {
  const int row = selector->findText(type);
  if (row < 0) throw std::runtime_error("no such type in the selector");
  selector->setCurrentIndex(row);
}

void PanelHarness::ClickRow(QListWidget* list, int row) {
  if (!list->item(row)) throw std::runtime_error("no such row in the list");
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                    list->visualItemRect(list->item(row)).center());
}

void PanelHarness::ClickMap(MapPoint p) {
  QTest::mouseClick(Map1, Qt::LeftButton, Qt::NoModifier, Map1->MapToScreen(p).toPoint());
}

QStringList PanelHarness::SelectedFeatures() const {
  QStringList selected;
  for (int position = 1; position <= Map1->LayerCount(); ++position) {
    const Layer* layer = Map1->LayerAt(position);
    for (int i = 1; i <= layer->Selection().Count(); ++i)
      selected << layer->Selection().Item(i).DisplayName() + "(" + layer->Name() + ")";
  }
  return selected;
}

std::optional<MapPoint> PanelHarness::Marker() const {
  const FeatureSet markers = lyrTempPoint->ListFeatures();
  if (markers.Count() == 0) return std::nullopt;
  return markers.Item(1).Center();
}
