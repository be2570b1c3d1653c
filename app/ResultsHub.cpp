#include "app/ResultsHub.h"

#include <QAction>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QToolBar>

#include "app/ExportSizeDialog.h"
#include "features/MapExport.h"
#include "features/PageSource.h"
#include "features/ResultPlaces.h"
#include "features/ResultTable.h"
#include "features/ShowFeature.h"
#include "kit/HandlerGuard.h"
#include "kit/Messages.h"
#include "kit/SavePath.h"
#include "mapwidgets/MapControl.h"

namespace {

void ReportFailure(const QString& error) {
  qiwu::MsgBox(error, qiwu::MsgIcon::Critical, QStringLiteral("导出失败"));
}

}  // namespace

ResultsHub::ResultsHub(MapControl& map, const qiwu::CityPlace& city)
    : QObject(&map),
      table(new ResultTable(map.window())),
      actions(new QToolBar(map.window())),
      map_(map),
      city_(city),
      window_(map.window()) {
  actions->setObjectName(QStringLiteral("ResultsActions"));
  actions->setToolButtonStyle(Qt::ToolButtonTextOnly);
  tableAction = actions->addAction(QStringLiteral("结果表格"));
  connect(tableAction, &QAction::triggered, this, [this] {
    qiwu::Guarded(QStringLiteral("结果表格"), [this] {
      if (showsSelection_) return ShowTable();
      emit TableAsked();
    });
  });
  pngAction = AddCommand(QStringLiteral("导出图片…"), &ResultsHub::ExportPng);
  pdfAction = AddCommand(QStringLiteral("导出 PDF…"), &ResultsHub::ExportPdf);
  printAction = AddCommand(QStringLiteral("打印…"), &ResultsHub::PrintMap);
  printAction->setShortcut(QKeySequence::Print);
  // The shortcut works wherever the toolbar is placed, and while it is not.
  window_->addAction(printAction);

  connect(table, &ResultTable::FeatureChosen, this, [this](const QString& layer, const QString& name) {
    // Showing a row's feature selects it; the table keeps its rows.
    choosing_ = true;
    ShowFeature(map_, layer, name);
    choosing_ = false;
  });
  connect(&map_, &MapControl::SelectionModified, this, [this] {
    if (!choosing_) qiwu::Guarded(QStringLiteral("结果表格"), [this] { ShowSelection(); });
  });
}

QAction* ResultsHub::AddCommand(const QString& text, void (ResultsHub::*command)()) {
  QAction* action = actions->addAction(text);
  connect(action, &QAction::triggered, this,
          [this, text, command] { qiwu::Guarded(text, [this, command] { (this->*command)(); }); });
  return action;
}

void ResultsHub::ShowResults(const QString& title, const std::vector<ResultRow>& rows) {
  std::vector<ResultRow> placed = rows;
  FillPlaces(map_, placed);
  showsSelection_ = false;
  table->ShowRows(title, std::move(placed));
}

void ResultsHub::ShowSelection() {
  std::vector<ResultRow> rows = RowsOfSelection(map_);
  if (rows.empty() && !showsSelection_) return;
  FillPlaces(map_, rows);
  showsSelection_ = true;
  const QString title = QStringLiteral("地图选择：%1 个图元").arg(rows.size());
  table->ReplaceRows(title, std::move(rows));
}

void ResultsHub::ShowTable() {
  table->show();
  table->raise();
}

QString ResultsHub::AskSavePath(const QString& title, QStandardPaths::StandardLocation folder,
                                const QString& fileName, const QString& filter) {
  return QFileDialog::getSaveFileName(window_, title, qiwu::SuggestedSavePath(folder, fileName), filter);
}

mappage::PageSetup ResultsHub::DefaultPage() const {
  mappage::PageSetup setup;
  setup.title = city_.name;
  setup.source = mappage::PageSourceLine(city_);
  setup.date = QDate::currentDate();
  return setup;
}

std::unique_ptr<PagePreviewDialog> ResultsHub::MakePreview(PagePreviewDialog::Purpose purpose) const {
  return std::make_unique<PagePreviewDialog>(purpose, map_.LayersBottomToTop(), map_.View(), DefaultPage(),
                                             window_);
}

void ResultsHub::ExportPng() {
  ExportSizeDialog ask(map_.size(), window_);
  if (ask.exec() != QDialog::Accepted) return;
  const QString path = AskSavePath(QStringLiteral("导出地图图片"), QStandardPaths::PicturesLocation,
                                   QStringLiteral("地图.png"), QStringLiteral("PNG 图片 (*.png)"));
  if (path.isEmpty()) return;
  QString error;
  const mappage::PageSetup frame = DefaultPage();
  if (!mapexport::WritePng(path, map_.LayersBottomToTop(), map_.View(), ask.Pixels(), error,
                           ask.Framed() ? &frame : nullptr))
    ReportFailure(error);
}

void ResultsHub::ExportPdf() {
  const std::unique_ptr<PagePreviewDialog> preview = MakePreview(PagePreviewDialog::Purpose::Pdf);
  if (preview->exec() != QDialog::Accepted) return;
  const QString path = AskSavePath(QStringLiteral("导出地图 PDF"), QStandardPaths::DocumentsLocation,
                                   QStringLiteral("地图.pdf"), QStringLiteral("PDF 文件 (*.pdf)"));
  if (path.isEmpty()) return;
  QString error;
  if (!mapexport::WritePdf(path, map_.LayersBottomToTop(), map_.View(), preview->Setup(), error))
    ReportFailure(error);
}

void ResultsHub::PrintMap() {
  const std::unique_ptr<PagePreviewDialog> preview = MakePreview(PagePreviewDialog::Purpose::Print);
  if (preview->exec() != QDialog::Accepted) return;
  QPrinter& printer = preview->Printer();
  QPrintDialog ask(&printer, window_);
  ask.setWindowTitle(QStringLiteral("打印地图"));
  if (ask.exec() != QDialog::Accepted) return;
  if (!mappage::PaintOnDevice(printer, map_.LayersBottomToTop(), map_.View(), preview->Setup()))
    ReportFailure(QStringLiteral("无法打印地图。"));
}
