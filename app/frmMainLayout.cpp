// Builds frmMain: the top strip, the Parts' area and the status bar, and the controls at their
// twips positions in the Parts' area. The left column (x < 2940, in a scroll area) holds the city
// selector, the tabs and panels and the overview map; the top row the toolbar, the two read-outs
// and Picture4; the map fills the rest; the drawers lie on the right edge over it.
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QListWidget>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

#include "app/Artwork.h"
#include "app/PartsLayout.h"
#include "app/ResultsHub.h"
#include "app/StatusBar.h"
#include "app/frmMain.h"
#include "features/InfoDrawers.h"
#include "features/LayerDrawer.h"
#include "features/SearchBox.h"
#include "kit/Colors.h"
#include "kit/ImageControl.h"
#include "kit/LineControl.h"
#include "kit/PlainText.h"
#include "kit/Twips.h"
#include "mapwidgets/MapControl.h"

using namespace qiwu;

namespace {

constexpr int kPanelWidth = 2400, kPanelHeight = 4500;
constexpr int kTabWidth = 2550, kTabHeight = 435;
constexpr int kDrawerWidth = 4635, kDrawerHeight = 2175;
constexpr int kButtonSide = 480, kButtonStep = 510, kGroupGap = 150;
constexpr quint32 kPanelGrey = 0xC0C0C0;

const char* const kTabLabels[] = {"智能查询", "模糊查询", "范围查询", "查找最近", "公交查询"};
const char* const kToolTips[] = {"指针", "放大", "缩小", "平移", "查看全图", "测距", "点选", "圆选", "框选"};

// Button i's left: browse tools, then the ruler, then the select tools, a small gap between groups.
int ToolButtonLeft(int i) {
  return 2940 + i * kButtonStep + (i >= 5 ? kGroupGap : 0) + (i >= 6 ? kGroupGap : 0);
}

QFrame* NewFrame(QWidget* parent, QFrame::Shape shape) {
  auto* frame = new QFrame(parent);
  frame->setFrameShape(shape);
  frame->setFrameShadow(QFrame::Sunken);
  return frame;
}

QLabel* NewReadout(QWidget* parent, const QString& text) {
  QLabel* label = NewLabel(parent, text);
  label->setFrameShape(QFrame::StyledPanel);
  label->setFrameShadow(QFrame::Sunken);
  label->setAlignment(Qt::AlignCenter);
  label->setAutoFillBackground(true);
  QPalette palette = label->palette();
  palette.setColor(QPalette::Window, QColor(0xfb, 0xfc, 0xfd));
  label->setPalette(palette);
  return label;
}

// The Parts' area: its top row (toolbar, read-outs, Picture4) sits on a light band with a rule under it.
class PartsArea : public QWidget {
 public:
  using QWidget::QWidget;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const int band = TwipsToPixels(765, this);
    QLinearGradient fill(0, 0, 0, band);
    fill.setColorAt(0, QColor(0xfd, 0xfe, 0xff));
    fill.setColorAt(1, QColor(0xe3, 0xe9, 0xf1));
    painter.fillRect(0, 0, width(), band, fill);
    painter.setPen(QColor(0xb9, 0xc4, 0xd2));
    painter.drawLine(0, band, width(), band);
  }
};

}  // namespace

void frmMain::CreateFrame() {
  auto* frame = new QVBoxLayout(this);
  frame->setContentsMargins(0, 0, 0, 0);
  frame->setSpacing(0);

  auto* strip = new QWidget(this);
  strip->setObjectName(QStringLiteral("topStrip"));
  strip->setFixedHeight(TwipsToPixels(510, this));
  topStrip_ = new QHBoxLayout(strip);
  topStrip_->setContentsMargins(TwipsToPixels(240, this), 0, TwipsToPixels(240, this), 0);
  frame->addWidget(strip);

  partsArea = new PartsArea(this);
  partsArea->setObjectName(QStringLiteral("partsArea"));
  partsArea->setMinimumSize(TwipsToPixels(kPartsWidth, this), TwipsToPixels(kMinPartsHeight, this));
  partsArea->installEventFilter(this);
  frame->addWidget(partsArea, 1);

  column = new QScrollArea(partsArea);
  column->setObjectName(QStringLiteral("column"));
  column->setFrameShape(QFrame::NoFrame);
  column->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  columnContent_ = new QWidget;
  column->setWidget(columnContent_);
  // The band of the top row shows through.
  columnContent_->setAutoFillBackground(false);
  column->viewport()->setAutoFillBackground(false);

  statusBar = new StatusBar(this);
  statusBar->setFixedHeight(statusBar->sizeHint().height());
  frame->addWidget(statusBar);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched == partsArea && event->type() == QEvent::Resize) LayOutParts();
  return QWidget::eventFilter(watched, event);
}

