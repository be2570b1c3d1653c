#include "bus/TripWindow.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QDateTimeEdit>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStringListModel>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "bus/DeparturesWindow.h"
#include "bus/RouteOverlay.h"
#include "bus/TimedPlanText.h"
#include "bus/TripCity.h"
#include "bus/TripDrawing.h"
#include "bus/TripPlanText.h"
#include "bus/TripSearch.h"
#include "data/CityVocabulary.h"
#include "data/search/SearchIndex.h"
#include "kit/Messages.h"
#include "map/MapReach.h"
#include "mapwidgets/MapControl.h"
#include "mapwidgets/modMapFunction.h"

namespace {

// What a line of a plan by the clock keeps for a click: the stop it names and when.
constexpr int kPlatformRole = Qt::UserRole;
constexpr int kSecondsRole = Qt::UserRole + 1;

}  // namespace

TripSuggest PlaceSuggestions(CityDatabase& database, int limit) {
  return [&database, limit](const QString& text) {
    QStringList names;
    for (const search::Entry* entry : search::SearchIndex::Of(database).Find(text, 4 * limit)) {
      if (entry->kind == QStringLiteral("线路") || entry->kind == QStringLiteral("道路")) continue;
      if (!names.contains(entry->name)) names << entry->name;
      if (names.size() == limit) break;
    }
    return names;
  };
}

TripWindow::TripWindow(MapControl& Map1, CityDatabase& database, QWidget* parent)
    : QWidget(parent, Qt::Window), Map1_(Map1), database_(database), suggest_(PlaceSuggestions(database)) {
  setWindowTitle(QStringLiteral("出行规划"));
  resize(560, 600);
  txtFrom = new QLineEdit(this);
  txtTo = new QLineEdit(this);
  txtFrom->setPlaceholderText(QStringLiteral("车站、地点，或在地图上右击“从这里出发”"));
  txtTo->setPlaceholderText(QStringLiteral("车站、地点，或在地图上右击“到这里去”"));
  cmbWhen = new QComboBox(this);
  cmbWhen->addItems({QStringLiteral("现在出发"), QStringLiteral("出发时间"), QStringLiteral("到达时间")});
  dtWhen = new QDateTimeEdit(this);
  dtWhen->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm"));
  dtWhen->setCalendarPopup(true);
  cmdSearch = new QPushButton(QStringLiteral("查询"), this);
  cmdCopy = new QPushButton(QStringLiteral("复制方案"), this);
  cmdCopy->setEnabled(false);
  cmdEarlier = new QPushButton(QStringLiteral("更早"), this);
  cmdLater = new QPushButton(QStringLiteral("更晚"), this);
  cmdEarlier->setToolTip(QStringLiteral("前一小时内出发（或到达）的方案"));
  cmdLater->setToolTip(QStringLiteral("后一小时内出发（或到达）的方案"));
  lblNotice = new QLabel(this);
  lblNotice->setTextFormat(Qt::PlainText);
  lblNotice->setWordWrap(true);
  lblNotice->setStyleSheet(QStringLiteral("color: #8a5a00;"));
  lblNotice->hide();
  lstPlans = new QTreeWidget(this);
  lstPlans->setHeaderLabels(
      {QStringLiteral("方案"), QStringLiteral("用时"), QStringLiteral("步行"), QStringLiteral("换乘")});
  lstPlans->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  for (int column = 1; column < 4; ++column)
    lstPlans->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
  lstPlans->setWordWrap(true);

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("起点"), txtFrom);
  form->addRow(QStringLiteral("终点"), txtTo);
  auto* when = new QHBoxLayout;
  when->addWidget(cmbWhen);
  when->addWidget(dtWhen, 1);
  form->addRow(QStringLiteral("时间"), when);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(cmdEarlier);
  buttons->addWidget(cmdLater);
  buttons->addStretch();
  buttons->addWidget(cmdSearch);
  buttons->addWidget(cmdCopy);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(buttons);
  layout->addWidget(lblNotice);
  layout->addWidget(lstPlans);

  for (QLineEdit* box : {txtFrom, txtTo}) {
    auto* model = new QStringListModel(box);
    auto* completer = new QCompleter(model, box);
    completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    box->setCompleter(completer);
    connect(box, &QLineEdit::textEdited, this, [this, box, model] { Suggest(box, model); });
    connect(box, &QLineEdit::returnPressed, this, &TripWindow::Search);
  }
  connect(cmdSearch, &QPushButton::clicked, this, &TripWindow::Search);
  connect(cmdCopy, &QPushButton::clicked, this, &TripWindow::CopyPlan);
  connect(lstPlans, &QTreeWidget::currentItemChanged, this, [this] { ShowPlan(SelectedPlan()); });
  connect(lstPlans, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { StopClicked(item); });
  connect(cmbWhen, &QComboBox::currentIndexChanged, this, &TripWindow::WhenChosen);
  connect(cmdEarlier, &QPushButton::clicked, this,
          [this] { ShowTimedPlans(trip::EarlierPage(query_, shown_)); });
  connect(cmdLater, &QPushButton::clicked, this, [this] { ShowTimedPlans(trip::LaterPage(query_, shown_)); });
  connect(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, this, &QWidget::close);
  connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this,
          &TripWindow::HelpRequested);
  ClearPlans();
  WhenChosen();
}

