#pragma once
// The bus transfer search: from a departure stop to a destination stop, the direct lines, or
// else one route per pair of lines that meet, changing once, sorted by the stops ridden.
// The answer is the transfer plan text (lines end with CR LF); it is empty after a failed query,
// whose message boxes have then been shown.
#include <QString>

class CityDatabase;

namespace modBusChange {

// The search the program uses. It makes an in-memory index of the bus table once per open
// database, file or server (again when another table is named), from the rows the database keeps
// (data/BusTable.h); the database keeps the index too (CityDatabase::Derived), and it answers.
// Where the index cannot stand in for the statements (the table or a column missing, values
// it cannot match as the database would), it runs FindBusChangeByQueries, so answers and
// message boxes are always those of the statements. Names are taken as typed, not trimmed.
QString FindBusChange(CityDatabase& database, const QString& departure, const QString& destination,
                      const QString& table);

// The same search by its statements, one after the other, through ExecuteQuery and
// GetFieldValue: the lines through each stop, a position lookup per stop and line, the stops
// of both lines for every pair of lines. Slow on a large network; the tests' measure of truth.
QString FindBusChangeByQueries(CityDatabase& database, const QString& departure, const QString& destination,
                               const QString& table);

// The two searches on the current database (modDBAccess::cnnCity); while none is current they
// show the boxes of a failed statement and answer empty.
QString FindBusChange(const QString& departure, const QString& destination, const QString& table);
QString FindBusChangeByQueries(const QString& departure, const QString& destination, const QString& table);

}  // namespace modBusChange
