#include "bus/DeparturesWindow.h"

#include <QHeaderView>
#include <QLabel>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "bus/TimedPlanLines.h"

DeparturesWindow::DeparturesWindow(QWidget* owner)
    : QWidget(owner, Qt::Window), lblWhen(new QLabel(this)), lstDepartures(new QTreeWidget(this)) {
  resize(420, 360);
  lblWhen->setTextFormat(Qt::PlainText);
  lblWhen->setWordWrap(true);
  lstDepartures->setRootIsDecorated(false);
  lstDepartures->setHeaderLabels({QStringLiteral("线路"), QStringLiteral("方向"), QStringLiteral("发车")});
  lstDepartures->header()->setSectionResizeMode(1, QHeaderView::Stretch);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lblWhen);
  layout->addWidget(lstDepartures);
  connect(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, this, &QWidget::close);
}

void DeparturesWindow::ShowStop(const trip::TimedSource* source, const QString& error, const QString& stop,
                                const QDateTime& at) {
  setWindowTitle(QStringLiteral("发车时刻 - ") + stop);
  lstDepartures->clear();
  if (!source) {
    lblWhen->setText(error.isEmpty() ? QStringLiteral("本城市没有公交时刻表，无法查看发车时刻。")
                                     : QStringLiteral("公交时刻表不能使用：") + error);
  } else {
    const QDateTime wall(at.date(), at.time(), source->Zone());
    const trip::ServiceClock clock(source->Zone(), wall.date());
    const int from = clock.SecondsAt(wall);
    const std::vector<int> platforms = source->PlatformsNamed(stop);
    const std::vector<trip::Departure> departures =
        platforms.empty() ? std::vector<trip::Departure>{}
                          : source->Departures(platforms, clock.Day(), from, kWindowSeconds);
    lblWhen->setText(QStringLiteral("%1 %2 起 %3 分钟内的发车")
                         .arg(stop, wall.toString(QStringLiteral("yyyy-MM-dd HH:mm")),
                              QString::number(kWindowSeconds / 60)));
    for (const trip::Departure& departure : departures)
      new QTreeWidgetItem(lstDepartures, trip::DepartureColumns(source->Table(), clock, departure, from));
    if (departures.empty()) {
      auto* item = new QTreeWidgetItem(
          lstDepartures,
          {platforms.empty() ? QStringLiteral("时刻表中没有这个站") : QStringLiteral("这段时间没有车次")});
      item->setFirstColumnSpanned(true);
    }
  }
  show();
  raise();
}
