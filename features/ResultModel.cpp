#include "features/ResultModel.h"

#include <algorithm>
#include <numeric>

#include "data/TextCollation.h"
#include "kit/NumberFormat.h"

namespace {

const QString& TextOf(const ResultRow& row, int column) {
  switch (column) {
    case ResultModel::kType:
      return row.type;
    case ResultModel::kAddress:
      return row.address;
    case ResultModel::kPhone:
      return row.phone;
    default:
      return row.name;
  }
}

}  // namespace

void ResultModel::SetRows(std::vector<ResultRow> rows) {
  beginResetModel();
  rows_ = std::move(rows);
  endResetModel();
}

bool ResultModel::HasDistances() const {
  return std::any_of(rows_.begin(), rows_.end(),
                     [](const ResultRow& row) { return row.distance.has_value(); });
}

int ResultModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(rows_.size());
}

int ResultModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QVariant ResultModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const ResultRow& row = rows_[index.row()];
  if (index.column() == kDistance) {
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::DisplayRole && row.distance) return qiwu::FormatGrouped(*row.distance, 0);
    return {};
  }
  return role == Qt::DisplayRole ? QVariant(TextOf(row, index.column())) : QVariant();
}

QVariant ResultModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
    return QAbstractTableModel::headerData(section, orientation, role);
  return ResultHeader().value(section);
}

void ResultModel::sort(int column, Qt::SortOrder sortOrder) {
  if (column < 0 || column >= kColumnCount) return;  // no sort column: the order given stays
  const auto before = [column](const ResultRow& a, const ResultRow& b) {
    if (column != kDistance)
      return CompareText(TextOf(a, column).toStdString(), TextOf(b, column).toStdString()) < 0;
    if (a.distance && b.distance) return *a.distance < *b.distance;
    return a.distance.has_value() && !b.distance.has_value();
  };
  std::vector<int> order(rows_.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    return sortOrder == Qt::AscendingOrder ? before(rows_[a], rows_[b]) : before(rows_[b], rows_[a]);
  });
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  std::vector<ResultRow> sorted;
  std::vector<int> newRowOf(rows_.size());
  for (int i = 0; i < int(order.size()); ++i) {
    sorted.push_back(std::move(rows_[order[i]]));
    newRowOf[order[i]] = i;
  }
  rows_ = std::move(sorted);
  // Selections and the current row follow their rows.
  QModelIndexList from = persistentIndexList(), to;
  for (const QModelIndex& index : from) to.append(this->index(newRowOf[index.row()], index.column()));
  changePersistentIndexList(from, to);
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
