#pragma once
// Plans and departures by the clock as the planner window lists them (docs/trip-planner.md):
// wall-clock times in the city's zone, waits, walks in metres and minutes, and the stop each line
// names. No widgets.
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTimeZone>
#include <vector>

#include "bus/TimedSearch.h"
#include "dataset/Timetable.h"

namespace trip {

// Shown where a city has no timetable and the plans come from the average speeds.
inline const QString kEstimateNotice = QStringLiteral("按平均车速估算，非时刻表");

// A service day in the city's zone: its times, seconds after noon minus 12 h, as wall-clock times.
class ServiceClock {
 public:
  ServiceClock(const QTimeZone& zone, QDate day);
  QDate Day() const { return day_; }
  QDateTime At(int seconds) const { return start_.addSecs(seconds); }
  int SecondsAt(const QDateTime& wall) const { return int(start_.secsTo(wall)); }
  // WallClockText (bus/TimedPlanText.h): "08:12", "次日 00:12", "前日 23:50".
  QString Text(int seconds) const;

 private:
  QTimeZone zone_;
  QDate day_;
  QDateTime start_;
};

// From depart to arrive as the clock times shown differ: "35 分钟", "1 小时 5 分钟".
QString DurationText(int depart, int arrive);
// "08:12 出发 → 08:47 到达"
QString TimedHeadline(const ServiceClock& clock, const TimedPlan& plan);
// One line of a plan, and the stop it names with when the rider is there (for its departures).
struct TimedLegLine {
  QString text;
  int platform = -1;  // -1: the line names no stop (a walk to the trip's end)
  int seconds = 0;
};
// A walk: "步行 120 米（约 2 分钟）到 北门站"; a ride, two lines: "08:15 在 北门站 乘 12路（往 火车站），
// 候车 3 分钟" (a later one beginning "换乘："), then "08:30 到 南湖站 下车，坐 5 站". Walks of 0 m
// are left out; the trip's end is named by toLabel.
std::vector<TimedLegLine> TimedLegLines(const citygen::Timetable& table, const ServiceClock& clock,
                                        const TimedPlan& plan, const QString& toLabel);
// A departure as the columns of the departures list: the line, "往 火车站", and "3 分钟后（08:15）"
// counted from the time asked ("即将发车" within the minute).
QStringList DepartureColumns(const citygen::Timetable& table, const ServiceClock& clock,
                             const Departure& departure, int fromSeconds);

}  // namespace trip
