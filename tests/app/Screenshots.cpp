// Development tool, not a test: drives the real main window through its panels and saves
// pictures of it for the help pages and the README. Run it under a display with real fonts:
//   xvfb-run -a -s "-screen 0 1600x1000x24" qiwu_screenshots PROGRAM_DIR OUT_DIR
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <cstdio>

#include "app/HelpWindow.h"
#include "app/frmMain.h"
#include "bus/BusPanel.h"
#include "bus/frmBus.h"
#include "features/InfoDrawers.h"
#include "features/KeywordPanel.h"
#include "features/TypeBrowsePanel.h"
#include "features/NearestPanel.h"
#include "features/RadiusPanel.h"
#include "kit/Messages.h"
#include "kit/Twips.h"
#include "map/MapControl.h"

namespace {

QString outDir;

void Settle() { QTest::qWait(400); }

void Save(QWidget* widget, const char* name, QRect twips = {}) {
  Settle();
  const QRect area =
      twips.isNull()
          ? QRect(QPoint(0, 0), QSize(-1, -1))
          : QRect(qiwu::TwipsToPixels(twips.x(), widget), qiwu::TwipsToPixels(twips.y(), widget),
                  qiwu::TwipsToPixels(twips.width(), widget), qiwu::TwipsToPixels(twips.height(), widget));
  const QString path = outDir + "/" + name;
  if (!widget->grab(area).save(path)) std::fprintf(stderr, "cannot save %s\n", qUtf8Printable(path));
}

QPoint MapPixel(const MapControl* map, double fx, double fy) {
  return QPoint(int(map->width() * fx), int(map->height() * fy));
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: qiwu_screenshots PROGRAM_DIR OUT_DIR\n");
    return 2;
  }
  outDir = QString::fromLocal8Bit(argv[2]);
  QDir().mkpath(outDir);
  qiwu::SetMessageSink([](const qiwu::Message& m) {
    std::fprintf(stderr, "%s: %s\n", qUtf8Printable(m.title), qUtf8Printable(m.text));
  });

  frmMain w(QString::fromLocal8Bit(argv[1]));
  w.Start();
  if (!QTest::qWaitForWindowExposed(&w)) return 1;

  // The whole window after a first view change, so the overview shows its frame.
  w.Map1->SetViewWidth(9000);
  w.Timer1_Timer();
  Save(&w, "main-window.png");
  Save(&w, "toolbar.png", QRect(2880, 60, 8280, 630));

  // Type browse: a restaurant picked from the list, then the card drawer opened.
  w.lstShow[0]->setCurrentRow(4);
  w.typeBrowse->lstShow_Click();
  w.drawers->imgInfo_Click(0);
  Save(&w, "type-browse.png");
  Save(w.picInfo[0], "card.png");
  w.drawers->imgInfo_Click(0);
  w.drawers->imgInfo_Click(1);
  Save(w.picInfo[1], "legend.png");
  w.drawers->imgInfo_Click(1);

  w.imgType_Click(1);
  w.keyword->txtLike->setText(QStringLiteral("公园"));
  Save(&w, "keyword.png", QRect(0, 780, 2900, 7100));

  w.imgType_Click(2);
  w.Map1->SetViewWidth(4000);
  w.radius->txtRadius->setText(QStringLiteral("600"));
  w.radius->cmdClick0->click();
  QTest::mouseClick(w.Map1, Qt::LeftButton, {}, MapPixel(w.Map1, 0.5, 0.5));
  Save(&w, "radius.png");

  w.imgType_Click(3);
  w.Map1->SetViewWidth(4000);
  w.nearest->cmdClick1->click();
  QTest::mouseClick(w.Map1, Qt::LeftButton, {}, MapPixel(w.Map1, 0.35, 0.6));
  Save(&w, "nearest.png");

  w.imgType_Click(4);
  w.bus->cmbBus->setCurrentIndex(3);
  emit w.bus->cmbBus->activated(3);
  w.bus->cmdBus->click();
  w.Timer1_Timer();
  Save(&w, "bus.png");

  // A transfer between the first stop of one line and the last stop of another.
  const QString from = w.lstShow[3]->item(0)->text().mid(3);
  w.bus->cmbBus->setCurrentIndex(12);
  emit w.bus->cmbBus->activated(12);
  const QString to = w.lstShow[3]->item(w.lstShow[3]->count() - 1)->text().mid(3);
  w.bus->txtStation[0]->setText(from);
  w.bus->txtStation[1]->setText(to);
  w.bus->cmdOk_Click();
  if (w.bus->PlanWindow()) Save(w.bus->PlanWindow(), "transfer.png");
  if (w.bus->PlanWindow()) w.bus->PlanWindow()->close();

  // Measuring: three clicks, the mouse resting at a fourth point.
  w.imgType_Click(0);
  w.imgTools_Click(5);
  QTest::mouseClick(w.Map1, Qt::LeftButton, {}, MapPixel(w.Map1, 0.2, 0.3));
  QTest::mouseClick(w.Map1, Qt::LeftButton, {}, MapPixel(w.Map1, 0.45, 0.35));
  QTest::mouseClick(w.Map1, Qt::LeftButton, {}, MapPixel(w.Map1, 0.55, 0.6));
  QTest::mouseMove(w.Map1, MapPixel(w.Map1, 0.7, 0.55));
  Save(&w, "measure.png");

  w.ShowHelp();
  if (w.Help()) Save(w.Help(), "help-window.png");
  return 0;
}
