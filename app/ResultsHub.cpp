#include "app/ResultsHub.h"

#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintDialog>
#include <QPrinter>
#include <QToolBar>

#include "app/ExportSizeDialog.h"
#include "app/frmMain.h"
#include "features/KeywordPanel.h"
#include "features/MapExport.h"
#include "features/RadiusPanel.h"
#include "features/ResultTable.h"
#include "features/ShowFeature.h"
#include "kit/HandlerGuard.h"
#include "kit/Messages.h"
#include "kit/SavePath.h"
#include "mapwidgets/MapControl.h"

namespace {

QStringList ListTexts(const QListWidget& list) {
  QStringList texts;
  for (int row = 0; row < list.count(); ++row) texts.append(list.item(row)->text());
  return texts;
}

void ReportFailure(const QString& error) {
  qiwu::MsgBox(error, qiwu::MsgIcon::Critical, QStringLiteral("导出失败"));
}

}  // namespace

ResultsHub::ResultsHub(frmMain& window, CityDatabase& database)
    : QObject(&window),
      table(new ResultTable(&window)),
      actions(new QToolBar(&window)),
      window_(window),
      database_(database) {
  actions->setObjectName(QStringLiteral("ResultsActions"));
  actions->setToolButtonStyle(Qt::ToolButtonTextOnly);
  tableAction = AddCommand(QStringLiteral("结果表格"), &ResultsHub::ShowOpenPanelTable);
  pngAction = AddCommand(QStringLiteral("导出图片…"), &ResultsHub::ExportPng);
  pdfAction = AddCommand(QStringLiteral("导出 PDF…"), &ResultsHub::ExportPdf);
  printAction = AddCommand(QStringLiteral("打印…"), &ResultsHub::PrintMap);
  printAction->setShortcut(QKeySequence::Print);
  // The shortcut works wherever the toolbar is placed, and while it is not.
  window.addAction(printAction);

  connect(window.radius, &RadiusPanel::ResultsFound, this, &ResultsHub::ShowRadiusResults);
  connect(table, &ResultTable::FeatureChosen, this,
          [this](const QString& layer, const QString& name) { ShowFeature(*window_.Map1, layer, name); });
  for (int index : {0, 1, 2}) {
    auto* inTable = new QAction(QStringLiteral("在表格中查看"), window.lstShow[index]);
    connect(inTable, &QAction::triggered, this, [this, index] {
      qiwu::Guarded(QStringLiteral("结果表格"), [this, index] { ShowListTable(index); });
    });
    window.lstShow[index]->addAction(inTable);
    window.lstShow[index]->setContextMenuPolicy(Qt::ActionsContextMenu);
  }
}

QAction* ResultsHub::AddCommand(const QString& text, void (ResultsHub::*command)()) {
  QAction* action = actions->addAction(text);
  connect(action, &QAction::triggered, this,
          [this, text, command] { qiwu::Guarded(text, [this, command] { (this->*command)(); }); });
  return action;
}

void ResultsHub::ShowRadiusResults(const QString& type, MapPoint centre, double radius,
                                   const FeatureSet& found) {
  radiusSource_ = QStringLiteral("半径查询：%1，%2 米内").arg(type, QString::number(radius));
  radiusRows_ = RowsOfFound(found, type, centre);
  FillContacts(database_, radiusRows_);
  table->ShowRows(radiusSource_, radiusRows_);
}

void ResultsHub::ShowListTable(int index) {
  if (index == 2) {
    if (!radiusSource_.isEmpty()) table->ShowRows(radiusSource_, radiusRows_);
    return;
  }
  const QStringList names = ListTexts(*window_.lstShow[index]);
  if (index == 0) {
    const QString type = window_.cmbType[0]->currentText();
    std::vector<ResultRow> rows;
    for (const QString& name : names) rows.push_back({name, type, std::nullopt, QString(), QString()});
    FillContacts(database_, rows);
    table->ShowRows(QStringLiteral("智能查询：") + type, std::move(rows));
  } else if (index == 1) {
    table->ShowRows(QStringLiteral("模糊查询：") + window_.keyword->txtLike->text(),
                    RowsOfKeywordNames(database_, names));
  }
}

void ResultsHub::ShowOpenPanelTable() {
  for (int index : {0, 1, 2})
    if (!window_.picShow[index]->isHidden()) return ShowListTable(index);
  table->show();
  table->raise();
}

QString ResultsHub::AskSavePath(const QString& title, QStandardPaths::StandardLocation folder,
                                const QString& fileName, const QString& filter) {
  return QFileDialog::getSaveFileName(&window_, title, qiwu::SuggestedSavePath(folder, fileName), filter);
}

void ResultsHub::ExportPng() {
  ExportSizeDialog ask(ExportSizeDialog::Kind::Picture, window_.Map1->size(), &window_);
  if (ask.exec() != QDialog::Accepted) return;
  const QString path = AskSavePath(QStringLiteral("导出地图图片"), QStandardPaths::PicturesLocation,
                                   QStringLiteral("地图.png"), QStringLiteral("PNG 图片 (*.png)"));
  if (path.isEmpty()) return;
  QString error;
  if (!mapexport::WritePng(path, window_.Map1->LayersBottomToTop(), window_.Map1->View(), ask.Pixels(),
                           error))
    ReportFailure(error);
}

void ResultsHub::ExportPdf() {
  ExportSizeDialog ask(ExportSizeDialog::Kind::Page, window_.Map1->size(), &window_);
  if (ask.exec() != QDialog::Accepted) return;
  const QString path = AskSavePath(QStringLiteral("导出地图 PDF"), QStandardPaths::DocumentsLocation,
                                   QStringLiteral("地图.pdf"), QStringLiteral("PDF 文件 (*.pdf)"));
  if (path.isEmpty()) return;
  QString error;
  if (!mapexport::WritePdf(path, window_.Map1->LayersBottomToTop(), window_.Map1->View(), ask.PageLayout(),
                           error))
    ReportFailure(error);
}

void ResultsHub::PrintMap() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageOrientation(QPageLayout::Landscape);
  printer.setDocName(QStringLiteral("栖坞地图"));
  QPrintDialog ask(&printer, &window_);
  ask.setWindowTitle(QStringLiteral("打印地图"));
  if (ask.exec() != QDialog::Accepted) return;
  if (!mapexport::PaintPage(printer, window_.Map1->LayersBottomToTop(), window_.Map1->View()))
    ReportFailure(QStringLiteral("无法打印地图。"));
}
