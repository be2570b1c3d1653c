#include "features/ResultModel.h"

#include <algorithm>
#include <numeric>
#include <optional>

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
    case ResultModel::kAttributes:
      return row.attributes;
    default:
      return row.name;
  }
}

// The number a numeric column holds for row; none when the row has no such number.
std::optional<double> NumberOf(const ResultRow& row, int column) {
  const auto coordinate = [](const std::optional<MapPoint>& p, bool x) {
    return p ? std::optional<double>(x ? p->x : p->y) : std::nullopt;
  };
  switch (column) {
    case ResultModel::kDistance:
      return row.distance;
    case ResultModel::kX:
      return coordinate(row.at, true);
    case ResultModel::kY:
      return coordinate(row.at, false);
    case ResultModel::kLongitude:
      return coordinate(row.lonLat, true);
    default:
      return coordinate(row.lonLat, false);
  }
}

bool IsNumeric(int column) { return column == ResultModel::kDistance || column >= ResultModel::kX; }

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

bool ResultModel::HasAttributes() const {
  return std::any_of(rows_.begin(), rows_.end(),
                     [](const ResultRow& row) { return !row.attributes.isEmpty(); });
}

int ResultModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(rows_.size());
}

int ResultModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QVariant ResultModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const ResultRow& row = rows_[index.row()];
  if (IsNumeric(index.column())) {
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole) return {};
    if (index.column() == kDistance) return row.distance ? qiwu::FormatGrouped(*row.distance, 0) : QVariant();
    return ResultCells(row).value(index.column());
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
    if (!IsNumeric(column))
      return CompareText(TextOf(a, column).toStdString(), TextOf(b, column).toStdString()) < 0;
    const std::optional<double> x = NumberOf(a, column), y = NumberOf(b, column);
    if (x && y) return *x < *y;
    return x.has_value() && !y.has_value();
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
