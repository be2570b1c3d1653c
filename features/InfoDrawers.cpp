#include "features/InfoDrawers.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "data/CityVocabulary.h"
#include "data/Statements.h"
#include "data/modGetRecord.h"
#include "features/CityLegend.h"
#include "features/DrawerArt.h"
#include "features/WebLink.h"
#include "kit/Colors.h"
#include "kit/HandlerGuard.h"
#include "kit/ImageControl.h"
#include "kit/PlainText.h"
#include "kit/Twips.h"
#include "mapwidgets/MapControl.h"

namespace {
constexpr int kTabWidth = 405;  // twips
constexpr int kTabHeight = 2175;

// Caption text, caption top and value top of each card row, twips inside the drawer.
struct CardRow {
  const char* caption;
  int captionTop;
  int valueTop;
};
constexpr CardRow kCardRows[] = {
    {"名    称", 240, 210},   {"联 系 人", 637, 600},   {"联系电话", 997, 960},
    {"联系地址", 1357, 1320}, {"网站链接", 1717, 1680},
};

// A release that completes a click: the left button, over the widget (a press dragged off it
// and released elsewhere is no click).
bool IsClickRelease(const QMouseEvent& release, const QWidget& widget) {
  return release.button() == Qt::LeftButton && widget.rect().contains(release.position().toPoint());
}

QLabel* ValueLabel(QWidget* drawer, int top) {
  QLabel* label = qiwu::NewLabel(drawer);
  qiwu::SetTwipsGeometry(label, 1320, top, 3015, 255);
  label->setAutoFillBackground(true);
  qiwu::UseWindowColors({label});
  label->setIndent(3);
  return label;
}
}  // namespace

InfoDrawers::InfoDrawers(QWidget* picInfo0, QWidget* picInfo1, MapControl& Map1, CityDatabase& database,
                         QLineEdit* txtObjName, const QCursor& hand)
    : QObject(picInfo0),
      picInfo{picInfo0, picInfo1},
      txtObjName(txtObjName),
      Map1_(Map1),
      database_(database),
      hand_(hand) {
  const QString tabLabels[] = {QStringLiteral("详细信息"), QStringLiteral("图例")};
  for (int i = 0; i < 2; ++i) {
    AddDrawerBackground(picInfo[i], kTabWidth);
    imgInfo[i] = new qiwu::ImageControl(picInfo[i]);
    imgInfo[i]->setObjectName(QStringLiteral("imgInfo%1").arg(i));
    qiwu::SetTwipsGeometry(imgInfo[i], 0, 0, kTabWidth, kTabHeight);
    imgInfo[i]->SetPicture(
        DrawerTabPicture(tabLabels[i], imgInfo[i]->size(), imgInfo[i]->devicePixelRatioF()));
    imgInfo[i]->setCursor(hand_);
    connect(imgInfo[i], &qiwu::ImageControl::Click, this,
            [this, i] { qiwu::Guarded(QStringLiteral("打开或关闭抽屉"), [this, i] { imgInfo_Click(i); }); });
  }
  CreateCard(picInfo0);
  CreateLegend(picInfo1);
}

void InfoDrawers::CreateCard(QWidget* picInfo0) {
  for (int i = 0; i < 5; ++i) {
    lbl[i] = qiwu::NewLabel(picInfo0, QString::fromUtf8(kCardRows[i].caption));
    qiwu::SetTwipsGeometry(lbl[i], 500, kCardRows[i].captionTop, 720, 180);
  }
  lblName = ValueLabel(picInfo0, kCardRows[0].valueTop);
  lblLinkman = ValueLabel(picInfo0, kCardRows[1].valueTop);
  lblTel = ValueLabel(picInfo0, kCardRows[2].valueTop);
  lblAddress = ValueLabel(picInfo0, kCardRows[3].valueTop);
  lblWeb = ValueLabel(picInfo0, kCardRows[4].valueTop);
  lblName->setObjectName(QStringLiteral("lblName"));
  lblWeb->setObjectName(QStringLiteral("lblWeb"));
  qiwu::SetForeColor(lblWeb, 0xFF0000);
  // Moves without a button pressed choose the cursor.
  lblWeb->setMouseTracking(true);
  lblWeb->installEventFilter(this);
}

void InfoDrawers::CreateLegend(QWidget* picInfo1) {
  Image4 = qiwu::NewLabel(picInfo1);
  Image4->setObjectName(QStringLiteral("Image4"));
  qiwu::SetTwipsGeometry(Image4, 420, 120, 4095, 1890);
  Image4->installEventFilter(this);  // the wheel scrolls the legend
  legendScroll = new QScrollBar(Qt::Vertical, picInfo1);
  legendScroll->setObjectName(QStringLiteral("legendScroll"));
  qiwu::SetTwipsGeometry(legendScroll, 420 + 4095 - 180, 120, 180, 1890);
  connect(legendScroll, &QScrollBar::valueChanged, this, &InfoDrawers::ShowLegendFrom);
  RefreshLegend();
}

