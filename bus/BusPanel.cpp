#include "bus/BusPanel.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>

#include "bus/BusSearchRefusal.h"
#include "bus/PlanTextBox.h"
#include "bus/RouteDrawing.h"
#include "bus/frmBus.h"
#include "bus/modBusChange.h"
#include "data/CityVocabulary.h"
#include "data/Statements.h"
#include "data/modGetRecord.h"
#include "kit/Colors.h"
#include "kit/ItemListAdapters.h"
#include "kit/Messages.h"
#include "kit/Twips.h"
#include "mapwidgets/modMapFunction.h"

namespace {
const QString kBusTable = city::kBusTable;
const QString kStopLayer = city::layer::kBusStops;
const QString kLineLayer = city::layer::kBusLines;

// The station boxes' design-time texts: their own labels, and names like any other when searched.
const std::array<QString, 2> kStationLabels = {QStringLiteral("出发站"), QStringLiteral("目的站")};

// The suggestion list's first place, directly above the departure box.
constexpr int kAboveDeparture = 2190;

constexpr quint32 kWhite = 0xFFFFFF;
constexpr quint32 kLightGrey = 0xC0C0C0;
constexpr quint32 kPaleGrey = 0xE0E0E0;
}  // namespace

BusPanel::BusPanel(QWidget* picShow4, MapControl& Map1, CityDatabase& database)
    : QObject(picShow4), database_(database) {
  CreateControls(picShow4);
  Connect();
  routeDrawing_ = new RouteDrawing(Map1, database, this);
}

BusPanel::~BusPanel() = default;

void BusPanel::CreateControls(QWidget* picShow4) {
  Frame1 = new QGroupBox(picShow4);
  qiwu::SetTwipsGeometry(Frame1, 90, -50, 2175, 3300);

  optLine = new QRadioButton(QStringLiteral("线路查询"), Frame1);
  qiwu::SetTwipsGeometry(optLine, 120, 160, 1935, 315);
  optStation = new QRadioButton(QStringLiteral("站名查询"), Frame1);
  qiwu::SetTwipsGeometry(optStation, 120, 460, 1935, 315);

  Line2 = new QFrame(Frame1);
  qiwu::SetTwipsGeometry(Line2, 10, 780, 2140, 15);
  qiwu::SetContainerColor(Line2, kWhite);

  cmbBus = new QComboBox(Frame1);
  cmbBus->setEditable(true);
  cmbBus->setInsertPolicy(QComboBox::NoInsert);  // Enter in the box must not grow the list
  // No inline completion: a typed part of a name must stay a part, listing nothing.
  cmbBus->setCompleter(nullptr);
  cmbBus->setEditText(QStringLiteral("Combo1"));
  qiwu::SetTwipsGeometry(cmbBus, 60, 850, 2055, 300);

  lstShow3 = new QListWidget(Frame1);
  lstShow3->setObjectName(QStringLiteral("lstShow3"));
  qiwu::SetTwipsGeometry(lstShow3, 60, 1200, 2055, 1680);

  cmdBus = new QPushButton(QStringLiteral("在地图上显示该线路"), Frame1);
  qiwu::SetTwipsGeometry(cmdBus, 60, 2935, 2055, 315);
  qiwu::SetButtonColor(cmdBus, kLightGrey);
  cmdBus->setAutoDefault(true);  // Enter on the focused button presses it, as Space does

  // Created in this order so that Tab runs departure -> destination -> suggestions -> search.
  txtStation[0] = new QLineEdit(kStationLabels[0], picShow4);
  qiwu::SetTwipsGeometry(txtStation[0], 80, 3300, 2175, 330);
  txtStation[1] = new QLineEdit(kStationLabels[1], picShow4);
  qiwu::SetTwipsGeometry(txtStation[1], 80, 3680, 2175, 330);

  lstStation = new QListWidget(picShow4);
  qiwu::SetTwipsGeometry(lstStation, 570, kAboveDeparture, 1695, 1110);
  lstStation->hide();
  lstStation->raise();  // lies over the lower part of Frame1 when shown

  cmdOk = new QPushButton(QStringLiteral("查 询"), picShow4);
  qiwu::SetTwipsGeometry(cmdOk, 1285, 4080, 975, 315);
  qiwu::SetButtonColor(cmdOk, kPaleGrey);
  cmdOk->setAutoDefault(true);
}