void frmMain::LayOutParts() {
  if (!drawers) return;  // still being built
  const double twipsPerPixel = 1440.0 / TwipsToPixels(1440, partsArea);
  auto twips = [twipsPerPixel](int pixels) { return int(std::lround(pixels * twipsPerPixel)); };
  const PartsGeometry g = ComputePartsGeometry(twips(partsArea->width()), twips(partsArea->height()),
                                               twips(column->verticalScrollBar()->sizeHint().width()));
  SetTwipsGeometry(column, g.column.x(), g.column.y(), g.column.width(), g.column.height());
  SetTwipsSize(columnContent_, kColumnWidth, g.columnHeight);
  SetTwipsGeometry(picMain, g.picMain.x(), g.picMain.y(), g.picMain.width(), g.picMain.height());
  SetTwipsSize(Map1, g.picMain.width(), g.picMain.height());
  SetTwipsLeft(Picture4, 11160 + g.grownRight);
  drawers->KeepToRightEdge(g.grownRight);
  layerDrawer->KeepToRightEdge(g.grownRight);

  const int grown = g.columnStretch - columnStretch_;
  columnStretch_ = g.columnStretch;
  SetTwipsTop(Picture2, 7920 + columnStretch_);
  const std::array<QWidget*, 5> lists = {lstShow[0], lstShow[1], lstShow[2], nullptr, lstShow[3]};
  for (int p = 0; p < Accordion::kPanels; ++p) StretchPanel(picShow[p], lists[p], columnStretch_);
  // The tabs under an open panel follow its bottom.
  const int open = accordion_->OpenPanel();
  if (open >= 0 && open < Accordion::kBusPanel)
    for (int j = open + 1; j < Accordion::kPanels; ++j) SetTwipsTop(imgType[j], TwipsTop(imgType[j]) + grown);
  Line1->SetY2(Line1Bottom());
}

// Along the tabs: down to 220 above the bus panel when it is open, else to the last tab.
int frmMain::Line1Bottom() const {
  if (!picShow[Accordion::kBusPanel]->isHidden()) return TwipsTop(picShow[Accordion::kBusPanel]) - 220;
  return 7560 + columnStretch_;
}

void frmMain::CreateControls() {
  CreateMaps();
  CreateTopRow();
  CreateLeftColumn();
  CreateDrawers();
  Timer1 = new QTimer(this);
  Timer1->setSingleShot(true);
  Timer1->setInterval(1500);
  Timer1->start();  // enabled when the window is created
}

void frmMain::CreateTopRow() {
  QLabel* cityCaption = NewLabel(columnContent_, QStringLiteral("城市"));
  SetTwipsGeometry(cityCaption, 240, 240, 420, 270);
  cmbCity = new QComboBox(columnContent_);
  cmbCity->addItem(QStringLiteral("栖坞市"));
  SetTwipsGeometry(cmbCity, 660, 195, 2130, 360);

  imgListTools = MakeToolImages(TwipsToPixels(kButtonSide, this));
  for (int i = 0; i < int(imgTools.size()); ++i) {
    imgTools[i] = new ImageControl(partsArea);
    imgTools[i]->setObjectName(QStringLiteral("imgTools%1").arg(i));
    imgTools[i]->setToolTip(QString::fromUtf8(kToolTips[i]));
    imgTools[i]->SetPicture(imgListTools.Picture(2 * i + 1));
    SetTwipsGeometry(imgTools[i], ToolButtonLeft(i), 135, kButtonSide, kButtonSide);
  }

  lblZoom = NewReadout(partsArea, QString());
  SetTwipsGeometry(lblZoom, 7980, 240, 1920, 300);
  lblDist = NewReadout(partsArea, QStringLiteral("显示距离"));
  SetTwipsGeometry(lblDist, 9960, 240, 1140, 300);

  Picture4 = NewFrame(partsArea, QFrame::StyledPanel);
  SetTwipsGeometry(Picture4, 11160, 0, 3915, 750);
  QLabel* selectionCaption = NewLabel(Picture4, QStringLiteral("当前选择"));
  SetTwipsGeometry(selectionCaption, 90, 255, 720, 240);
  txtObjName = new QLineEdit(Picture4);
  txtObjName->setReadOnly(true);
  SetBackColor(txtObjName, 0xC0FFFF);
  SetTwipsGeometry(txtObjName, 840, 240, 2295, 270);
  // A long name shows its beginning, not the layer at its end.
  connect(txtObjName, &QLineEdit::textChanged, txtObjName, [this] { txtObjName->setCursorPosition(0); });

  searchBox = new SearchBox(this, database_);  // its place is the top strip (FillTopStrip)
}

