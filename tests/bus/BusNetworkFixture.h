#pragma once
// Bus tables for tests and benchmarks: written as SQLite files, opened through OpenConnection
// like a city database. Generated networks are deterministic for a seed.
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <cstdint>
#include <vector>

struct BusRow {
  QVariant line;      // 线路名: text or null
  QVariant stop;      // 站名
  QVariant position;  // 顺序: a number, a text or null
  qint64 id = 0;      // ID
};

// A city street grid with lines riding along it. Quirks make the network hard to answer:
// loops (a line passing a stop twice), long lines, null names and positions, text positions,
// stops and lines whose names differ only in Latin case, apostrophes, reused line names, and
// lines whose rows are not stored in route order.
struct NetworkShape {
  int lines = 100;
  int stopsPerLine = 12;
  int gridSide = 30;  // stops stand on a gridSide × gridSide street grid
  std::uint32_t seed = 1;
  bool quirks = true;
};

std::vector<BusRow> GenerateNetwork(const NetworkShape& shape);

// The distinct non-null stop names of the rows, in order of first appearance.
QStringList StopNames(const std::vector<BusRow>& rows);

// Departure and destination names to search for: mostly stops of the network, some typed in
// another Latin case, some not in the network at all.
std::vector<std::pair<QString, QString>> RandomPairs(const QStringList& stops, int count, std::uint32_t seed);

// A database file holding the rows in this order as the table (columns 线路名, 站名, 顺序, ID;
// without 顺序 when withPositions is false).
class BusDatabase {
 public:
  explicit BusDatabase(const std::vector<BusRow>& rows, const QString& table = QStringLiteral("公交信息"),
                       bool withPositions = true);
  const QString& Path() const { return path_; }
  // OpenConnection on the file; false when it failed.
  bool Open() const;

 private:
  QTemporaryDir dir_;
  QString path_;
};
