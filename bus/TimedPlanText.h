#pragma once
// Timed trip plans and departure lists as riders read them and as JSON for scripts
// (docs/trip-planner.md). Times are service seconds of day (bus/TimedSearch.h); the text shows
// them on the wall clock of zone. No widgets.
#include <QDate>
#include <QJsonObject>
#include <QString>
#include <QTimeZone>
#include <vector>

#include "bus/TimedSearch.h"
#include "dataset/Timetable.h"

namespace trip {

// The wall clock at a service time of day: "08:12", "次日 00:40" past that day's midnight,
// "前日 23:50" before it.
QString WallClockText(const QTimeZone& zone, QDate day, int seconds);

// Where a trip goes: its headsign, else the name of its last call's platform.
QString HeadsignOf(const citygen::Timetable& timetable, int trip);

// What a timed search was asked: the ends, the day and zone its times count in, and the time
// given as "YYYY-MM-DD HH:MM".
struct TimedAsk {
  const TimedEnd& from;
  const TimedEnd& to;
  QTimeZone zone;
  QDate day;
  QString at;
  int maxRides = kMaxRides;
};

// A plan to copy: "08:12 出发 → 08:47 到达，用时 35.0 分钟，步行 350 米，换乘 1 次", then its legs
// numbered, one a line (LF): walks, and rides with their times and the wait before each.
QString TimedPlanText(const citygen::Timetable& timetable, const TimedAsk& ask, const TimedPlan& plan);

// Why there is no plan: no platform at or within kAccessMetres of an end, or none by the clock.
QString NoTimedPlanReason(const citygen::Timetable& timetable, const TimedAsk& ask);

// The trip planner's JSON (PlansJson) with "estimate": false and "at"; per plan "rides", "depart"
// and "arrive"; per ride "trip", "from_id", "to_id", "depart", "arrive"; per walk "from_id" and
// "to_id" (null at the start and the end). Times as ServiceTimeText.
QJsonObject TimedPlansJson(const citygen::Timetable& timetable, const TimedAsk& ask,
                           const std::vector<TimedPlan>& plans);

// {"stop", "at", "departures": [{"line", "headsign", "platform", "depart", "trip"}]}.
QJsonObject DeparturesJson(const citygen::Timetable& timetable, const QString& stop, const QString& at,
                           const std::vector<Departure>& departures);
// One line a departure: "15:24  Ada 往 City Center  站台 gtfs:airport-1  4 分钟后".
QString DeparturesText(const citygen::Timetable& timetable, const QTimeZone& zone, QDate day, int seconds,
                       const std::vector<Departure>& departures);

}  // namespace trip
