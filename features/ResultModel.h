#pragma once
// The rows behind the result table, sortable by any column: texts in the program's text order
// (pinyin for Chinese), distances and coordinates as numbers with rows without one last.
#include <QAbstractTableModel>
#include <vector>

#include "features/ResultRows.h"

class ResultModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // The order of ResultHeader: the coordinates come last.
  enum Column {
    kName,
    kType,
    kDistance,
    kAddress,
    kPhone,
    kAttributes,
    kX,
    kY,
    kLongitude,
    kLatitude,
    kColumnCount
  };

  using QAbstractTableModel::QAbstractTableModel;

  void SetRows(std::vector<ResultRow> rows);
  const ResultRow& Row(int row) const { return rows_[row]; }
  bool HasDistances() const;
  bool HasAttributes() const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  void sort(int column, Qt::SortOrder order) override;

 private:
  std::vector<ResultRow> rows_;
};
