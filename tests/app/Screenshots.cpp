// Development tool, not a test: drives the real main window through its panels on the demo city
// and saves the pictures of the help pages (OUT/help/images) and the README (OUT/docs/images).
// scripts/pictures.sh runs it on the checkout under a virtual X server with real fonts:
//   xvfb-run -a -s "-screen 0 1600x1000x24" qiwu_screenshots PROGRAM_DIR OUT
#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTreeWidget>
#include <array>
#include <cstdio>

#include "app/PagePreviewDialog.h"
#include "app/ResultsHub.h"
#include "app/frmMain.h"
#include "bus/BusPanel.h"
#include "bus/DeparturesWindow.h"
#include "bus/PlanTextBox.h"
#include "bus/TripWindow.h"
#include "bus/frmBus.h"
#include "data/CityVocabulary.h"
#include "features/InfoDrawers.h"
#include "features/KeywordPanel.h"
#include "features/NearestPanel.h"
#include "features/RadiusPanel.h"
#include "features/ResultTable.h"
#include "features/TypeBrowsePanel.h"
#include "kit/Messages.h"
#include "kit/Twips.h"
#include "mapwidgets/MapControl.h"
#include "tests/app/ScreenshotScenes.h"
#include "tests/app/WindowParts.h"

namespace {

QDir outDir;
bool allSaved = true;

// Lets the window settle, and every map in it finish its frame.
void Settle() {
  QTest::qWait(400);
  for (QWidget* window : QApplication::topLevelWidgets()) {
    for (MapControl* map : window->findChildren<MapControl*>()) {
      if (map->isVisible() && !map->WaitForFrame()) std::fprintf(stderr, "a map did not finish its frame\n");
    }
  }
}

QPixmap Grab(QWidget* widget, QRect twips = {}) {
  Settle();
  if (twips.isNull()) return widget->grab();
  return widget->grab(QRect(qiwu::TwipsToPixels(twips.x(), widget), qiwu::TwipsToPixels(twips.y(), widget),
                            qiwu::TwipsToPixels(twips.width(), widget),
                            qiwu::TwipsToPixels(twips.height(), widget)));
}

void Save(const QPixmap& picture, std::initializer_list<const char*> names) {
  for (const char* name : names) {
    const QString path = outDir.filePath(QString::fromUtf8(name));
    if (picture.save(path)) continue;
    std::fprintf(stderr, "cannot save %s\n", qUtf8Printable(path));
    allSaved = false;
  }
}

// The four feature panels side by side, as one picture.
QPixmap SideBySide(const std::array<QPixmap, 4>& panels, const QColor& background) {
  constexpr int kGap = 8;
  int width = kGap, height = 0;
  for (const QPixmap& p : panels) width += p.width() + kGap, height = std::max(height, p.height());
  QPixmap sheet(width, height + 2 * kGap);
  sheet.fill(background);
  QPainter painter(&sheet);
  int x = kGap;
  for (const QPixmap& p : panels) painter.drawPixmap(x, kGap, p), x += p.width() + kGap;
  return sheet;
}

void ClickMapAt(MapControl* map, MapPoint p) {
  QTest::mouseClick(map, Qt::LeftButton, {}, map->MapToScreen(p).toPoint());
}

QPoint MapPixel(const MapControl* map, double fx, double fy) {
  return QPoint(int(map->width() * fx), int(map->height() * fy));
}

void ChooseLine(BusPanel& bus, const QString& line) {
  const int index = bus.cmbBus->findText(line);
  bus.cmbBus->setCurrentIndex(index);
  emit bus.cmbBus->activated(index);
}

// A restaurant picked from the type list, its card open: the help's type browse and card, the
// legend, and the README's main window. Returns the type panel for the panels' picture.
QPixmap TypeBrowseAndCard(frmMain& w, const Feature& restaurant) {
  const auto rows = apptest::ListShow(w, 0)->findItems(restaurant.DisplayName(), Qt::MatchExactly);
  if (!rows.isEmpty()) apptest::ListShow(w, 0)->setCurrentItem(rows.first());
  apptest::Part<TypeBrowsePanel>(w)->lstShow_Click();
  apptest::Part<InfoDrawers>(w)->imgInfo_Click(0);
  Save(Grab(&w), {"help/images/type-browse.png", "docs/images/main-window.png"});
  Save(Grab(w.picInfo[0]), {"help/images/card.png"});
  const QPixmap panel = Grab(w.picShow[0]);
  apptest::Part<InfoDrawers>(w)->imgInfo_Click(0);
  apptest::Part<InfoDrawers>(w)->imgInfo_Click(1);
  Save(Grab(w.picInfo[1]), {"help/images/legend.png"});
  apptest::Part<InfoDrawers>(w)->imgInfo_Click(1);
  return panel;
}

// Another restaurant, clicked on the map with the point select tool while the card is open.
void CardFollowsSelection(frmMain& w, const Feature& restaurant) {
  apptest::Part<InfoDrawers>(w)->imgInfo_Click(0);
  w.Map1->SetViewWidth(1500);
  w.Map1->SetCenterX(restaurant.CenterX() + 300);
  w.Map1->SetCenterY(restaurant.CenterY());
  w.imgTools_Click(6);
  ClickMapAt(w.Map1, restaurant.Center());
  Save(Grab(&w), {"docs/images/card.png"});
  apptest::Part<InfoDrawers>(w)->imgInfo_Click(0);
}

// The bus panel and the plan window: a line on the map, the suggestions while typing, a transfer
// plan, and the route of its first plan line drawn on the map.
void BusPictures(frmMain& w, const TransferScene& transfer) {
  BusPanel& bus = *apptest::Part<BusPanel>(w);
  w.imgType_Click(4);
  ChooseLine(bus, QStringLiteral("6路"));
  bus.cmdBus->click();
  w.Timer1_Timer();
  Save(Grab(&w), {"help/images/bus.png"});

  w.Map1->UnselectAll();
  ChooseLine(bus, transfer.departureLine);
  bus.txtStation[0]->setFocus();
  for (const QChar typed : transfer.departure.left(2)) bus.txtStation[0]->insert(typed);
  Save(Grab(w.picShow[4]), {"docs/images/bus-panel.png"});

  bus.txtStation[0]->setText(transfer.departure);
  bus.txtStation[1]->setText(transfer.destination);
  bus.cmdOk_Click();
  frmBus* plan = bus.PlanWindow();
  if (!plan) return;
  Save(Grab(plan), {"help/images/transfer.png", "docs/images/plan-window.png"});
  PlanTextBox* box = plan->rtxtBusChange;
  const QPoint firstLine = box->cursorRect(QTextCursor(box->document()->firstBlock())).center();
  QTest::mouseDClick(box->viewport(), Qt::LeftButton, {}, firstLine);
  Save(Grab(w.Map1), {"docs/images/bus-route.png"});
  plan->close();
}

// The trip planner: a trip from a sight to a college, its plans and the quickest drawn on the map.
void TripPictures(frmMain& w) {
  auto firstName = [&](const char* layer) {
    Layer* found = w.Map1->FindLayer(QString::fromUtf8(layer));
    return found ? found->FeatureForId(1).DisplayName() : QString();
  };
  TripWindow* trip = w.OpenTripPlanner();
  trip->move(w.geometry().right() - trip->width(), w.geometry().top() + 60);
  trip->txtFrom->setText(firstName(city::layer::kSights));
  trip->txtTo->setText(firstName(city::layer::kColleges));
  trip->cmbWhen->setCurrentIndex(TripWindow::kDepartAt);
  trip->dtWhen->setDateTime(QDateTime(QDate(2026, 5, 7), QTime(8, 0)));
  trip->Search();
  // The first plan with a ride, opened, its boarding stop's departures beside it.
  QTreeWidgetItem* boarding = nullptr;
  for (int i = 0; i < trip->lstPlans->topLevelItemCount() && !boarding; ++i) {
    QTreeWidgetItem* plan = trip->lstPlans->topLevelItem(i);
    for (int leg = 0; leg < plan->childCount() && !boarding; ++leg)
      if (plan->child(leg)->text(0).contains(QStringLiteral(" 乘 "))) boarding = plan->child(leg);
  }
  if (boarding) {
    trip->lstPlans->expandItem(boarding->parent());
    trip->lstPlans->setCurrentItem(boarding->parent());
  }
  w.Timer1_Timer();
  Save(Grab(w.Map1), {"docs/images/trip-plan.png"});
  Save(Grab(trip), {"help/images/trip.png", "docs/images/trip-window.png"});
  if (boarding) {
    emit trip->lstPlans->itemClicked(boarding, 0);
    if (trip->Departures()) {
      Save(Grab(trip->Departures()), {"help/images/departures.png"});
      trip->Departures()->close();
    }
  }
  trip->close();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: qiwu_screenshots PROGRAM_DIR OUT\n");
    return 2;
  }
  outDir.setPath(QString::fromLocal8Bit(argv[2]));
  if (!outDir.mkpath("help/images") || !outDir.mkpath("docs/images")) return 1;
  qiwu::SetMessageSink([](const qiwu::Message& m) {
    std::fprintf(stderr, "%s: %s\n", qUtf8Printable(m.title), qUtf8Printable(m.text));
  });

