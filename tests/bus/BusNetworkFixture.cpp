#include "tests/bus/BusNetworkFixture.h"

#include <QSet>
#include <random>

#include "data/modDBAccess.h"
#include "tests/support/TestCity.h"

namespace {

// Syllables of invented street and line names.
const QStringList kSyllables = {
    QStringLiteral("东"), QStringLiteral("西"), QStringLiteral("南"), QStringLiteral("北"),
    QStringLiteral("湖"), QStringLiteral("山"), QStringLiteral("桥"), QStringLiteral("园"),
    QStringLiteral("门"), QStringLiteral("塘"), QStringLiteral("栖"), QStringLiteral("坞"),
    QStringLiteral("河"), QStringLiteral("岭"), QStringLiteral("新"), QStringLiteral("春"),
    QStringLiteral("安"), QStringLiteral("宁"), QStringLiteral("和"), QStringLiteral("平")};

class Dice {
 public:
  explicit Dice(std::uint32_t seed) : engine_(seed) {}
  int Below(int n) { return int(engine_() % std::uint32_t(n)); }
  bool Chance(int percent) { return Below(1000) < percent * 10; }
  bool PerMille(int perMille) { return Below(1000) < perMille; }

 private:
  std::mt19937 engine_;
};

QString SyllableName(int number, int syllables) {
  QString name;
  for (int i = 0; i < syllables; ++i) {
    name += kSyllables[number % kSyllables.size()];
    number /= int(kSyllables.size());
  }
  return name;
}

// The stop at a grid node: two crossing streets. With quirks, some neighbouring stops have names
// that differ only in Latin case, and some names hold an apostrophe.
QString StopName(int node, int side, bool quirks) {
  if (quirks && node % 97 == 5) return QStringLiteral("Tony's") + SyllableName(node, 2);
  if (quirks && node % 53 >= 7 && node % 53 <= 9) {
    const QString variants[] = {QStringLiteral("Park"), QStringLiteral("PARK"), QStringLiteral("park")};
    return variants[node % 53 - 7] + QString::number(node - node % 53);
  }
  return SyllableName(node / side, 2) + SyllableName(node % side + 7, 2) + QStringLiteral("站");
}

// Line names of 1 to 5 characters: "K", "9路", "12路", "K101路"; some differ only in case.
QString LineName(int number, Dice& dice, bool quirks) {
  if (!quirks) return QString::number(number + 1) + QStringLiteral("路");
  switch (dice.Below(20)) {
    case 0:
      return QString(QChar(u'A' + number % 26));
    case 1:
      return QStringLiteral("k") + QString::number(number % 50) + QStringLiteral("路");
    case 2:
      return QStringLiteral("K") + QString::number(number % 50) + QStringLiteral("路");
    case 3:
      return QStringLiteral("专线") + QString::number(number % 9);
    default:
      return QString::number(number + 1) + QStringLiteral("路");
  }
}

// A walk along the grid that mostly keeps its direction, never turning straight back.
std::vector<int> Route(int length, int side, Dice& dice) {
  static constexpr int kSteps[4][2] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
  std::vector<int> nodes;
  int x = dice.Below(side);
  int y = dice.Below(side);
  int direction = dice.Below(4);
  for (int i = 0; i < length; ++i) {
    nodes.push_back(y * side + x);
    for (int attempt = 0; attempt < 8; ++attempt) {
      int next = direction;
      if (dice.Chance(30)) next = (direction + (dice.Below(2) ? 1 : 3)) % 4;
      const int nx = x + kSteps[next][0];
      const int ny = y + kSteps[next][1];
      if (nx >= 0 && ny >= 0 && nx < side && ny < side) {
        x = nx;
        y = ny;
        direction = next;
        break;
      }
      direction = dice.Below(4);
    }
  }
  return nodes;
}

QVariant PositionCell(int position, Dice& dice, bool quirks) {
  if (quirks && dice.PerMille(5)) return QVariant();
  if (quirks && dice.PerMille(5)) return QString();
  if (quirks && dice.PerMille(10)) return QString::number(position);
  if (quirks && dice.PerMille(5))
    return QStringLiteral(" ") + QString::number(position) + QStringLiteral("号");
  return position;
}

}  // namespace

std::vector<BusRow> GenerateNetwork(const NetworkShape& shape) {
  Dice dice(shape.seed);
  std::vector<BusRow> rows;
  QStringList names;
  for (int line = 0; line < shape.lines; ++line) {
    int length = shape.stopsPerLine;
    if (shape.quirks) length = std::max(2, shape.stopsPerLine / 2 + dice.Below(shape.stopsPerLine + 1));
    if (shape.quirks && dice.Chance(1)) length *= 10;
    std::vector<int> nodes = Route(length, shape.gridSide, dice);
    if (shape.quirks && dice.Chance(5)) nodes.push_back(nodes.front());  // a loop line
    QString name = LineName(line, dice, shape.quirks);
    if (shape.quirks && !names.isEmpty() && dice.Chance(1)) name = names[dice.Below(int(names.size()))];
    names << name;

    std::vector<BusRow> lineRows;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
      BusRow row{name, StopName(nodes[i], shape.gridSide, shape.quirks),
                 PositionCell(int(i) + 1, dice, shape.quirks), line + 1};
      if (shape.quirks && dice.PerMille(3)) row.stop = QVariant();
      if (shape.quirks && dice.PerMille(3)) row.line = QVariant();
      lineRows.push_back(row);
    }
    if (shape.quirks && dice.Chance(5)) std::reverse(lineRows.begin(), lineRows.end());
    rows.insert(rows.end(), lineRows.begin(), lineRows.end());
  }
  return rows;
}

QStringList StopNames(const std::vector<BusRow>& rows) {
  QStringList names;
  QSet<QString> seen;
  for (const BusRow& row : rows) {
    if (row.stop.isNull()) continue;
    const QString name = row.stop.toString();
    if (!seen.contains(name)) {
      seen.insert(name);
      names << name;
    }
  }
  return names;
}

std::vector<std::pair<QString, QString>> RandomPairs(const QStringList& stops, int count,
                                                     std::uint32_t seed) {
  Dice dice(seed);
  const auto pick = [&]() -> QString {
    if (dice.Chance(3)) return QStringLiteral("无此站") + QString::number(dice.Below(100));
    QString name = stops[dice.Below(int(stops.size()))];
    if (dice.Chance(3)) name = name.toUpper();
    return name;
  };
  std::vector<std::pair<QString, QString>> pairs;
  while (int(pairs.size()) < count) {
    QString from = pick();
    QString to = pick();
    if (from != to) pairs.emplace_back(std::move(from), std::move(to));
  }
  return pairs;
}

BusDatabase::BusDatabase(const std::vector<BusRow>& rows, const QString& table, bool withPositions)
    : path_(dir_.filePath(QStringLiteral("公交 测试.db"))) {
  // 顺序 has no declared type, so that positions written as text stay text.
  testcity::Table written{
      table, {"线路名 text", "站名 text", withPositions ? "顺序" : "站序", "ID integer"}, {}};
  for (const BusRow& row : rows) written.rows.append({row.line, row.stop, row.position, row.id});
  testcity::WriteDatabase(path_, {written});
}

bool BusDatabase::Open() const { return modDBAccess::OpenConnection(path_); }
