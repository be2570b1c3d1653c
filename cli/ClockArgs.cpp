#include "cli/ClockArgs.h"

#include <QRegularExpression>

#include "bus/TripModel.h"

namespace {

constexpr int kLongestWindowMinutes = 24 * 60;

enum Option : unsigned { kAt = 1, kArriveBy = 2, kEstimate = 4, kWindow = 8, kMaxChanges = 16, kJson = 32 };

bool ReadCount(const QString& text, int lowest, int highest, int& out) {
  bool ok = false;
  const int value = text.toInt(&ok);
  if (!ok || value < lowest || value > highest) return false;
  out = value;
  return true;
}

// The options in allowed, each at most once; --at, --arrive-by and --estimate exclude each other.
std::optional<ClockArgs> Read(const QStringList& args, unsigned allowed, int nameCount, ClockArgs out) {
  unsigned seen = 0;
  for (int i = 0; i < args.size(); ++i) {
    const QString& arg = args[i];
    if (!arg.startsWith(QStringLiteral("--"))) {
      out.names << arg;
      continue;
    }
    static const std::pair<const char*, Option> kNames[] = {
        {"--at", kAt},         {"--arrive-by", kArriveBy},     {"--estimate", kEstimate},
        {"--window", kWindow}, {"--max-changes", kMaxChanges}, {"--json", kJson}};
    unsigned option = 0;
    for (const auto& [name, bit] : kNames)
      if (arg == QLatin1String(name)) option = bit;
    if (!(option & allowed) || (option & seen)) return std::nullopt;
    seen |= option;
    if (option == kEstimate) {
      out.estimate = true;
    } else if (option == kJson) {
      out.json = true;
    } else {
      if (i + 1 >= args.size()) return std::nullopt;
      const QString& value = args[++i];
      if (option == kAt || option == kArriveBy) {
        const auto wall = ReadWallTime(value);
        if (!wall) return std::nullopt;
        out.timed = true;
        out.day = wall->first;
        out.time = wall->second;
        out.arriveBy = option == kArriveBy;
      } else if (option == kWindow) {
        if (!ReadCount(value, 0, kLongestWindowMinutes, out.windowMinutes)) return std::nullopt;
      } else if (int changes = 0; ReadCount(value, 0, trip::kMaxRides - 1, changes)) {
        out.maxRides = changes + 1;
      } else {
        return std::nullopt;
      }
    }
  }
  const unsigned when = seen & (kAt | kArriveBy | kEstimate);
  if ((when & (when - 1)) != 0 || out.names.size() != nameCount) return std::nullopt;
  return out;
}

}  // namespace

std::optional<std::pair<QDate, QTime>> ReadWallTime(const QString& text) {
  static const QRegularExpression pattern(QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2}) (\\d{1,2}):(\\d{2})$"));
  const QRegularExpressionMatch match = pattern.match(text);
  if (!match.hasMatch()) return std::nullopt;
  const QDate day(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
  const int hour = match.captured(4).toInt(), minute = match.captured(5).toInt();
  if (!day.isValid() || hour > 23 || minute > 59) return std::nullopt;
  return std::pair{day, QTime(hour, minute)};
}

std::optional<ClockArgs> ReadTripArgs(const QStringList& args) {
  ClockArgs defaults;
  defaults.maxRides = trip::kMaxRides;
  return Read(args, kAt | kArriveBy | kEstimate | kWindow | kMaxChanges | kJson, 2, defaults);
}

std::optional<ClockArgs> ReadDeparturesArgs(const QStringList& args) {
  ClockArgs defaults;
  defaults.windowMinutes = 60;
  return Read(args, kAt | kWindow | kJson, 1, defaults);
}

QString WallTimeText(QDate day, QTime time) {
  return day.toString(QStringLiteral("yyyy-MM-dd")) + u' ' + time.toString(QStringLiteral("HH:mm"));
}
