#include "app/ExportSizeDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPageSize>
#include <QPushButton>
#include <QSpinBox>

#include "features/MapExport.h"

namespace {
QSpinBox* PixelBox(int value, QWidget* parent) {
  auto* box = new QSpinBox(parent);
  box->setRange(1, mapexport::kMaxPixels);
  box->setValue(value);
  box->setSuffix(QStringLiteral(" 像素"));
  return box;
}
}  // namespace

ExportSizeDialog::ExportSizeDialog(Kind kind, QSize pixels, QWidget* parent) : QDialog(parent) {
  auto* form = new QFormLayout(this);
  if (kind == Kind::Picture) {
    setWindowTitle(QStringLiteral("导出地图图片"));
    spnWidth = PixelBox(pixels.width(), this);
    spnHeight = PixelBox(pixels.height(), this);
    form->addRow(QStringLiteral("宽度"), spnWidth);
    form->addRow(QStringLiteral("高度"), spnHeight);
  } else {
    setWindowTitle(QStringLiteral("导出地图 PDF"));
    cmbPage = new QComboBox(this);
    for (const QPageSize::PageSizeId id : {QPageSize::A4, QPageSize::A3, QPageSize::A5, QPageSize::Letter})
      cmbPage->addItem(QPageSize::name(id), int(id));
    cmbOrientation = new QComboBox(this);
    cmbOrientation->addItem(QStringLiteral("横向"), int(QPageLayout::Landscape));
    cmbOrientation->addItem(QStringLiteral("纵向"), int(QPageLayout::Portrait));
    form->addRow(QStringLiteral("纸张"), cmbPage);
    form->addRow(QStringLiteral("方向"), cmbOrientation);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  form->addRow(buttons);
}

QSize ExportSizeDialog::Pixels() const {
  return spnWidth ? QSize(spnWidth->value(), spnHeight->value()) : QSize();
}

QPageLayout ExportSizeDialog::PageLayout() const {
  if (!cmbPage) return {};
  const QPageSize size(QPageSize::PageSizeId(cmbPage->currentData().toInt()));
  const auto orientation = QPageLayout::Orientation(cmbOrientation->currentData().toInt());
  return QPageLayout(size, orientation, QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
}