// The strip above the Parts' area: the search box, then the trip planner and the result and
// export commands.
void frmMain::FillTopStrip() {
  searchBox->setFixedSize(TwipsToPixels(3600, this), TwipsToPixels(330, this));
  TopStrip().addWidget(searchBox);
  TopStrip().addSpacing(TwipsToPixels(240, this));
  TopStrip().addWidget(cmdTrip);
  TopStrip().addWidget(results->actions);
  TopStrip().addStretch(1);
}

void frmMain::CreateMaps() {
  picMain = NewFrame(partsArea, QFrame::Box);
  SetTwipsGeometry(picMain, 2940, 840, 12000, 9120);
  Map1 = new MapControl(picMain);
  Map1->setObjectName(QStringLiteral("Map1"));
  SetTwipsGeometry(Map1, 0, 0, 12000, 9120);

  Picture2 = NewFrame(columnContent_, QFrame::Box);
  SetTwipsGeometry(Picture2, 240, 7920, 2550, 2040);
  Map2 = new MapControl(Picture2);
  Map2->setObjectName(QStringLiteral("Map2"));
  SetTwipsGeometry(Map2, 0, 0, 2550, 2040);
}

// Design positions: panel 0 open under tab 0, the other tabs below it, panels 1 to 4 hidden.
void frmMain::CreateLeftColumn() {
  Line1 = new LineControl(columnContent_, 240, 1080, 240, 7560, 0x808080);

  static const int kTabTops[] = {840, 5880, 6360, 6840, 7320};
  static const int kPanelTops[] = {1320, 1800, 2280, 2760, 3240};
  const QCursor hand = HandCursor(imgListTools);
  for (int p = 0; p < Accordion::kPanels; ++p) {
    picShow[p] = new QWidget(columnContent_);
    picShow[p]->setObjectName(QStringLiteral("picShow%1").arg(p));
    SetBackColor(picShow[p], kPanelGrey);
    SetTwipsGeometry(picShow[p], 360, kPanelTops[p], kPanelWidth, kPanelHeight);
    picShow[p]->setVisible(p == 0);

    imgType[p] = new ImageControl(columnContent_);
    imgType[p]->setObjectName(QStringLiteral("imgType%1").arg(p));
    SetTwipsGeometry(imgType[p], 240, kTabTops[p], kTabWidth, kTabHeight);
    imgType[p]->SetPicture(MakeTabPicture(QString::fromUtf8(kTabLabels[p]), imgType[p]->size()));
    imgType[p]->setCursor(hand);
  }
  accordion_ = std::make_unique<Accordion>(
      std::array<QWidget*, 5>{imgType[0], imgType[1], imgType[2], imgType[3], imgType[4]}, picShow);
}

void frmMain::CreateDrawers() {
  static const int kDrawerTops[] = {840, 7800};
  for (int i = 0; i < 2; ++i) {
    picInfo[i] = new QWidget(partsArea);
    picInfo[i]->setObjectName(QStringLiteral("picInfo%1").arg(i));
    SetTwipsGeometry(picInfo[i], 14940, kDrawerTops[i], kDrawerWidth, kDrawerHeight);
    picInfo[i]->raise();
  }
  picLayers = new QWidget(partsArea);
  picLayers->setObjectName(QStringLiteral("picLayers"));
  SetTwipsGeometry(picLayers, 14940, LayerDrawer::kTop, LayerDrawer::kWidth, LayerDrawer::kHeight);
  picLayers->raise();
}
