#pragma once
// Trip plans as people read them and as JSON for scripts (docs/trip-planner.md). No widgets.
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <vector>

#include "bus/TripIndex.h"
#include "bus/TripModel.h"

namespace trip {

// value rounded to decimals places, as the JSON writes numbers.
double Rounded(double value, int decimals);

// A distance in whole metres, a time in minutes to a tenth. Only a map with absurd coordinates gives
// one beyond a million kilometres or 1,900 years: it is shown as that bound ("超过 1000000000"),
// never as digits that wrapped round.
QString MetresText(double metres);
QString MinutesText(double minutes);
// The streets of a walk as the text tells them: "沿 东大街 步行 420 米，沿 无名道路 步行 40 米",
// metres rounded to 10 (a piece that rounds to none left out); empty for a straight walk.
QString StreetsText(const std::vector<StreetPiece>& streets);
// Adds a walk leg's "path" ([x, y] in map metres to 0.1 m) and "streets" ([{name, metres}]).
void AddWay(QJsonObject& walkLeg, const std::vector<MapPoint>& path, const std::vector<StreetPiece>& streets);

// "用时 23.4 分钟，步行 350 米，换乘 1 次" (or "全程步行 …" for a plan without a ride).
QString PlanSummary(const Plan& plan);
// One line per leg: "步行 120 米到 北门站", "乘 12路 从 北门站 到 南湖站，坐 3 站：北门站、…", a
// later ride beginning with "换乘"; the trip's end is named by to.
QStringList LegTexts(const Index& index, const Plan& plan, const Place& to);
// A plan to copy: its summary, then its legs numbered, one a line (LF).
QString PlanText(const Index& index, const Plan& plan, const Place& to);
// Why there is no plan between the two places within maxRides rides.
QString NoPlanReason(const Index& index, const Place& from, const Place& to, int maxRides);

// {"from", "to", "plans": [{"minutes", "walk_metres", "changes", "legs": [...]}]}, with "reason"
// when there is no plan. Minutes keep two decimals, metres one.
QJsonObject PlansJson(const Index& index, const Place& from, const Place& to, const std::vector<Plan>& plans,
                      int maxRides);

}  // namespace trip
