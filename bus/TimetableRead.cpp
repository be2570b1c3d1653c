#include "bus/TimetableRead.h"

#include <QByteArray>
#include <optional>
#include <unordered_map>

#include "data/CityVocabulary.h"
#include "data/Statements.h"
#include "dataset/TimetablePacking.h"

namespace trip {
namespace {

using Row = std::vector<QVariant>;

// What makes a table unusable; thrown inside the reader only, caught by ReadTimetable.
struct Malformed {
  QString why;
};

std::vector<Row> RowsOf(const CityDatabase& db, const QString& sql, int columns) {
  Outcome outcome;
  const std::unique_ptr<ResultSet> result = db.Query(sql, outcome);
  if (!result) throw Malformed{outcome.description};
  if (result->Columns().size() != columns) throw Malformed{QStringLiteral("时刻表的列数不对。")};
  return result->Rows();
}

std::string Text(const QVariant& value) {
  return value.isNull() ? std::string() : value.toString().toStdString();
}

qlonglong Whole(const QVariant& value, const char* table) {
  bool ok = false;
  const qlonglong number = value.toLongLong(&ok);
  if (value.isNull() || !ok)
    throw Malformed{QStringLiteral("表“%1”中有不是整数的值。").arg(QString::fromUtf8(table))};
  return number;
}

std::string_view View(const QByteArray& bytes) {
  return std::string_view(bytes.constData(), std::size_t(bytes.size()));
}

void Require(bool holds, const char* table, qlonglong row) {
  if (!holds)
    throw Malformed{QStringLiteral("表“%1”第 %2 行不能使用。").arg(QString::fromUtf8(table)).arg(row + 1)};
}

void ReadPlatforms(const CityDatabase& db, citygen::Timetable& timetable) {
  const char* table = city::timetable::kPlatforms;
  for (const Row& row : RowsOf(db, statements::TimetablePlatforms(), 5)) {
    const qlonglong n = qlonglong(timetable.platforms.size());
    Require(Whole(row[0], table) == n && row[3].isNull() == row[4].isNull(), table, n);
    citygen::Platform& platform = timetable.platforms.emplace_back();
    platform.id = Text(row[1]);
    platform.name = Text(row[2]);
    platform.placed = !row[3].isNull();
    if (platform.placed) {
      bool xOk = false, yOk = false;
      platform.at = {row[3].toDouble(&xOk), row[4].toDouble(&yOk)};
      Require(xOk && yOk, table, n);
    }
  }
}

std::vector<std::vector<int>> ReadPatterns(const CityDatabase& db, std::size_t platformCount) {
  const char* table = city::timetable::kPatterns;
  std::vector<std::vector<int>> patterns;
  for (const Row& row : RowsOf(db, statements::TimetablePatterns(), 2)) {
    const qlonglong n = qlonglong(patterns.size());
    const QByteArray bytes = row[1].toByteArray();
    Require(Whole(row[0], table) == n && row[1].typeId() == QMetaType::QByteArray, table, n);
    std::optional<std::vector<int>> platforms = citygen::UnpackPlatforms(View(bytes), platformCount);
    Require(platforms.has_value(), table, n);
    patterns.push_back(std::move(*platforms));
  }
  return patterns;
}

void ReadTrips(const CityDatabase& db, const std::vector<std::vector<int>>& patterns,
               citygen::Timetable& timetable) {
  const char* table = city::timetable::kTrips;
  for (const Row& row : RowsOf(db, statements::TimetableTrips(), 8)) {
    const qlonglong n = qlonglong(timetable.trips.size());
    const qlonglong pattern = Whole(row[5], table);
    const QByteArray times = row[6].toByteArray(), rules = row[7].toByteArray();
    Require(Whole(row[0], table) == n && pattern >= 0 && pattern < qlonglong(patterns.size()), table, n);
    const std::vector<int>& platforms = patterns[std::size_t(pattern)];
    // Every call takes at least two bytes of times: no more calls are made than the bytes allow.
    Require(row[6].typeId() == QMetaType::QByteArray && std::size_t(times.size()) >= 2 * platforms.size() &&
                (row[7].isNull() || row[7].typeId() == QMetaType::QByteArray),
            table, n);
    citygen::Trip& trip = timetable.trips.emplace_back();
    trip.id = Text(row[1]);
    trip.line = Text(row[2]);
    trip.service = Text(row[3]);
    trip.headsign = Text(row[4]);
    trip.calls.resize(platforms.size());
    for (std::size_t k = 0; k < platforms.size(); ++k) trip.calls[k].platform = platforms[k];
    Require(citygen::UnpackTimes(View(times), trip.calls), table, n);
    Require(row[7].isNull() || citygen::UnpackRules(View(rules), trip.calls), table, n);
  }
}

citygen::Service& ServiceNamed(citygen::Timetable& timetable,
                               std::unordered_map<std::string, std::size_t>& index, const std::string& id) {
  const auto [slot, added] = index.try_emplace(id, timetable.services.size());
  if (added) timetable.services.emplace_back().id = id;
  return timetable.services[slot->second];
}

void ReadServices(const CityDatabase& db, citygen::Timetable& timetable) {
  std::unordered_map<std::string, std::size_t> index;
  for (const Row& row : RowsOf(db, statements::TimetableCalendar(), 10)) {
    citygen::Service& service = ServiceNamed(timetable, index, Text(row[0]));
    service.hasCalendar = true;
    for (std::size_t day = 0; day < 7; ++day)
      service.weekdays[day] = Whole(row[1 + day], city::timetable::kCalendar) != 0;
    service.startDate = Text(row[8]);
    service.endDate = Text(row[9]);
  }
  for (const Row& row : RowsOf(db, statements::TimetableCalendarDates(), 3)) {
    ServiceNamed(timetable, index, Text(row[0]))
        .exceptions.emplace_back(Text(row[1]), int(Whole(row[2], city::timetable::kCalendarDates)));
  }
}

void ReadFrequencies(const CityDatabase& db, citygen::Timetable& timetable) {
  const char* table = city::timetable::kFrequencies;
  for (const Row& row : RowsOf(db, statements::TimetableFrequencies(), 5)) {
    const qlonglong start = Whole(row[1], table), end = Whole(row[2], table), headway = Whole(row[3], table);
    const auto inDay = [](qlonglong time) { return time >= 0 && time <= citygen::kLastServiceSecond; };
    Require(inDay(start) && inDay(end) && headway > 0 && headway <= citygen::kLastServiceSecond, table,
            qlonglong(timetable.frequencies.size()));
    timetable.frequencies.push_back({Text(row[0]), citygen::ServiceSeconds(start),
                                     citygen::ServiceSeconds(end), std::int32_t(headway),
                                     Whole(row[4], table) != 0});
  }
}

}  // namespace

citygen::Timetable ReadTimetable(const CityDatabase& db, QString& error) {
  namespace names = city::timetable;
  citygen::Timetable timetable;
  if (!db.HasTable(QString::fromUtf8(names::kTrips))) return timetable;
  try {
    for (const char* table : {names::kPlatforms, names::kPatterns, names::kCalendar, names::kCalendarDates,
                              names::kFrequencies, names::kCityFacts}) {
      if (!db.HasTable(QString::fromUtf8(table)))
        throw Malformed{QStringLiteral("缺少时刻表“%1”。").arg(QString::fromUtf8(table))};
    }
    ReadPlatforms(db, timetable);
    ReadTrips(db, ReadPatterns(db, timetable.platforms.size()), timetable);
    ReadServices(db, timetable);
    ReadFrequencies(db, timetable);
    const std::vector<Row> zone = RowsOf(db, statements::CityFact(QString::fromUtf8(names::kTimeZoneKey)), 1);
    if (!zone.empty()) timetable.timeZone = Text(zone.front()[0]);
  } catch (const Malformed& malformed) {
    error = malformed.why;
    return {};
  }
  return timetable;
}

}  // namespace trip
