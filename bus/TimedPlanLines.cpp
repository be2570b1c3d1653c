#include "bus/TimedPlanLines.h"

#include <cmath>

#include "bus/TimedPlanText.h"
#include "bus/TripPlanText.h"

namespace trip {

namespace {

constexpr int kDaySeconds = 24 * 3600;

QString Name(const std::string& text) { return QString::fromStdString(text); }

QString PlatformName(const citygen::Timetable& table, int platform) {
  return Name(table.platforms[std::size_t(platform)].name);
}

// The minutes between two times as the clock shows them (whole minutes, seconds dropped).
int ClockMinutes(int from, int to) {
  const auto minuteOf = [](int seconds) { return seconds >= 0 ? seconds / 60 : -((59 - seconds) / 60); };
  return std::max(minuteOf(to) - minuteOf(from), 0);
}

}  // namespace

ServiceClock::ServiceClock(const QTimeZone& zone, QDate day)
    : zone_(zone), day_(day), start_(QDateTime(day, QTime(12, 0), zone).addSecs(-kDaySeconds / 2)) {}

QString ServiceClock::Text(int seconds) const { return WallClockText(zone_, day_, seconds); }

QString DurationText(int depart, int arrive) {
  const int minutes = ClockMinutes(depart, arrive);
  if (minutes < 60) return QStringLiteral("%1 分钟").arg(minutes);
  return QStringLiteral("%1 小时 %2 分钟").arg(minutes / 60).arg(minutes % 60);
}

QString TimedHeadline(const ServiceClock& clock, const TimedPlan& plan) {
  return QStringLiteral("%1 出发 → %2 到达").arg(clock.Text(plan.depart), clock.Text(plan.arrive));
}

std::vector<TimedLegLine> TimedLegLines(const citygen::Timetable& table, const ServiceClock& clock,
                                        const TimedPlan& plan, const QString& toLabel) {
  std::vector<TimedLegLine> lines;
  int ready = plan.depart;  // when the rider is free to go on
  bool ridden = false;
  for (const TimedLeg& leg : plan.legs) {
    if (leg.mode == Leg::Mode::Walk) {
      if (leg.metres > 0) {
        const QString to = leg.toPlatform >= 0 ? PlatformName(table, leg.toPlatform) : toLabel;
        const int minutes = std::max(1, int(std::ceil((leg.arrive - leg.depart) / 60.0)));
        QString text =
            QStringLiteral("步行 %1 米（约 %2 分钟）到 %3").arg(std::lround(leg.metres)).arg(minutes).arg(to);
        if (const QString streets = StreetsText(leg.streets); !streets.isEmpty())
          text += QStringLiteral("：") + streets;
        lines.push_back({text, leg.toPlatform, leg.arrive});
      }
      ready = leg.arrive;
      continue;
    }
    const citygen::Trip& run = table.trips[std::size_t(leg.trip)];
    const int board = run.calls[std::size_t(leg.boardCall)].platform;
    const int alight = run.calls[std::size_t(leg.alightCall)].platform;
    const int wait = ClockMinutes(ready, leg.depart);
    lines.push_back(
        {QStringLiteral("%1%2 在 %3 乘 %4（往 %5），%6")
             .arg(ridden ? QStringLiteral("换乘：") : QString(), clock.Text(leg.depart),
                  PlatformName(table, board), Name(run.line), HeadsignOf(table, leg.trip),
                  wait > 0 ? QStringLiteral("候车 %1 分钟").arg(wait) : QStringLiteral("无需候车")),
         board, ready});
    lines.push_back({QStringLiteral("%1 到 %2 下车，坐 %3 站")
                         .arg(clock.Text(leg.arrive), PlatformName(table, alight),
                              QString::number(leg.alightCall - leg.boardCall)),
                     alight, leg.arrive});
    ready = leg.arrive;
    ridden = true;
  }
  return lines;
}

QStringList DepartureColumns(const citygen::Timetable& table, const ServiceClock& clock,
                             const Departure& departure, int fromSeconds) {
  const int minutes = (departure.depart - fromSeconds) / 60;
  const QString when = minutes < 1
                           ? QStringLiteral("即将发车（%1）").arg(clock.Text(departure.depart))
                           : QStringLiteral("%1 分钟后（%2）").arg(minutes).arg(clock.Text(departure.depart));
  const QString headsign =
      departure.headsign.isEmpty() ? HeadsignOf(table, departure.trip) : departure.headsign;
  return {departure.line, QStringLiteral("往 ") + headsign, when};
}

}  // namespace trip