TripWindow::~TripWindow() {
  if (overlay_) overlay_->Clear();
}

void TripWindow::SetStart(MapPoint point) {
  txtFrom->setText(QStringLiteral("%1,%2").arg(point.x, 0, 'f', 1).arg(point.y, 0, 'f', 1));
}

void TripWindow::SetEnd(MapPoint point) {
  txtTo->setText(QStringLiteral("%1,%2").arg(point.x, 0, 'f', 1).arg(point.y, 0, 'f', 1));
}

void TripWindow::SetTimedSource(trip::TimedSourceOf source) {
  timedSourceOf_ = std::move(source);
  CitySwitched();
}

void TripWindow::CitySwitched() {
  ClearPlans();
  index_ = nullptr;
  timetableAsked_ = false;
  timed_.reset();
}

void TripWindow::ClearPlans() {
  plans_.clear();
  timedPlans_.clear();
  clock_.reset();
  lstPlans->clear();
  cmdCopy->setEnabled(false);
  cmdEarlier->setEnabled(false);
  cmdLater->setEnabled(false);
  if (overlay_) overlay_->Clear();
}

void TripWindow::PrepareTimetable() {
  if (timetableAsked_) return;
  timetableAsked_ = true;
  QString error;
  timed_ = timedSourceOf_ ? timedSourceOf_(error) : nullptr;
  lblNotice->setText(error.isEmpty()
                         ? trip::kEstimateNotice
                         : QStringLiteral("时刻表不能使用（%1），").arg(error) + trip::kEstimateNotice);
  lblNotice->setVisible(!timed_);
  cmbWhen->setEnabled(timed_ != nullptr);
  WhenChosen();
}

void TripWindow::WhenChosen() {
  const bool now = cmbWhen->currentIndex() == kNow;
  dtWhen->setEnabled(timed_ && !now);
  if (!now) return;
  const QDateTime wall =
      timed_ ? QDateTime::currentDateTime().toTimeZone(timed_->Zone()) : QDateTime::currentDateTime();
  dtWhen->setDateTime(QDateTime(wall.date(), QTime(wall.time().hour(), wall.time().minute())));
}

std::vector<Layer*> TripWindow::PointLayers() const { return LayersBelowMarker(Map1_); }

bool TripWindow::PrepareCity() {
  QString error;
  index_ = trip::IndexOf(database_, Map1_.FindLayer(QString::fromUtf8(city::layer::kBusStops)), PointLayers(),
                         error);
  if (!index_) qiwu::MsgBox(QStringLiteral("读取公交信息失败：") + error, qiwu::MsgIcon::Critical);
  return index_ != nullptr;
}

