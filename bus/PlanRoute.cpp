#include "bus/PlanRoute.h"

#include <cstdlib>

#include "data/Statements.h"
#include "data/modDBAccess.h"

namespace {
const QString kDirectMarker = QStringLiteral(" 直达；经过 ");
const QString kChangeArrow = QStringLiteral("-->");
const QString kChangeWord = QStringLiteral(" 换 ");
const QString kRideWord = QStringLiteral(" 经过 ");
}  // namespace

std::vector<RideLeg> ParsePlanLine(const QString& planLine, const QString& departure,
                                   const QString& destination) {
  const qsizetype direct = planLine.indexOf(kDirectMarker);
  if (direct > 0) {
    // Names shorter than three characters are padded with blanks to three before the marker.
    QString line = planLine.left(direct);
    if (line.toUcs4().size() <= 3) {
      while (line.endsWith(QLatin1Char(' '))) line.chop(1);
    }
    return {{line, departure, destination}};
  }
  const qsizetype arrow = planLine.indexOf(kChangeArrow);
  if (arrow <= 0) return {};
  const qsizetype change = planLine.indexOf(kChangeWord, arrow + kChangeArrow.size());
  if (change < 0) return {};
  const qsizetype ride = planLine.lastIndexOf(kRideWord);
  if (ride <= change) return {};
  const QString lineA = planLine.left(arrow);
  const QString meeting = planLine.mid(arrow + kChangeArrow.size(), change - arrow - kChangeArrow.size());
  const QString lineB = planLine.mid(change + kChangeWord.size(), ride - change - kChangeWord.size());
  return {{lineA, departure, meeting}, {lineB, meeting, destination}};
}

std::optional<QStringList> LineStops(CityDatabase& database, const QString& table, const QString& line) {
  if (!modDBAccess::ExecuteQuery(database, statements::RouteOfLine(table, line))) return std::nullopt;
  QStringList stops;
  for (const auto& row : database.currentResult->Rows()) stops << row.at(0).toString();
  return stops;
}

QStringList RiddenStops(const QStringList& stops, const QString& from, const QString& to) {
  qsizetype bestFrom = -1;
  qsizetype bestTo = -1;
  for (qsizetype i = 0; i < stops.size(); ++i) {
    if (stops[i] != from) continue;
    for (qsizetype j = 0; j < stops.size(); ++j) {
      if (stops[j] != to) continue;
      if (bestFrom < 0 || std::abs(j - i) < std::abs(bestTo - bestFrom)) {
        bestFrom = i;
        bestTo = j;
      }
    }
  }
  QStringList ridden;
  if (bestFrom < 0) return ridden;
  const qsizetype step = bestTo >= bestFrom ? 1 : -1;
  for (qsizetype k = bestFrom;; k += step) {
    ridden << stops[k];
    if (k == bestTo) break;
  }
  return ridden;
}
