#pragma once
// The bus table of an open database held in memory: every row's 线路名, 站名 and 顺序 as the
// database gives them, in stored order. It is read once, at its first use, and kept with the
// database (CityDatabase::Derived), whether the database is a file or a server: the transfer
// search's index, the trip planner's network and the search box's names are all made from it.
#include <QString>
#include <QVariant>
#include <vector>

#include "kit/Outcome.h"

class CityDatabase;

struct BusTableRow {
  QVariant line;      // 线路名: a text, a null, or whatever else the column holds
  QVariant stop;      // 站名
  QVariant position;  // 顺序
};

class BusTable {
 public:
  // The city's bus table (city::kBusTable), read at the first call after the database opened.
  static const BusTable& Of(const CityDatabase& database);
  // The rows of the table named table, read now (nothing is kept).
  static BusTable Read(const CityDatabase& database, const QString& table);

  // False when the table could not be read (missing, a column missing, nothing open); then
  // Error() says why and there are no rows. Nothing is shown either way.
  bool Ok() const { return error_.number == 0; }
  const Outcome& Error() const { return error_; }
  const std::vector<BusTableRow>& Rows() const { return rows_; }

 private:
  bool read_ = false;
  Outcome error_;
  std::vector<BusTableRow> rows_;
};
