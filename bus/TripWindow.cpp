#include "bus/TripWindow.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QCompleter>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStringListModel>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "bus/RouteOverlay.h"
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
  resize(460, 560);
  txtFrom = new QLineEdit(this);
  txtTo = new QLineEdit(this);
  txtFrom->setPlaceholderText(QStringLiteral("车站、地点，或在地图上右击“从这里出发”"));
  txtTo->setPlaceholderText(QStringLiteral("车站、地点，或在地图上右击“到这里去”"));
  cmdSearch = new QPushButton(QStringLiteral("查询"), this);
  cmdCopy = new QPushButton(QStringLiteral("复制方案"), this);
  cmdCopy->setEnabled(false);
  lstPlans = new QTreeWidget(this);
  lstPlans->setHeaderLabels(
      {QStringLiteral("方案"), QStringLiteral("用时"), QStringLiteral("步行"), QStringLiteral("换乘")});
  lstPlans->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  lstPlans->setWordWrap(true);

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("起点"), txtFrom);
  form->addRow(QStringLiteral("终点"), txtTo);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdSearch);
  buttons->addWidget(cmdCopy);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(buttons);
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
  connect(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, this, &QWidget::close);
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

void TripWindow::CitySwitched() {
  ClearPlans();
  index_ = nullptr;
}

void TripWindow::ClearPlans() {
  plans_.clear();
  lstPlans->clear();
  cmdCopy->setEnabled(false);
  if (overlay_) overlay_->Clear();
}

std::vector<Layer*> TripWindow::PointLayers() const { return LayersBelowMarker(Map1_); }

bool TripWindow::PrepareCity() {
  QString error;
  index_ = trip::IndexOf(database_, Map1_.FindLayer(QString::fromUtf8(city::layer::kBusStops)), error);
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

int TripWindow::SelectedPlan() const {
  const QTreeWidgetItem* item = lstPlans->currentItem();
  if (!item || plans_.empty()) return -1;
  while (item->parent()) item = item->parent();
  return lstPlans->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item));
}

void TripWindow::ShowPlan(int plan) {
  cmdCopy->setEnabled(plan >= 0);
  if (plan < 0) return;
  if (!overlay_) overlay_ = new RouteOverlay(Map1_);
  DrawTripPlan(*overlay_, Map1_, *index_, plans_[std::size_t(plan)], *from_, *to_);
}

void TripWindow::CopyPlan() {
  const int plan = SelectedPlan();
  if (plan < 0) return;
  QGuiApplication::clipboard()->setText(QStringLiteral("从 %1 到 %2\n").arg(from_->label, to_->label) +
                                        trip::PlanText(*index_, plans_[std::size_t(plan)], *to_));
}

void TripWindow::closeEvent(QCloseEvent* event) {
  ClearPlans();
  QWidget::closeEvent(event);
}
