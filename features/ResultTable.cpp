#include "features/ResultTable.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QSaveFile>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

#include "features/CsvText.h"
#include "features/ResultModel.h"
#include "kit/HandlerGuard.h"
#include "kit/Messages.h"
#include "kit/PlainText.h"
#include "kit/SavePath.h"

ResultTable::ResultTable(QWidget* parent)
    : QWidget(parent, Qt::Window),
      lblSource(qiwu::NewLabel(this)),
      lblCount(qiwu::NewLabel(this)),
      grid(new QTableView(this)),
      copyAction(new QAction(QStringLiteral("复制"), this)),
      csvAction(new QAction(QStringLiteral("导出 CSV…"), this)),
      model_(new ResultModel(this)) {
  setObjectName(QStringLiteral("ResultTable"));
  setWindowTitle(QStringLiteral("查询结果"));
  // Shown by a search on the main window, it must not take the keyboard from there.
  setAttribute(Qt::WA_ShowWithoutActivating);
  grid->setObjectName(QStringLiteral("grdResults"));
  grid->setModel(model_);
  grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setWordWrap(false);
  grid->setSortingEnabled(true);
  grid->verticalHeader()->hide();
  grid->horizontalHeader()->setStretchLastSection(true);

  copyAction->setShortcut(QKeySequence::Copy);
  copyAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  grid->addAction(copyAction);
  grid->addAction(csvAction);
  grid->setContextMenuPolicy(Qt::ActionsContextMenu);
  connect(copyAction, &QAction::triggered, this,
          [this] { qiwu::Guarded(QStringLiteral("复制"), [this] { CopySelection(); }); });
  connect(csvAction, &QAction::triggered, this,
          [this] { qiwu::Guarded(QStringLiteral("导出 CSV"), [this] { ExportCsvWithDialog(); }); });
  connect(grid, &QTableView::activated, this, [this](const QModelIndex& index) {
    const ResultRow& row = model_->Row(index.row());
    if (!row.type.isEmpty()) emit FeatureChosen(row.type, row.name);
  });

  auto* tools = new QToolBar(this);
  tools->addAction(copyAction);
  tools->addAction(csvAction);
  tools->addSeparator();
  tools->addWidget(lblCount);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lblSource);
  layout->addWidget(grid);
  layout->addWidget(tools);
  resize(640, 360);
}

void ResultTable::ShowRows(const QString& source, std::vector<ResultRow> rows) {
  ReplaceRows(source, std::move(rows));
  show();
  raise();
}

void ResultTable::ReplaceRows(const QString& source, std::vector<ResultRow> rows) {
  lblSource->setText(source);
  lblCount->setText(QStringLiteral("共 %1 条").arg(rows.size()));
  model_->SetRows(std::move(rows));
  grid->setColumnHidden(ResultModel::kDistance, !model_->HasDistances());
  grid->setColumnHidden(ResultModel::kAttributes, !model_->HasAttributes());
  if (model_->HasDistances())
    grid->sortByColumn(ResultModel::kDistance, Qt::AscendingOrder);
  else
    grid->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
  grid->resizeColumnsToContents();
}

std::vector<QStringList> ResultTable::ShownCells(bool selectedOnly) const {
  std::vector<int> shown;
  if (selectedOnly) {
    for (const QModelIndex& index : grid->selectionModel()->selectedRows()) shown.push_back(index.row());
    std::sort(shown.begin(), shown.end());
  } else {
    for (int row = 0; row < model_->rowCount(); ++row) shown.push_back(row);
  }
  std::vector<QStringList> cells;
  if (selectedOnly && shown.empty()) return cells;
  const bool distances = model_->HasDistances(), attributes = model_->HasAttributes();
  const auto keep = [distances, attributes](QStringList row) {
    if (!attributes) row.removeAt(ResultModel::kAttributes);
    if (!distances) row.removeAt(ResultModel::kDistance);
    return row;
  };
  cells.push_back(keep(ResultHeader()));
  for (int row : shown) cells.push_back(keep(ResultCells(model_->Row(row))));
  return cells;
}

QString ResultTable::SelectedText() const {
  const std::vector<QStringList> cells = ShownCells(true);
  return cells.empty() ? QString() : csv::TabText(cells);
}

void ResultTable::CopySelection() const {
  const QString text = SelectedText();
  if (!text.isEmpty()) QApplication::clipboard()->setText(text);
}

bool ResultTable::ExportCsv(const QString& path, QString& error) const {
  const std::vector<QStringList> cells = ShownCells(false);
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(csv::Document(cells)) < 0 || !file.commit()) {
    error = file.errorString();
    return false;
  }
  return true;
}

void ResultTable::ExportCsvWithDialog() {
  const QString path = QFileDialog::getSaveFileName(
      this, QStringLiteral("导出表格"),
      qiwu::SuggestedSavePath(QStandardPaths::DocumentsLocation, QStringLiteral("查询结果.csv")),
      QStringLiteral("CSV 文件 (*.csv)"));
  if (path.isEmpty()) return;
  QString error;
  if (!ExportCsv(path, error))
    qiwu::MsgBox(QStringLiteral("无法写入文件：") + path + QStringLiteral("\r\n") + error,
                 qiwu::MsgIcon::Critical, QStringLiteral("导出失败"));
}
