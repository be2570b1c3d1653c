#include "features/AttributeWindow.h"

#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

#include "kit/HandlerGuard.h"
#include "kit/PlainText.h"
#include "mapwidgets/MapControl.h"

namespace {
void AddRow(QTableWidget& table, const QString& field, const QString& value) {
  const int row = table.rowCount();
  table.insertRow(row);
  table.setItem(row, 0, new QTableWidgetItem(field));
  table.setItem(row, 1, new QTableWidgetItem(value));
}
}  // namespace

AttributeWindow::AttributeWindow(MapControl& Map1, QWidget* owner) : QWidget(owner, Qt::Window), Map1_(Map1) {
  setObjectName(QStringLiteral("frmAttributes"));
  setWindowTitle(QStringLiteral("属性"));
  auto* layout = new QVBoxLayout(this);
  lblAttributesHint = qiwu::NewLabel(this);
  lblAttributesHint->setObjectName(QStringLiteral("lblAttributesHint"));
  lblAttributesHint->setWordWrap(true);
  layout->addWidget(lblAttributesHint);
  tblAttributes = new QTableWidget(0, 2, this);
  tblAttributes->setObjectName(QStringLiteral("tblAttributes"));
  tblAttributes->setHorizontalHeaderLabels({QStringLiteral("字段"), QStringLiteral("值")});
  tblAttributes->verticalHeader()->hide();
  tblAttributes->horizontalHeader()->setStretchLastSection(true);
  tblAttributes->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tblAttributes->setWordWrap(false);
  layout->addWidget(tblAttributes, 1);
  resize(380, 440);

  auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(close, &QShortcut::activated, this, &QWidget::close);
  connect(&Map1_, &MapControl::SelectionModified, this, [this] {
    if (isVisible()) qiwu::Guarded(QStringLiteral("显示属性"), [this] { Refresh(); });
  });
}

void AttributeWindow::Open() {
  Refresh();
  show();
  raise();
  activateWindow();
}

void AttributeWindow::Refresh() {
  tblAttributes->setRowCount(0);
  int selected = 0;
  Feature feature;
  for (int position = 1; position <= Map1_.LayerCount(); ++position) {
    const Selection& selection = Map1_.LayerAt(position)->Selection();
    if (selection.Count() > 0 && selected == 0) feature = selection.Item(1);
    selected += selection.Count();
  }
  if (selected != 1) {
    lblAttributesHint->setText(
        selected == 0 ? QStringLiteral("地图上没有选中的图元。选中一个图元，这里列出它的属性。")
                      : QStringLiteral("已选 %1 个图元。选中一个图元，这里列出它的属性。").arg(selected));
    return;
  }
  const Layer& layer = *feature.OwnerLayer();
  lblAttributesHint->setText(feature.DisplayName() + QStringLiteral("（") + layer.Name() +
                             QStringLiteral("）"));
  AddRow(*tblAttributes, QStringLiteral("图层"), layer.Name());
  AddRow(*tblAttributes, QStringLiteral("名称"), feature.DisplayName());
  const QStringList& fields = layer.Store().Fields();
  for (int f = 0; f < fields.size(); ++f)
    AddRow(*tblAttributes, fields[f], layer.Store().ValueOf(feature.Id(), f).toString());
  tblAttributes->resizeColumnToContents(0);
}