  frmMain w(QString::fromLocal8Bit(argv[1]));
  w.Start();
  if (!QTest::qWaitForWindowExposed(&w)) return 1;
  w.activateWindow();  // the station box's suggestions come with its focus
  if (!QTest::qWaitForWindowActive(&w)) std::fprintf(stderr, "the window is not active\n");
  const std::vector<Feature> cards = RestaurantsWithFullCards(*w.Map1, 2);
  const MapPoint corner = BusyCorner(*w.Map1);
  const TransferScene transfer = FindTransfer(*apptest::Part<BusPanel>(w));
  if (cards.size() < 2 || transfer.departure.isEmpty()) {
    std::fprintf(stderr, "the city has no restaurants with full cards or no transfer with one change\n");
    return 1;
  }
  std::array<QPixmap, 4> panels;

  w.Map1->SetViewWidth(9000);
  w.Timer1_Timer();
  Save(Grab(&w), {"help/images/main-window.png"});
  Save(Grab(&w, QRect(2880, 60, 8280, 630)), {"help/images/toolbar.png"});

  panels[0] = TypeBrowseAndCard(w, cards[0]);
  CardFollowsSelection(w, cards[1]);

  w.imgType_Click(1);
  apptest::Part<KeywordPanel>(w)->txtLike->setText(QStringLiteral("公园"));
  Save(Grab(&w, QRect(0, 780, 2900, 7100)), {"help/images/keyword.png"});
  panels[1] = Grab(w.picShow[1]);