void BusPanel::Connect() {
  // Selecting an option from code runs its click behaviour, as a user's click does.
  connect(optLine, &QRadioButton::toggled, this, [this](bool on) {
    if (on) optLine_Click();
  });
  connect(optStation, &QRadioButton::toggled, this, [this](bool on) {
    if (on) optStation_Click();
  });
  connect(cmbBus, &QComboBox::editTextChanged, this, &BusPanel::cmbBus_Change);
  connect(cmbBus, &QComboBox::activated, this, &BusPanel::cmbBus_Click);
  connect(cmdBus, &QPushButton::clicked, this, &BusPanel::cmdBus_Click);
  for (int i = 0; i < 2; ++i) {
    connect(txtStation[i], &QLineEdit::textChanged, this, [this, i] { txtStation_Change(i); });
    txtStation[i]->installEventFilter(this);
  }
  lstStation->installEventFilter(this);
  connect(lstStation, &QListWidget::itemDoubleClicked, this, &BusPanel::lstStation_DblClick);
  connect(cmdOk, &QPushButton::clicked, this, &BusPanel::cmdOk_Click);
}

bool BusPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == lstStation) return SuggestionListEvent(event);
  if (watched == frmBus_ && event->type() == QEvent::Close) routeDrawing_->Clear();
  for (int i = 0; i < 2; ++i) {
    if (watched == txtStation[i]) return StationBoxEvent(i, event);
  }
  return false;
}

bool BusPanel::StationBoxEvent(int index, QEvent* event) {
  switch (event->type()) {
    case QEvent::FocusIn:
      txtStation_GotFocus(index);
      SelectUntouchedLabel(index);
      // The press that brought the focus places the cursor after this; its release selects again.
      selectLabelOnRelease_ = static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason;
      return false;
    case QEvent::FocusOut:
      txtStation_LostFocus(index);
      return false;
    case QEvent::MouseButtonRelease:
      if (selectLabelOnRelease_) SelectUntouchedLabel(index);
      selectLabelOnRelease_ = false;
      if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) txtStation_Click(index);
      return false;
    case QEvent::KeyPress:
      // Down arrow steps from the box into its suggestions, for the keyboard alone.
      if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Down && lstStation->isVisible()) {
        lstStation->setFocus(Qt::TabFocusReason);
        if (!lstStation->currentItem()) lstStation->setCurrentRow(0);
        return true;
      }
      return false;
    default:
      return false;
  }
}

// A box that still holds its label offers it for replacing: typing overwrites it at once.
void BusPanel::SelectUntouchedLabel(int index) {
  if (txtStation[index]->text() == kStationLabels[index]) txtStation[index]->selectAll();
}

bool BusPanel::SuggestionListEvent(QEvent* event) {
  if (event->type() == QEvent::FocusOut) lstStation_LostFocus();
  if (event->type() != QEvent::KeyPress) return false;
  // Enter takes the entry like a double click.
  const int key = static_cast<QKeyEvent*>(event)->key();
  if ((key != Qt::Key_Return && key != Qt::Key_Enter) || !lstStation->currentItem()) return false;
  lstStation_DblClick();
  return true;
}

bool BusPanel::LineMode() const { return optLine->isChecked(); }

// Selects an option from inside its own click behaviour; its toggle must not run that again.
void BusPanel::Select(QRadioButton* option) {
  const QSignalBlocker blocker(option);
  option->setChecked(true);
}

void BusPanel::CityOpened(const std::function<void()>& afterRead) {
  optLine_Click();
  afterRead();
  FillCombo(statements::LineNames());
  afterRead();
}

void BusPanel::optLine_Click() {
  Select(optLine);
  cmdBus->setText(QStringLiteral("在地图上显示该路线"));
  lstShow3->clear();
  FillCombo(statements::LineNames());
}

void BusPanel::optStation_Click() {
  Select(optStation);
  cmdBus->setText(QStringLiteral("在地图上显示该站点"));
  lstShow3->clear();
  FillCombo(statements::StopNames());
}

// The fill empties the combo's text before it reads its rows. That emptying is no edit of the
// user's: lstShow(3) is already empty, and a query run from it would replace the result set
// the fill is still reading.
void BusPanel::FillCombo(const ListStatement& names) {
  const QScopedValueRollback filling(fillingCombo_, true);
  qiwu::ComboBoxItems items(cmbBus);
  modGetRecord::FillList(database_, names, items, false);
}

void BusPanel::cmbBus_Change() {
  if (!fillingCombo_) FillStops();
}

void BusPanel::cmbBus_Click() { FillStops(); }

