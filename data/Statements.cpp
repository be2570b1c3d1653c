#include "data/Statements.h"

#include "data/CityVocabulary.h"
#include "data/modGetRecord.h"

namespace statements {

namespace {

const QString kBus = QString::fromUtf8(city::kBusTable);
const QString kLine = QString::fromUtf8(city::kLineField);
const QString kStop = QString::fromUtf8(city::kStopField);
const QString kOrder = QString::fromUtf8(city::kOrderField);

QString Quoted(const QString& value) { return u'\'' + modGetRecord::SqlText(value) + u'\''; }

}  // namespace

ListStatement TypeNames() {
  const QString name = QString::fromUtf8(city::kTypeNameField);
  return {QString::fromUtf8(city::kTypeTable), name, QString(), name, true};
}

ListStatement PointTypeNames() {
  ListStatement types = TypeNames();
  types.condition = QStringLiteral(" where type  = \"点\" ");
  return types;
}

ListStatement NamesOfType(const QString& type) {
  const QString name = QString::fromUtf8(city::kNameField);
  return {type, name, QString(), name, true};
}

ListStatement LineNames() { return {kBus, kLine, QString(), QStringLiteral("id"), true}; }

ListStatement StopNames() { return {kBus, kStop, QString(), kStop, true}; }

ListStatement StopsOfLine(const QString& line) {
  return {kBus, kStop, " where 线路名 = " + Quoted(line) + ' ', kOrder, false};
}

ListStatement LinesThrough(const QString& stop) {
  return {kBus, kLine, " where 站名 = " + Quoted(stop) + ' ', QStringLiteral("ID"), false};
}

ListStatement StopsLike(const QString& text) {
  return {kBus, kStop, " where  站名  like '%" + modGetRecord::SqlText(text) + "%' ", kStop, true};
}

QString LineNamesAtStop(const QString& table, const QString& stop) {
  return "select 线路名  from " + table + " where 站名 = " + Quoted(stop) + ' ';
}

QString StopNamesOfLine(const QString& table, const QString& line) {
  return "select 站名  from " + table + " where 线路名 = " + Quoted(line) + ' ';
}

QString StopOnLineCondition(const QString& stop, const QString& line) {
  return " where 站名=" + Quoted(stop) + " and 线路名=" + Quoted(line);
}

QString RouteOfLine(const QString& table, const QString& line) {
  return "select 站名 , 顺序 from " + table + "  where 线路名 = " + Quoted(line) + "  order by 顺序";
}

QString BusTableRows(const QString& table) { return "select 线路名, 站名, 顺序 from " + table; }

QString PointTypesInOrder() { return QStringLiteral("select typeName from 地物类型 where type = '点'"); }

QString NamesIn(const QString& table) { return "select name from " + table; }

QString OtherNamesIn(const QString& table) {
  return QStringLiteral("select %1, name from %2 where %3 = %4 and name in (%5)")
      .arg(QString::fromUtf8(city::kOtherNameField), QString::fromUtf8(city::kOtherNameTable),
           QString::fromUtf8(city::kTypeNameField), Quoted(table), NamesIn(table));
}

QString NameCondition(const QString& name) { return " where name  = " + Quoted(name); }

QString RowsNamed(const QString& table, const QStringList& names) {
  QStringList quoted;
  for (const QString& name : names) quoted << Quoted(name);
  return "select * from " + table + " where " + QString::fromUtf8(city::kNameField) + " in (" +
         quoted.join(u',') + ')';
}

namespace {
QString Table(const char* name) { return QString::fromUtf8(name); }
}  // namespace

QString TimetablePlatforms() {
  return "select n, id, name, x, y from " + Table(city::timetable::kPlatforms) + " order by n";
}

QString TimetablePatterns() {
  return "select n, platforms from " + Table(city::timetable::kPatterns) + " order by n";
}

QString TimetableTrips() {
  return "select n, id, " + kLine + ", service, headsign, pattern, times, rules from " +
         Table(city::timetable::kTrips) + " order by n";
}

QString TimetableCalendar() {
  return "select service, monday, tuesday, wednesday, thursday, friday, saturday, sunday, start_date, "
         "end_date "
         "from " +
         Table(city::timetable::kCalendar);
}

QString TimetableCalendarDates() {
  return "select service, date, exception_type from " + Table(city::timetable::kCalendarDates);
}

QString TimetableFrequencies() {
  return "select trip, start_time, end_time, headway_secs, exact_times from " +
         Table(city::timetable::kFrequencies);
}

QString CityFact(const QString& key) {
  return "select value from " + Table(city::timetable::kCityFacts) + " where key = " + Quoted(key);
}

}  // namespace statements