void TripWindow::Suggest(QLineEdit* box, QStringListModel* model) {
  if (!PrepareCity()) return;
  model->setStringList(suggest_(box->text().trimmed()));
  if (model->rowCount() > 0) box->completer()->complete();
}

void TripWindow::Search() {
  ClearPlans();
  if (!PrepareCity()) return;
  PrepareTimetable();
  const std::vector<Layer*> layers = PointLayers();
  from_ = trip::FindPlace(*index_, txtFrom->text().trimmed(), layers);
  to_ = trip::FindPlace(*index_, txtTo->text().trimmed(), layers);
  const std::optional<MapRect> extent = LayersExtent(Map1_.LayersBottomToTop());
  for (const auto& [place, box] : {std::pair{&from_, txtFrom}, std::pair{&to_, txtTo}}) {
    const QString refusal = !place->has_value()
                                ? QStringLiteral("找不到地点“%1”。").arg(box->text().trimmed())
                                : trip::PlaceOffMap(**place, extent);
    if (refusal.isEmpty()) continue;
    qiwu::MsgBox(refusal, qiwu::MsgIcon::Information);
    return;
  }
  if (timed_) {
    SearchTimed();
    return;
  }
  plans_ = trip::Search(*index_, *from_, *to_).plans;
  if (plans_.empty()) {
    auto* item = new QTreeWidgetItem(lstPlans, {trip::NoPlanReason(*index_, *from_, *to_, trip::kMaxRides)});
    item->setFlags(Qt::ItemIsEnabled);
    return;
  }
  for (std::size_t i = 0; i < plans_.size(); ++i) {
    const trip::Plan& plan = plans_[i];
    auto* item = new QTreeWidgetItem(
        lstPlans,
        {QStringLiteral("方案 %1").arg(i + 1), trip::MinutesText(plan.minutes) + QStringLiteral(" 分钟"),
         trip::MetresText(plan.walkMetres) + QStringLiteral(" 米"),
         plan.rides == 0 ? QStringLiteral("步行") : QStringLiteral("%1 次").arg(plan.Changes())});
    for (const QString& leg : trip::LegTexts(*index_, plan, *to_)) {
      auto* child = new QTreeWidgetItem(item, {leg});
      child->setToolTip(0, leg);
      child->setFirstColumnSpanned(true);
    }
  }
  lstPlans->expandItem(lstPlans->topLevelItem(0));
  lstPlans->setCurrentItem(lstPlans->topLevelItem(0));
}

trip::TimedEnd TripWindow::TimedEndOf(const trip::Place& place) const {
  trip::TimedEnd end{place.label, {}, place.placed, place.point};
  if (place.stop >= 0)
    end.platforms = timed_->PlatformsNamed(index_->Net().stops[std::size_t(place.stop)].name);
  return end;
}

void TripWindow::SearchTimed() {
  if (cmbWhen->currentIndex() == kNow) WhenChosen();
  const QDateTime wall(dtWhen->date(), dtWhen->time(), timed_->Zone());
  const trip::ServiceClock clock(timed_->Zone(), wall.date());
  trip::TimedQuery query;
  query.from = TimedEndOf(*from_);
  query.to = TimedEndOf(*to_);
  query.day = clock.Day();
  query.seconds = clock.SecondsAt(wall);
  query.mode = cmbWhen->currentIndex() == kArriveBy ? trip::TimedMode::ArriveBy : trip::TimedMode::DepartAt;
  ShowTimedPlans(query);
}

