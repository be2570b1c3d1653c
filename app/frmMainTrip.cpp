// The trip planner in the main window: its button in the top strip, and the main map's
// right-click menu that starts or ends a trip at the clicked point.
#include <QMenu>
#include <QPainter>
#include <QToolButton>

#include "app/frmMain.h"
#include "bus/TripWindow.h"
#include "kit/Twips.h"
#include "mapwidgets/MapControl.h"

using namespace qiwu;

namespace {

// A trip in little: a dashed walk to a ride, green start, red end.
QIcon TripIcon(QSize size) {
  QPixmap picture(size);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  const double w = size.width(), h = size.height();
  const QPointF start(w * 0.3, h * 0.82), turn(w * 0.3, h * 0.5), end(w * 0.7, h * 0.18);
  painter.setPen(QPen(QColor(0x55, 0x5F, 0x6B), 1.5, Qt::DashLine));
  painter.drawLine(start, turn);
  painter.setPen(QPen(QColor(0x1F, 0x6F, 0xD1), 2.5, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(turn, end);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0x1E, 0x9E, 0x4A));
  painter.drawEllipse(start, w * 0.16, w * 0.16);
  painter.setBrush(QColor(0xD0, 0x2B, 0x2B));
  painter.drawEllipse(end, w * 0.16, w * 0.16);
  return QIcon(picture);
}

}  // namespace

void frmMain::CreateTripPlanner() {
  cmdTrip = new QToolButton(this);
  cmdTrip->setObjectName(QStringLiteral("cmdTrip"));
  cmdTrip->setText(QStringLiteral("出行规划"));
  cmdTrip->setToolTip(QStringLiteral("从一处到另一处：步行、乘车和换乘"));
  cmdTrip->setAutoRaise(true);
  cmdTrip->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  const int side = TwipsToPixels(300, this);
  cmdTrip->setIconSize(QSize(side, side));
  cmdTrip->setIcon(TripIcon(QSize(side, side)));
  connect(cmdTrip, &QToolButton::clicked, this, [this] { OpenTripPlanner(); });

  Map1->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(Map1, &QWidget::customContextMenuRequested, this, [this](QPoint at) {
    const MapPoint point = Map1->ScreenToMap(at.x(), at.y());
    QMenu menu(this);
    menu.addAction(QStringLiteral("从这里出发"), this, [this, point] { OpenTripPlanner()->SetStart(point); });
    menu.addAction(QStringLiteral("到这里去"), this, [this, point] { OpenTripPlanner()->SetEnd(point); });
    menu.exec(Map1->mapToGlobal(at));
  });
}

TripWindow* frmMain::OpenTripPlanner() {
  if (!trip_) trip_ = new TripWindow(*Map1, database_, this);
  trip_->show();
  trip_->raise();
  trip_->activateWindow();
  return trip_;
}
