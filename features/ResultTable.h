#pragma once
// The result table: a window of its own beside the main window that shows a search's results or
// the map's selection as rows (name, type, distance, address, phone, attributes, X, Y, longitude,
// latitude), sortable by every column, with their count. The
// rows can be copied (Ctrl+C, the context menu) and exported to a CSV file. A double click or
// Enter on a row asks to show that feature on the map. Texts are shown literally.
#include <QString>
#include <QWidget>
#include <vector>

#include "features/ResultRows.h"

class QAction;
class QLabel;
class QTableView;
class ResultModel;

class ResultTable : public QWidget {
  Q_OBJECT

 public:
  // parent: the main window; the table stays above it and closes with it.
  explicit ResultTable(QWidget* parent);

  // Replaces the rows; source says where they come from ("半径查询：…"). Rows with distances are
  // shown nearest first, others in the order given; the distance column shows only when a row
  // has one, the attribute column only when a row has attributes. The window shows in front.
  void ShowRows(const QString& source, std::vector<ResultRow> rows);
  // As ShowRows, but the window stays as it is (hidden or shown).
  void ReplaceRows(const QString& source, std::vector<ResultRow> rows);

  // The selected rows in the order shown, tab-separated under the header (csv::TabText); empty
  // when no row is selected.
  QString SelectedText() const;
  // Puts SelectedText on the clipboard.
  void CopySelection() const;
  // Writes every row, in the order shown, under the header to a CSV file (csv::Document). False
  // with error set when the file cannot be written.
  bool ExportCsv(const QString& path, QString& error) const;
  // Asks for a path and exports; a failure is shown in a box.
  void ExportCsvWithDialog();

  QLabel* lblSource;
  QLabel* lblCount;  // "共 N 条"
  QTableView* grid;
  QAction* copyAction;
  QAction* csvAction;

 signals:
  // Show the feature of that name on the layer of that type.
  void FeatureChosen(const QString& layer, const QString& name);

 private:
  std::vector<QStringList> ShownCells(bool selectedOnly) const;

  ResultModel* model_;
};