void TripWindow::ShowTimedPlans(const trip::TimedQuery& query) {
  ClearPlans();
  query_ = query;
  timedPlans_ = timed_->Search(query);
  shown_ = trip::SpanShown(query, timedPlans_);
  clock_.emplace(timed_->Zone(), query.day);
  cmdEarlier->setEnabled(true);
  cmdLater->setEnabled(true);
  if (timedPlans_.empty()) {
    auto* item = new QTreeWidgetItem(
        lstPlans,
        {QStringLiteral("%1 至 %2 之间没有方案").arg(clock_->Text(shown_.from), clock_->Text(shown_.to))});
    item->setFlags(Qt::ItemIsEnabled);
    item->setFirstColumnSpanned(true);
    return;
  }
  const citygen::Timetable& table = timed_->Table();
  for (const trip::TimedPlan& plan : timedPlans_) {
    auto* item = new QTreeWidgetItem(
        lstPlans, {trip::TimedHeadline(*clock_, plan), trip::DurationText(plan.depart, plan.arrive),
                   trip::MetresText(plan.walkMetres) + QStringLiteral(" 米"),
                   plan.rides == 0 ? QStringLiteral("步行") : QStringLiteral("%1 次").arg(plan.rides - 1)});
    for (const trip::TimedLegLine& line : trip::TimedLegLines(table, *clock_, plan, to_->label)) {
      auto* child = new QTreeWidgetItem(item, {line.text});
      child->setFirstColumnSpanned(true);
      child->setData(0, kPlatformRole, line.platform);
      child->setData(0, kSecondsRole, line.seconds);
      child->setToolTip(
          0, line.platform >= 0 ? line.text + QStringLiteral("\n单击查看该站的发车时刻") : line.text);
    }
  }
  lstPlans->expandItem(lstPlans->topLevelItem(0));
  lstPlans->setCurrentItem(lstPlans->topLevelItem(0));
}

void TripWindow::StopClicked(const QTreeWidgetItem* item) {
  if (!clock_ || !item->parent()) return;
  const int platform = item->data(0, kPlatformRole).toInt();
  if (platform < 0) return;
  if (!departures_) departures_ = new DeparturesWindow(this);
  departures_->ShowStop(timed_.get(), QString(),
                        QString::fromStdString(timed_->Table().platforms[std::size_t(platform)].name),
                        clock_->At(item->data(0, kSecondsRole).toInt()));
}

int TripWindow::SelectedPlan() const {
  const QTreeWidgetItem* item = lstPlans->currentItem();
  if (!item || (plans_.empty() && timedPlans_.empty())) return -1;
  while (item->parent()) item = item->parent();
  return lstPlans->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item));
}

void TripWindow::ShowPlan(int plan) {
  cmdCopy->setEnabled(plan >= 0);
  if (plan < 0) return;
  if (!overlay_) overlay_ = new RouteOverlay(Map1_);
  if (clock_)
    DrawTimedPlan(*overlay_, Map1_, timed_->Table(), timedPlans_[std::size_t(plan)], *from_, *to_);
  else
    DrawTripPlan(*overlay_, Map1_, *index_, plans_[std::size_t(plan)], *from_, *to_);
}

void TripWindow::CopyPlan() {
  const int plan = SelectedPlan();
  if (plan < 0) return;
  const QString text =
      clock_ ? trip::TimedPlanText(
                   timed_->Table(),
                   {query_.from, query_.to, timed_->Zone(), query_.day,
                    clock_->At(query_.seconds).toString(QStringLiteral("yyyy-MM-dd HH:mm")), query_.maxRides},
                   timedPlans_[std::size_t(plan)])
             : trip::PlanText(*index_, plans_[std::size_t(plan)], *to_);
  QGuiApplication::clipboard()->setText(QStringLiteral("从 %1 到 %2\n").arg(from_->label, to_->label) + text);
}

void TripWindow::showEvent(QShowEvent* event) {
  PrepareTimetable();
  QWidget::showEvent(event);
}

void TripWindow::closeEvent(QCloseEvent* event) {
  ClearPlans();
  QWidget::closeEvent(event);
}