// In line mode the stops of the line in cmbBus, numbered in route order; in station mode the
// lines through the stop in cmbBus.
void BusPanel::FillStops() {
  lstShow3->clear();
  qiwu::ListWidgetItems items(lstShow3);
  const QString text = cmbBus->currentText();
  if (LineMode()) {
    modGetRecord::FillList(database_, statements::StopsOfLine(text), items, true);
  } else {
    modGetRecord::FillList(database_, statements::LinesThrough(text), items, false);
  }
}

BusMapTarget BusPanel::ListEntryTarget(const QString& entry, bool lineMode) {
  if (!lineMode) return {kLineLayer, entry};
  // The running number has two digits up to 99 and more beyond; drop it and its one blank.
  qsizetype start = 0;
  while (start < entry.size() && entry[start].isDigit()) ++start;
  if (start < entry.size() && entry[start] == QLatin1Char(' ')) ++start;
  return {kStopLayer, entry.mid(start)};
}

void BusPanel::ShowListEntry() {
  const QListWidgetItem* item = lstShow3->currentItem();
  const BusMapTarget target = ListEntryTarget(item ? item->text() : QString(), LineMode());
  emit FeatureChosen(target.layer, target.name);
}

void BusPanel::cmdBus_Click() {
  emit FeatureChosen(LineMode() ? kLineLayer : kStopLayer, cmbBus->currentText());
}

void BusPanel::txtStation_Change(int index) { FillSuggestions(index); }

void BusPanel::txtStation_Click(int index) { FillSuggestions(index); }

// The list keeps its place: the place is set only when a box gets the focus.
void BusPanel::FillSuggestions(int index) {
  const QString text = txtStation[index]->text();
  if (text.isEmpty()) {
    lstStation->hide();
    return;
  }
  qiwu::ListWidgetItems items(lstStation);
  modGetRecord::FillList(database_, statements::StopsLike(text), items, false);
  lstStation->setVisible(lstStation->count() > 0);
}

void BusPanel::txtStation_GotFocus(int index) {
  lstStation->clear();
  if (qiwu::TwipsTop(lstStation) != AboveBox(index)) {
    lstStation->hide();
    qiwu::SetTwipsTop(lstStation, AboveBox(index));
  }
}

void BusPanel::txtStation_LostFocus(int /*index*/) {
  // The list's scroll bars count as the list.
  QWidget* focus = QApplication::focusWidget();
  if (focus != lstStation && !lstStation->isAncestorOf(focus)) lstStation->hide();
}

void BusPanel::lstStation_DblClick() {
  const QListWidgetItem* item = lstStation->currentItem();
  const QString entry = item ? item->text() : QString();
  if (qiwu::TwipsTop(lstStation) == AboveBox(0)) {
    txtStation[0]->setText(entry);
    lstStation->hide();
    txtStation[1]->setFocus(Qt::OtherFocusReason);
  } else {
    txtStation[1]->setText(entry);
    lstStation->hide();
    cmdOk->setFocus(Qt::OtherFocusReason);
  }
}

// The list's place directly above a station box, wherever the window has put the boxes.
int BusPanel::AboveBox(int index) const {
  return qiwu::TwipsTop(txtStation[index]) - qiwu::TwipsHeight(lstStation);
}

void BusPanel::lstStation_LostFocus() { lstStation->hide(); }

void BusPanel::CitySwitched() { routeDrawing_->Clear(); }

void BusPanel::cmdOk_Click() {
  const QString departure = txtStation[0]->text();
  const QString destination = txtStation[1]->text();
  frmBus& window = PlanWindowCreated();
  window.txtStart->setText(departure);
  window.txtEnd->setText(destination);
  if (const auto refusal = BusSearchRefusal(departure, destination)) {
    qiwu::MsgBox(refusal->text, refusal->icon, refusal->title);
    return;
  }
  if (!window.isVisible()) window.show();
  window.rtxtBusChange->SetText(QString());
  routeDrawing_->NewSearch(departure, destination);
  window.rtxtBusChange->SetText(modBusChange::FindBusChange(database_, departure, destination, kBusTable));
}

frmBus* BusPanel::PlanWindow() const { return frmBus_; }

frmBus& BusPanel::PlanWindowCreated() {
  if (!frmBus_) {
    frmBus_ = new frmBus(Frame1->window());
    frmBus_->installEventFilter(this);  // its closing removes the route drawn from its plan
    connect(frmBus_->rtxtBusChange, &PlanTextBox::LineDoubleClicked, routeDrawing_,
            &RouteDrawing::ShowPlanLine);
  }
  return *frmBus_;
}
