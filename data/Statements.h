#pragma once
// The program's read statements by name. Each builder takes plain values and gives the text the
// database runs, character for character as the program has always sent it (the blanks
// included); values go between single quotes with their apostrophes doubled (modGetRecord::SqlText).
// Nothing above data/ writes a statement: it names one of these.
#include <QString>
#include <QStringList>

// What a list fill reads (modGetRecord::FillList): the field of table's rows that meet the where
// clause condition (with its leading blank), ordered by order when it is not empty, each value
// once when distinct. FillListStatement gives its text.
struct ListStatement {
  QString table;
  QString field;
  QString condition;
  QString order;
  bool distinct = false;
};

namespace statements {

// The type selectors: cmbType(0) every type's name, cmbType(1) and (2) the point types'.
ListStatement TypeNames();
ListStatement PointTypeNames();
// lstShow(0): the names of the features of type (its table), in name order.
ListStatement NamesOfType(const QString& type);

// The bus panel's lists. cmbBus: every line name in the order of id (line mode), every stop name
// (station mode). lstShow(3): the stops of line in 顺序 order (line mode), the lines through stop
// in the order of ID (station mode). lstStation: the stop names that hold text.
ListStatement LineNames();
ListStatement StopNames();
ListStatement StopsOfLine(const QString& line);
ListStatement LinesThrough(const QString& stop);
ListStatement StopsLike(const QString& text);

// The transfer search on the bus table named table: the 线路名 of every row of stop, the 站名 of
// every row of line (stored order), and the where clause of the position of stop on line (for
// GetFieldValue of 顺序).
QString LineNamesAtStop(const QString& table, const QString& stop);
QString StopNamesOfLine(const QString& table, const QString& line);
QString StopOnLineCondition(const QString& stop, const QString& line);

// The stops of line with their 顺序, in that order, for the ride drawn on the map.
QString RouteOfLine(const QString& table, const QString& line);

// Every row of the bus table: 线路名, 站名, 顺序, in stored order.
QString BusTableRows(const QString& table);

// The search box's names: the point types' names in stored order, and the name of every row of
// a feature type's or a road's table.
QString PointTypesInOrder();
QString NamesIn(const QString& table);
// The other names (city::kOtherNameTable) of the features a feature type's or a road's table
// holds: otherName, name.
QString OtherNamesIn(const QString& table);

// The where clause of the feature card's look-ups: the row of a feature type's table named name.
QString NameCondition(const QString& name);

// Every column of the rows of table whose name is one of names (not empty).
QString RowsNamed(const QString& table, const QStringList& names);

// The timetable tables (docs/timetable.md), every column in the documented order: the platforms,
// patterns and trips in the order of n, the calendars, exceptions and frequencies as stored, and
// the value of one key of the city's facts.
QString TimetablePlatforms();
QString TimetablePatterns();
QString TimetableTrips();
QString TimetableCalendar();
QString TimetableCalendarDates();
QString TimetableFrequencies();
QString CityFact(const QString& key);

}  // namespace statements
