#include "cli/ClockTime.h"

#include <QDateTime>

#include "bus/TimedSearch.h"

ClockTime ClockTimeOf(const ClockArgs& args, const QTimeZone& zone) {
  QDate day = args.day;
  QTime time = args.time;
  if (!args.timed) {
    const QDateTime now = QDateTime::currentDateTime().toTimeZone(zone);
    day = now.date();
    time = QTime(now.time().hour(), now.time().minute());
  }
  return {day, trip::ServiceSecondsAt(zone, day, time), WallTimeText(day, time)};
}
