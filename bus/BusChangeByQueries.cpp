// The transfer search by its statements. Every result is read out completely before the next
// statement runs: the database holds only the last one's rows.
#include <QStringList>
#include <algorithm>
#include <optional>
#include <vector>

#include "bus/BusPlanText.h"
#include "bus/modBusChange.h"
#include "data/Statements.h"
#include "data/modDBAccess.h"
#include "data/modGetRecord.h"
#include "kit/Messages.h"

namespace modBusChange {
namespace {

// One column of every row of the statement, in row order; a null value reads as an empty
// text. nullopt after a failed statement, whose boxes have been shown.
std::optional<QStringList> ReadColumn(CityDatabase& database, const QString& sql, const QString& field) {
  if (!modDBAccess::ExecuteQuery(database, sql)) {
    qiwu::MsgBox(QStringLiteral("运行时错误..."), qiwu::MsgIcon::Critical, QStringLiteral("运行错误"));
    return std::nullopt;
  }
  QStringList values;
  ResultSet& rows = *database.currentResult;
  if (rows.AtEnd() && rows.AtStart()) return values;
  for (rows.MoveFirst(); !rows.AtEnd(); rows.MoveNext()) {
    const std::optional<QVariant> value = rows.Field(field);
    values << (value ? value->toString() : QString());
  }
  return values;
}

std::optional<QStringList> LinesThrough(CityDatabase& database, const QString& table, const QString& stop) {
  return ReadColumn(database, statements::LineNamesAtStop(table, stop), QStringLiteral("线路名"));
}

std::optional<QStringList> StopsOf(CityDatabase& database, const QString& table, const QString& line) {
  return ReadColumn(database, statements::StopNamesOfLine(table, line), QStringLiteral("站名"));
}

qint64 Position(CityDatabase& database, const QString& table, const QString& stop, const QString& line) {
  return PositionValue(modGetRecord::GetFieldValue(database, table, QStringLiteral("顺序"),
                                                   statements::StopOnLineCondition(stop, line)));
}

}  // namespace

QString FindBusChangeByQueries(CityDatabase& database, const QString& departure, const QString& destination,
                               const QString& table) {
  const std::optional<QStringList> startLines = LinesThrough(database, table, departure);
  if (!startLines) return QString();
  if (startLines->isEmpty()) return WrongNameAnswer();
  const std::optional<QStringList> endLines = LinesThrough(database, table, destination);
  if (!endLines) return QString();
  if (endLines->isEmpty()) return WrongNameAnswer();

  QString direct;
  for (const QString& startLine : *startLines) {
    for (const QString& endLine : *endLines) {
      if (startLine != endLine) continue;
      const qint64 s = Position(database, table, departure, startLine);
      const qint64 e = Position(database, table, destination, startLine);
      direct += DirectLine(startLine, qAbs(e - s));
    }
  }
  if (!direct.isEmpty()) return direct;

  std::vector<ChangePlan> plans;
  for (const QString& lineA : *startLines) {
    const qint64 sA = Position(database, table, departure, lineA);
    for (const QString& lineB : *endLines) {
      const qint64 eB = Position(database, table, destination, lineB);
      const std::optional<QStringList> stopsA = StopsOf(database, table, lineA);
      if (!stopsA) return QString();
      const std::optional<QStringList> stopsB = StopsOf(database, table, lineB);
      if (!stopsB) return QString();
      if (stopsA->isEmpty() || stopsB->isEmpty()) return QString();
      const auto meeting = std::find_if(stopsA->cbegin(), stopsA->cend(),
                                        [&](const QString& stop) { return stopsB->contains(stop); });
      if (meeting == stopsA->cend()) continue;
      const qint64 tA = Position(database, table, *meeting, lineA);
      const qint64 tB = Position(database, table, *meeting, lineB);
      plans.push_back(MakeChangePlan(lineA, *meeting, lineB, qAbs(tB - eB) + qAbs(tA - sA)));
    }
  }
  if (plans.empty()) return TooFarAnswer();
  return ChangeAnswer(std::move(plans));
}

}  // namespace modBusChange
