// qiwu-cli departures STOP [--at 'YYYY-MM-DD HH:MM'] [--window MIN] [--json]: the departures at
// every platform of a stop within the window (60 minutes unless given) from the time given, else
// now, by the city's timetable. docs/trip-planner.md describes the JSON.
#include <QJsonDocument>
#include <cstdio>

#include "bus/TimedCity.h"
#include "bus/TimedPlanText.h"
#include "cli/ClockArgs.h"
#include "cli/ClockTime.h"
#include "cli/Command.h"
#include "data/modDBAccess.h"

namespace {

constexpr const char* kUsage = "departures STOP [--at 'YYYY-MM-DD HH:MM'] [--window MIN] [--json]";

int RunDepartures(const CliContext& context, const QStringList& commandLine) {
  const std::optional<ClockArgs> parsed = ReadDeparturesArgs(commandLine);
  if (!parsed) {
    std::fprintf(stderr, "usage: qiwu-cli %s\n", kUsage);
    return 2;
  }
  const ClockArgs& args = *parsed;
  if (!OpenDatabase(context)) return 1;
  QString error;
  const trip::TimedIndex* const index = trip::TimedIndexOf(*modDBAccess::cnnCity, {}, error);
  if (!index) {
    std::fprintf(stderr, "departures: %s\n", error.isEmpty() ? "本市没有时刻表" : qUtf8Printable(error));
    return 1;
  }
  const QString& stop = args.names.front();
  const std::vector<int> platforms = trip::PlatformsNamed(*index, stop);
  if (platforms.empty()) {
    std::fprintf(stderr, "departures: 时刻表里没有车站“%s”\n", qUtf8Printable(stop));
    return 1;
  }
  const QTimeZone zone = trip::TimeZoneOf(*index);
  const ClockTime when = ClockTimeOf(args, zone);
  const std::vector<trip::Departure> departures =
      trip::NextDepartures(*index, platforms, when.day, when.seconds, args.windowMinutes * 60);
  const citygen::Timetable& timetable = trip::TimetableOf(*index);
  if (args.json) {
    WriteOut(QString::fromUtf8(QJsonDocument(trip::DeparturesJson(timetable, stop, when.at, departures))
                                   .toJson(QJsonDocument::Indented)));
    return 0;
  }
  WriteOut(QStringLiteral("%1 的发车时刻，%2 起 %3 分钟\n")
               .arg(stop, when.at, QString::number(args.windowMinutes)));
  if (departures.empty()) WriteOut(QStringLiteral("这段时间没有发车\n"));
  WriteOut(trip::DeparturesText(timetable, zone, when.day, when.seconds, departures));
  return 0;
}

const CommandRegistration registration{"departures", kUsage, &RunDepartures};

}  // namespace
