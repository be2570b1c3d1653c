#include "app/PagePreviewDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>

#include "kit/HandlerGuard.h"

PagePreviewDialog::PagePreviewDialog(Purpose purpose, std::vector<const Layer*> bottomToTop,
                                     const MapView& screen, const mappage::PageSetup& setup, QWidget* parent)
    : QDialog(parent),
      printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)),
      layers_(std::move(bottomToTop)),
      screen_(screen),
      setup_(setup) {
  setWindowTitle(purpose == Purpose::Print ? QStringLiteral("打印地图") : QStringLiteral("导出地图 PDF"));
  printer_->setDocName(QStringLiteral("栖坞地图"));
  printer_->setPageLayout(setup.Layout());

  txtTitle = new QLineEdit(setup.title, this);
  txtTitle->setMaxLength(200);
  cmbPaper = new QComboBox(this);
  for (const QPageSize::PageSizeId id : {QPageSize::A4, QPageSize::A3, QPageSize::A5, QPageSize::Letter})
    cmbPaper->addItem(QPageSize::name(id), int(id));
  cmbPaper->setCurrentIndex(cmbPaper->findData(int(setup.paper)));
  cmbOrientation = new QComboBox(this);
  cmbOrientation->addItem(QStringLiteral("横向"), int(QPageLayout::Landscape));
  cmbOrientation->addItem(QStringLiteral("纵向"), int(QPageLayout::Portrait));
  cmbOrientation->setCurrentIndex(cmbOrientation->findData(int(setup.orientation)));

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("标题"), txtTitle);
  form->addRow(QStringLiteral("纸张"), cmbPaper);
  form->addRow(QStringLiteral("方向"), cmbOrientation);
  auto* buttons = new QDialogButtonBox(this);
  cmdGo =
      buttons->addButton(purpose == Purpose::Print ? QStringLiteral("打印…") : QStringLiteral("导出 PDF…"),
                         QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* side = new QVBoxLayout;
  side->addLayout(form);
  side->addStretch();
  side->addWidget(buttons);

  preview = new QPrintPreviewWidget(printer_.get(), this);
  preview->setMinimumSize(640, 480);
  preview->fitInView();
  connect(preview, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* printer) {
    qiwu::Guarded(QStringLiteral("打印预览"),
                  [&] { mappage::PaintOnDevice(*printer, layers_, screen_, Setup()); });
  });
  auto* row = new QHBoxLayout(this);
  row->addLayout(side);
  row->addWidget(preview, 1);

  connect(txtTitle, &QLineEdit::editingFinished, this, [this] { PageChanged(); });
  connect(cmbPaper, &QComboBox::currentIndexChanged, this, [this] { PageChanged(); });
  connect(cmbOrientation, &QComboBox::currentIndexChanged, this, [this] { PageChanged(); });
  resize(1100, 720);
}

PagePreviewDialog::~PagePreviewDialog() = default;

mappage::PageSetup PagePreviewDialog::Setup() const {
  mappage::PageSetup setup = setup_;
  setup.title = txtTitle->text();
  setup.paper = QPageSize::PageSizeId(cmbPaper->currentData().toInt());
  setup.orientation = QPageLayout::Orientation(cmbOrientation->currentData().toInt());
  return setup;
}

void PagePreviewDialog::PageChanged() {
  printer_->setPageLayout(Setup().Layout());
  preview->updatePreview();
}
