#include "features/LayerDrawer.h"

#include <QHeaderView>
#include <QPainter>
#include <QPushButton>
#include <QTreeWidget>

#include "features/DrawerArt.h"
#include "features/InfoDrawers.h"
#include "kit/HandlerGuard.h"
#include "kit/ImageControl.h"
#include "kit/Twips.h"
#include "map/Legend.h"
#include "mapwidgets/MapControl.h"

namespace {
constexpr int kTabWidth = 405;  // twips, as the other drawers' tabs
const QSize kSymbolSize(30, 16);

QIcon SymbolIcon(const LegendEntry& entry, qreal ratio) {
  QPixmap picture(kSymbolSize * ratio);
  picture.setDevicePixelRatio(ratio);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  DrawLegendSwatch(painter, QRectF(QPointF(0, 0), QSizeF(kSymbolSize)), entry);
  return QIcon(picture);
}
}  // namespace

LayerDrawer::LayerDrawer(QWidget* picLayers, MapControl& Map1, const QCursor& hand)
    : QObject(picLayers), picLayers(picLayers), Map1_(Map1) {
  AddDrawerBackground(picLayers, kTabWidth);
  imgLayers = new qiwu::ImageControl(picLayers);
  imgLayers->setObjectName(QStringLiteral("imgLayers"));
  qiwu::SetTwipsGeometry(imgLayers, 0, 0, kTabWidth, kHeight);
  imgLayers->SetPicture(
      DrawerTabPicture(QStringLiteral("图层"), imgLayers->size(), imgLayers->devicePixelRatioF()));
  imgLayers->setCursor(hand);
  connect(imgLayers, &qiwu::ImageControl::Click, this,
          [this] { qiwu::Guarded(QStringLiteral("打开或关闭抽屉"), [this] { imgLayers_Click(); }); });

  lstLayers = new QTreeWidget(picLayers);
  lstLayers->setObjectName(QStringLiteral("lstLayers"));
  lstLayers->setColumnCount(2);
  lstLayers->setHeaderHidden(true);
  lstLayers->setIconSize(kSymbolSize);
  lstLayers->setRootIsDecorated(false);
  lstLayers->header()->setStretchLastSection(false);
  lstLayers->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  lstLayers->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
  qiwu::SetTwipsGeometry(lstLayers, kTabWidth + 90, 120, kWidth - kTabWidth - 210, kHeight - 720);
  connect(lstLayers, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
    if (column == 0) qiwu::Guarded(QStringLiteral("显示或隐藏图层"), [&] { Switched(item); });
  });

  cmdAttributes = new QPushButton(QStringLiteral("属性…"), picLayers);
  cmdAttributes->setObjectName(QStringLiteral("cmdAttributes"));
  cmdAttributes->setToolTip(QStringLiteral("选中图元的图层、名称和全部属性"));
  qiwu::SetTwipsGeometry(cmdAttributes, kTabWidth + 90, kHeight - 510, 1200, 360);
  connect(cmdAttributes, &QPushButton::clicked, this, &LayerDrawer::AttributesRequested);

  connect(&Map1_, &MapControl::ViewChanged, this,
          [this] { qiwu::Guarded(QStringLiteral("更新图层列表"), [this] { ShowZoomHints(); }); });
  Refill();
}

std::vector<Layer*> LayerDrawer::ListedLayers() const {
  std::vector<Layer*> layers;
  for (int position = 1; position <= Map1_.LayerCount(); ++position) {
    Layer* layer = Map1_.LayerAt(position);
    if (!layer->IsTemporary()) layers.push_back(layer);
  }
  return layers;
}

void LayerDrawer::Refill() {
  const QSignalBlocker quiet(lstLayers);
  lstLayers->clear();
  layers_ = ListedLayers();
  const qreal ratio = lstLayers->devicePixelRatioF();
  for (std::size_t row = 0; row < layers_.size(); ++row) {
    const Layer& layer = *layers_[row];
    const std::vector<LegendEntry> entries = LayerLegendEntries(layer);
    auto* item = new QTreeWidgetItem(lstLayers, {layer.Name()});
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
    item->setCheckState(0, layer.Shown() ? Qt::Checked : Qt::Unchecked);
    item->setIcon(0, SymbolIcon(entries.front(), ratio));
    item->setData(0, Qt::UserRole, int(row));
    // The style cases, each under its legend text.
    for (std::size_t c = 1; c < entries.size(); ++c) {
      auto* sub = new QTreeWidgetItem(item, {entries[c].label});
      sub->setFlags(Qt::ItemIsEnabled);
      sub->setIcon(0, SymbolIcon(entries[c], ratio));
    }
  }
  lstLayers->expandAll();
  ShowZoomHints();
}

void LayerDrawer::ShowZoomHints() {
  // A view change during a workspace load comes before the list is filled from the new layers.
  if (ListedLayers() != layers_) return Refill();
  const QSignalBlocker quiet(lstLayers);
  for (int row = 0; row < lstLayers->topLevelItemCount(); ++row) {
    const Layer& layer = *layers_[std::size_t(row)];
    const bool tooWide = layer.Visible() && Map1_.ViewWidth() > layer.MaxVisibleWidth();
    lstLayers->topLevelItem(row)->setText(1, tooWide ? kZoomInHint : QString());
    lstLayers->topLevelItem(row)->setForeground(1, QColor(120, 120, 120));
  }
}

void LayerDrawer::Switched(QTreeWidgetItem* item) {
  if (item->parent() || ListedLayers() != layers_) return;
  Layer& layer = *layers_[std::size_t(item->data(0, Qt::UserRole).toInt())];
  const bool shown = item->checkState(0) == Qt::Checked;
  if (layer.Shown() == shown) return;
  layer.SetShown(shown);
  Map1_.Redraw();
  emit ShownChanged();
}

void LayerDrawer::imgLayers_Click() {
  if (qiwu::TwipsLeft(picLayers) == InfoDrawers::kClosedLeft + shift_) {
    qiwu::SetTwipsLeft(picLayers, InfoDrawers::kOpenLeft + shift_);
    picLayers->raise();
  } else {
    qiwu::SetTwipsLeft(picLayers, InfoDrawers::kClosedLeft + shift_);
  }
}

void LayerDrawer::KeepToRightEdge(int shift) {
  qiwu::SetTwipsLeft(picLayers, qiwu::TwipsLeft(picLayers) - shift_ + shift);
  shift_ = shift;
}