  w.imgType_Click(2);
  w.Map1->SetViewWidth(1500);
  w.Map1->SetCenterX(corner.x);
  w.Map1->SetCenterY(corner.y);
  apptest::Part<RadiusPanel>(w)->txtRadius->setText(QStringLiteral("400"));
  apptest::Part<RadiusPanel>(w)->cmdClick0->click();
  ClickMapAt(w.Map1, corner);
  Save(Grab(&w), {"help/images/radius.png"});
  panels[2] = Grab(w.picShow[2]);
  Save(Grab(apptest::Part<ResultsHub>(w)->table), {"docs/images/results-table.png"});
  apptest::Part<ResultsHub>(w)->table->close();
  const auto preview = apptest::Part<ResultsHub>(w)->MakePreview(PagePreviewDialog::Purpose::Pdf);
  preview->show();
  QTest::qWait(200);
  Save(Grab(preview.get()), {"docs/images/export-pdf.png"});
  preview->close();

  w.imgType_Click(3);
  const MapPoint here = QuietSpot(*w.Map1, {corner.x - 700, corner.y + 500});
  w.Map1->SetCenterX(here.x);
  w.Map1->SetCenterY(here.y);
  apptest::Part<NearestPanel>(w)->cmdClick1->click();
  ClickMapAt(w.Map1, here);
  Save(Grab(&w), {"help/images/nearest.png"});
  panels[3] = Grab(w.picShow[3]);
  Save(SideBySide(panels, w.palette().color(QPalette::Window)), {"docs/images/feature-panels.png"});

  BusPictures(w, transfer);
  TripPictures(w);

  // Measuring round the old town: three clicks, the mouse resting at a fourth point.
  w.imgType_Click(0);
  w.Map1->UnselectAll();
  w.Map1->SetViewWidth(6000);
  w.Map1->SetCenterX(500000);
  w.Map1->SetCenterY(3400000);
  w.imgTools_Click(5);
  QTest::mouseClick(w.Map1, Qt::LeftButton, {}, MapPixel(w.Map1, 0.2, 0.3));
  QTest::mouseClick(w.Map1, Qt::LeftButton, {}, MapPixel(w.Map1, 0.45, 0.35));
  QTest::mouseClick(w.Map1, Qt::LeftButton, {}, MapPixel(w.Map1, 0.55, 0.6));
  QTest::mouseMove(w.Map1, MapPixel(w.Map1, 0.7, 0.55));
  Save(Grab(&w), {"help/images/measure.png"});
  return allSaved ? 0 : 1;
}
