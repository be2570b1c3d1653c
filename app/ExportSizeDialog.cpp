#include "app/ExportSizeDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
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

ExportSizeDialog::ExportSizeDialog(QSize pixels, QWidget* parent) : QDialog(parent) {
  auto* form = new QFormLayout(this);
  setWindowTitle(QStringLiteral("导出地图图片"));
  spnWidth = PixelBox(pixels.width(), this);
  spnHeight = PixelBox(pixels.height(), this);
  chkFrame = new QCheckBox(QStringLiteral("加上标题、图例、比例尺和指北针"), this);
  form->addRow(QStringLiteral("宽度"), spnWidth);
  form->addRow(QStringLiteral("高度"), spnHeight);
  form->addRow(chkFrame);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  form->addRow(buttons);
}

QSize ExportSizeDialog::Pixels() const { return QSize(spnWidth->value(), spnHeight->value()); }

bool ExportSizeDialog::Framed() const { return chkFrame->isChecked(); }
