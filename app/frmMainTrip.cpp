// The trip planner in the main window: its button in the top strip, the main map's right-click
// menu that starts or ends a trip at the clicked point or lists a stop's departures, and the
// planner's help page.
#include <QMenu>
#include <QPainter>
#include <QToolButton>

#include "app/frmMain.h"
#include "bus/DeparturesWindow.h"
#include "bus/TimedCitySource.h"
#include "bus/TripWindow.h"
#include "data/CityVocabulary.h"
#include "kit/Twips.h"
#include "map/Layer.h"
#include "mapwidgets/FeaturePick.h"
#include "mapwidgets/MapControl.h"
#include "mapwidgets/modMapFunction.h"

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

// The name of the stop of 公交站台 under the screen point at; empty when none is.
QString StopUnder(const MapControl& map, QPoint at) {
  const std::optional<PickedFeature> picked = FeatureUnder(map, at);
  if (!picked || picked->layer->Name() != QString::fromUtf8(city::layer::kBusStops)) return QString();
  return picked->layer->FeatureForId(picked->id).DisplayName();
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
  timetable_ = trip::CityTimetable(database_, [this] { return LayersBelowMarker(*Map1); });

  Map1->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(Map1, &QWidget::customContextMenuRequested, this,
          [this](QPoint at) { MapMenu(at)->exec(Map1->mapToGlobal(at)); });
}

std::unique_ptr<QMenu> frmMain::MapMenu(QPoint at) {
  const MapPoint point = Map1->ScreenToMap(at.x(), at.y());
  auto menu = std::make_unique<QMenu>(this);
  menu->addAction(QStringLiteral("从这里出发"), this, [this, point] { OpenTripPlanner()->SetStart(point); });
  menu->addAction(QStringLiteral("到这里去"), this, [this, point] { OpenTripPlanner()->SetEnd(point); });
  const QString stop = StopUnder(*Map1, at);
  if (!stop.isEmpty()) {
    menu->addSeparator();
    menu->addAction(QStringLiteral("查看发车时刻"), this, [this, stop] { ShowDepartures(stop); });
  }
  return menu;
}

void frmMain::ShowDepartures(const QString& stop) {
  QString error;
  const std::shared_ptr<const trip::TimedSource> timetable = timetable_ ? timetable_(error) : nullptr;
  if (!departures_) departures_ = new DeparturesWindow(this);
  const QDateTime now = QDateTime::currentDateTime();
  departures_->ShowStop(timetable.get(), error, stop, timetable ? now.toTimeZone(timetable->Zone()) : now);
}

TripWindow* frmMain::OpenTripPlanner() {
  if (!trip_) {
    trip_ = new TripWindow(*Map1, database_, this);
    trip_->SetTimedSource(timetable_);
    connect(trip_, &TripWindow::HelpRequested, this, [this] { ShowHelpPage(QStringLiteral("trip.html")); });
  }
  trip_->show();
  trip_->raise();
  trip_->activateWindow();
  return trip_;
}
