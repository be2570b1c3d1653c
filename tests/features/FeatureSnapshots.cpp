// features_snapshots OUTDIR [PROGRAMDIR]: starts the real main window on a program directory
// (default: this program's own, with the demo city), runs each feature panel once and saves
// pictures of the panels, the open card and the legend to OUTDIR for a person to look at.
// Not a test: nothing is checked here.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <cstdio>

#include "app/frmMain.h"
#include "data/modGetRecord.h"
#include "features/InfoDrawers.h"
#include "features/KeywordPanel.h"
#include "features/NearestPanel.h"
#include "features/RadiusPanel.h"
#include "features/TypeBrowsePanel.h"
#include "kit/Messages.h"
#include "map/MapControl.h"

namespace {

const QString kRestaurants = QStringLiteral("餐饮娱乐");

void Save(QWidget* widget, const QDir& out, const QString& name) {
  QApplication::processEvents();
  const QString path = out.filePath(name + ".png");
  if (!widget->grab().save(path)) std::fprintf(stderr, "not saved: %s\n", qUtf8Printable(path));
}

// A restaurant whose card is complete, and the centre of the most restaurants within 400 m.
struct Scene {
  Feature cardRestaurant;
  MapPoint busyCorner;
};

Scene FindScene(MapControl& map) {
  Layer* layer = map.FindLayer(kRestaurants);
  const FeatureSet all = layer->ListFeatures();
  Scene scene{all.Item(1), all.Item(1).Center()};
  for (const Feature& f : all) {
    const QString condition = " where name  = '" + modGetRecord::SqlText(f.DisplayName()) + "'";
    if (!modGetRecord::GetFieldValue(kRestaurants, "address", condition).isEmpty() &&
        !modGetRecord::GetFieldValue(kRestaurants, "web", condition).isEmpty()) {
      scene.cardRestaurant = f;
      break;
    }
  }
  int most = 0;
  for (const Feature& f : all) {
    const int around =
        layer->FeaturesWithinDistance(f.Center(), 400, kUnitMetres, kSearchWhollyWithin).Count();
    if (around > most && around <= 6) most = around, scene.busyCorner = {f.CenterX() + 40, f.CenterY() - 30};
  }
  return scene;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: features_snapshots OUTDIR [PROGRAMDIR]\n");
    return 2;
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  out.mkpath(QStringLiteral("."));
  qiwu::SetMessageSink([](const qiwu::Message& m) { std::fprintf(stderr, "%s\n", qUtf8Printable(m.text)); });
  frmMain window(argc > 2 ? QString::fromLocal8Bit(argv[2]) : QCoreApplication::applicationDirPath());
  window.Start();
  if (!QTest::qWaitForWindowExposed(&window)) return 1;
  const Scene scene = FindScene(*window.Map1);

  window.imgType_Click(0);
  window.typeBrowse->cmbType0->setCurrentText(kRestaurants);
  Save(window.picShow[0], out, "panel-type");

  window.imgType_Click(1);
  window.keyword->txtLike->setText(QStringLiteral("酒"));
  Save(window.picShow[1], out, "panel-keyword");

  window.imgType_Click(2);
  window.radius->cmbType1->setCurrentText(kRestaurants);
  window.radius->RadiusSearch(scene.busyCorner.x, scene.busyCorner.y, window.lyrTempPoint);
  Save(window.picShow[2], out, "panel-radius");
  Save(&window, out, "window-radius");

  window.imgType_Click(3);
  window.nearest->cmbType2->setCurrentText(kRestaurants);
  window.nearest->NearestSearch(scene.busyCorner.x - 700, scene.busyCorner.y + 500, window.lyrTempPoint);
  Save(window.picShow[3], out, "panel-nearest");

  window.imgType_Click(0);
  window.Map1->UnselectAll();
  window.Map1->FindLayer(kRestaurants)->Selection().Replace(scene.cardRestaurant);
  window.Map1->SetViewWidth(1500);
  window.Map1->SetCenterX(scene.cardRestaurant.CenterX() + 300);
  window.Map1->SetCenterY(scene.cardRestaurant.CenterY());
  window.drawers->imgInfo_Click(0);
  Save(window.picInfo[0], out, "card");
  Save(&window, out, "window-card");
  window.drawers->imgInfo_Click(0);
  window.drawers->imgInfo_Click(1);
  Save(window.picInfo[1], out, "legend");
  return 0;
}
