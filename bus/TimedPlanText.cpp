#include "bus/TimedPlanText.h"

#include <QDateTime>
#include <QJsonArray>
#include <cmath>

#include "bus/TripPlanText.h"

namespace trip {

namespace {

const citygen::Platform& PlatformAt(const citygen::Timetable& timetable, int platform) {
  return timetable.platforms[std::size_t(platform)];
}

QString PlatformName(const citygen::Timetable& timetable, int platform) {
  return QString::fromStdString(PlatformAt(timetable, platform).name);
}

QJsonValue NameOrNull(const citygen::Timetable& timetable, int platform) {
  return platform >= 0 ? QJsonValue(PlatformName(timetable, platform)) : QJsonValue();
}

QJsonValue IdOrNull(const citygen::Timetable& timetable, int platform) {
  return platform >= 0 ? QJsonValue(QString::fromStdString(PlatformAt(timetable, platform).id))
                       : QJsonValue();
}

const citygen::Trip& TripAt(const citygen::Timetable& timetable, int trip) {
  return timetable.trips[std::size_t(trip)];
}

// An end can be reached by the timetable: it names platforms, or lies within walking distance of one.
bool EndReachesPlatforms(const citygen::Timetable& timetable, const TimedEnd& end) {
  if (!end.platforms.empty()) return true;
  if (!end.placed) return false;
  for (const citygen::Platform& platform : timetable.platforms)
    if (platform.placed &&
        std::hypot(platform.at.x - end.point.x, platform.at.y - end.point.y) <= kAccessMetres)
      return true;
  return false;
}

QString EndName(const citygen::Timetable& timetable, int platform, const TimedEnd& end) {
  return platform >= 0 ? PlatformName(timetable, platform) : end.label;
}

// A walk of no metres between a platform and the trip's start or end, there because the stop is
// both: nothing a rider does.
bool IsNoStep(const TimedLeg& walk) {
  return std::lround(walk.metres) == 0 && (walk.fromPlatform < 0 || walk.toPlatform < 0);
}

QString WaitText(int seconds) { return QStringLiteral("，候车 %1 分钟").arg(MinutesText(seconds / 60.0)); }

}  // namespace

QString WallClockText(const QTimeZone& zone, QDate day, int seconds) {
  const QDateTime noon(day, QTime(12, 0), zone);
  const QDateTime at = noon.addSecs(qint64(seconds) - 12 * 3600);
  const QString clock = at.time().toString(QStringLiteral("HH:mm"));
  if (at.date() > day) return QStringLiteral("次日 ") + clock;
  if (at.date() < day) return QStringLiteral("前日 ") + clock;
  return clock;
}

QString HeadsignOf(const citygen::Timetable& timetable, int trip) {
  const citygen::Trip& t = TripAt(timetable, trip);
  if (!t.headsign.empty() || t.calls.empty()) return QString::fromStdString(t.headsign);
  return PlatformName(timetable, t.calls.back().platform);
}

QString TimedPlanText(const citygen::Timetable& timetable, const TimedAsk& ask, const TimedPlan& plan) {
  QString text =
      QStringLiteral("%1 出发 → %2 到达，")
          .arg(WallClockText(ask.zone, ask.day, plan.depart), WallClockText(ask.zone, ask.day, plan.arrive));
  Plan summary;
  summary.minutes = (plan.arrive - plan.depart) / 60.0;
  summary.walkMetres = plan.walkMetres;
  summary.rides = plan.rides;
  text += PlanSummary(summary) + u'\n';
  int ready = plan.depart, number = 0;
  bool ridden = false;
  for (const TimedLeg& leg : plan.legs) {
    QString line;
    if (leg.mode == Leg::Mode::Walk && IsNoStep(leg)) continue;
    if (leg.mode == Leg::Mode::Walk) {
      line = QStringLiteral("步行 %1 米到 %2")
                 .arg(MetresText(leg.metres), EndName(timetable, leg.toPlatform, ask.to));
      if (const QString streets = StreetsText(leg.streets); !streets.isEmpty())
        line += QStringLiteral("：") + streets;
    } else {
      const citygen::Trip& trip = TripAt(timetable, leg.trip);
      line = QStringLiteral("%1%2 在 %3 乘 %4（往 %5%6），%7 到 %8，坐 %9 站")
                 .arg(ridden ? QStringLiteral("换乘，") : QString(),
                      WallClockText(ask.zone, ask.day, leg.depart), PlatformName(timetable, leg.fromPlatform),
                      QString::fromStdString(trip.line), HeadsignOf(timetable, leg.trip),
                      leg.depart > ready ? WaitText(leg.depart - ready) : QString(),
                      WallClockText(ask.zone, ask.day, leg.arrive), PlatformName(timetable, leg.toPlatform),
                      QString::number(leg.alightCall - leg.boardCall));
      ridden = true;
    }
    ready = leg.arrive;
    text += QStringLiteral("  %1. %2\n").arg(++number).arg(line);
  }
  return text;
}

QString NoTimedPlanReason(const citygen::Timetable& timetable, const TimedAsk& ask) {
  if (!EndReachesPlatforms(timetable, ask.from))
    return QStringLiteral("起点 %1 米内没有站台").arg(kAccessMetres);
  if (!EndReachesPlatforms(timetable, ask.to))
    return QStringLiteral("终点 %1 米内没有站台").arg(kAccessMetres);
  return QStringLiteral("%1 换乘 %2 次以内没有到达的班次").arg(ask.at).arg(ask.maxRides - 1);
}

QJsonObject TimedPlansJson(const citygen::Timetable& timetable, const TimedAsk& ask,
                           const std::vector<TimedPlan>& plans) {
  QJsonArray planArray;
  for (const TimedPlan& plan : plans) {
    QJsonArray legs;
    double walked = 0;
    for (const TimedLeg& leg : plan.legs) {
      QJsonObject json{{"from", NameOrNull(timetable, leg.fromPlatform)},
                       {"to", NameOrNull(timetable, leg.toPlatform)},
                       {"from_id", IdOrNull(timetable, leg.fromPlatform)},
                       {"to_id", IdOrNull(timetable, leg.toPlatform)}};
      if (leg.mode == Leg::Mode::Walk) {
        const double metres = Rounded(leg.metres, 1);
        walked += metres;
        json.insert("mode", "walk");
        json.insert("metres", metres);
        AddWay(json, leg.path, leg.streets);
        legs.append(json);
        continue;
      }
      const citygen::Trip& trip = TripAt(timetable, leg.trip);
      QJsonArray stops;
      for (int call = leg.boardCall; call <= leg.alightCall; ++call)
        stops.append(PlatformName(timetable, trip.calls[std::size_t(call)].platform));
      json.insert("mode", "ride");
      json.insert("line", QString::fromStdString(trip.line));
      json.insert("stops", stops);
      json.insert("trip", QString::fromStdString(trip.id));
      json.insert("depart", ServiceTimeText(leg.depart));
      json.insert("arrive", ServiceTimeText(leg.arrive));
      legs.append(json);
    }
    planArray.append(QJsonObject{{"minutes", Rounded((plan.arrive - plan.depart) / 60.0, 2)},
                                 {"walk_metres", Rounded(walked, 1)},
                                 {"changes", plan.rides > 0 ? plan.rides - 1 : 0},
                                 {"rides", plan.rides},
                                 {"depart", ServiceTimeText(plan.depart)},
                                 {"arrive", ServiceTimeText(plan.arrive)},
                                 {"legs", legs}});
  }
  QJsonObject json{{"from", ask.from.label},
                   {"to", ask.to.label},
                   {"estimate", false},
                   {"at", ask.at},
                   {"plans", planArray}};
  if (plans.empty()) json.insert("reason", NoTimedPlanReason(timetable, ask));
  return json;
}

QJsonObject DeparturesJson(const citygen::Timetable& timetable, const QString& stop, const QString& at,
                           const std::vector<Departure>& departures) {
  QJsonArray list;
  for (const Departure& d : departures)
    list.append(QJsonObject{{"line", d.line},
                            {"headsign", d.headsign},
                            {"platform", QString::fromStdString(PlatformAt(timetable, d.platform).id)},
                            {"depart", ServiceTimeText(d.depart)},
                            {"trip", QString::fromStdString(TripAt(timetable, d.trip).id)}});
  return {{"stop", stop}, {"at", at}, {"departures", list}};
}

QString DeparturesText(const citygen::Timetable& timetable, const QTimeZone& zone, QDate day, int seconds,
                       const std::vector<Departure>& departures) {
  QString text;
  for (const Departure& d : departures)
    text += QStringLiteral("%1  %2 往 %3  站台 %4  %5 分钟后\n")
                .arg(WallClockText(zone, day, d.depart), d.line, d.headsign,
                     QString::fromStdString(PlatformAt(timetable, d.platform).id),
                     QString::number((d.depart - seconds) / 60));
  return text;
}

}  // namespace trip