void InfoDrawers::RefreshLegend() {
  const QSize page = Image4->size();
  legend_ =
      RenderLegendPages(CityLegendEntries(Map1_.LayersBottomToTop()), page, Image4->devicePixelRatioF());
  const int below = int(legend_.deviceIndependentSize().height()) - page.height();
  legendScroll->setRange(0, std::max(0, below));
  legendScroll->setPageStep(page.height());
  legendScroll->setSingleStep(std::max(1, page.height() / 5));
  legendScroll->setVisible(below > 0);
  ShowLegendFrom(legendScroll->value());
}

void InfoDrawers::ShowLegendFrom(int top) {
  const qreal ratio = legend_.devicePixelRatio();
  const QSize page = Image4->size();
  QImage shown =
      legend_.copy(0, qRound(top * ratio), qRound(page.width() * ratio), qRound(page.height() * ratio));
  shown.setDevicePixelRatio(ratio);
  Image4->setPixmap(QPixmap::fromImage(shown));
}

void InfoDrawers::SelectionModified() {
  txtObjName->clear();
  for (QLabel* value : {lblName, lblLinkman, lblTel, lblAddress, lblWeb}) value->clear();
  MapControl* map = &Map1_;

  int layersWithSelection = 0;
  Layer* single = nullptr;  // the last layer whose selection holds exactly one feature
  for (int position = 1; position <= map->LayerCount(); ++position) {
    Layer* layer = map->LayerAt(position);
    const int count = layer->Selection().Count();
    if (count != 0) ++layersWithSelection;
    if (count == 1) single = layer;
  }
  if (layersWithSelection != 1 || !single) return;

  const Feature feature = single->Selection().Item(1);
  const QString layerName = feature.OwnerLayer()->Name();
  txtObjName->setText(feature.DisplayName() + QStringLiteral("(") + layerName + QStringLiteral(")"));
  if (layerName == QString::fromUtf8(city::layer::kDining) && CardOpen) FillCard(feature);
}

void InfoDrawers::FillCard(const Feature& feature) {
  const QString name = feature.DisplayName();
  const QString table = feature.OwnerLayer()->Name();
  lblName->setText(name);
  const QString condition = statements::NameCondition(name);
  // Four separate lookups, in this order; a failing one leaves its label empty and the rest run.
  lblLinkman->setText(modGetRecord::GetFieldValue(database_, table, city::kLinkmanField, condition));
  lblTel->setText(modGetRecord::GetFieldValue(database_, table, city::kTelField, condition));
  lblAddress->setText(modGetRecord::GetFieldValue(database_, table, city::kAddressField, condition));
  lblWeb->setText(modGetRecord::GetFieldValue(database_, table, city::kWebField, condition));
}

void InfoDrawers::KeepToRightEdge(int shift) {
  for (QWidget* drawer : picInfo) qiwu::SetTwipsLeft(drawer, qiwu::TwipsLeft(drawer) - shift_ + shift);
  shift_ = shift;
}

void InfoDrawers::imgInfo_Click(int index) {
  QWidget* drawer = picInfo[index];
  // The drawer's position is its only state: exactly closed opens, anything else closes.
  if (qiwu::TwipsLeft(drawer) == kClosedLeft + shift_) {
    CardOpen = true;
    SelectionModified();
    if (index == 1) RefreshLegend();
    qiwu::SetTwipsLeft(drawer, kOpenLeft + shift_);
    drawer->raise();
  } else {
    qiwu::SetTwipsLeft(drawer, kClosedLeft + shift_);
    CardOpen = false;
  }
}

void InfoDrawers::lblWeb_Click() {
  if (lblWeb->text().isEmpty()) return;
  OpenWebLink(lblWeb->text());
}

void InfoDrawers::lblWeb_MouseMove() {
  if (lblWeb->text().isEmpty())
    lblWeb->unsetCursor();
  else
    lblWeb->setCursor(hand_);
}

bool InfoDrawers::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Image4 && event->type() == QEvent::Wheel) {
    const int rows = static_cast<QWheelEvent*>(event)->angleDelta().y() / 120;
    legendScroll->setValue(legendScroll->value() - rows * legendScroll->singleStep());
    return true;
  }
  if (watched == lblWeb) {
    if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter)
      lblWeb_MouseMove();
    else if (event->type() == QEvent::MouseButtonRelease &&
             IsClickRelease(*static_cast<QMouseEvent*>(event), *lblWeb))
      lblWeb_Click();
  }
  return QObject::eventFilter(watched, event);
}
