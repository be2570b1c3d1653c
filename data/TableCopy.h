#pragma once
// Copying the tables of a city database into the in-memory one with the program's collation.
#include <QString>

struct sqlite3;

// The affinity SQLite gives a column of this declared type, by SQLite's own rules: "INTEGER",
// "TEXT", "BLOB", "REAL" or "NUMERIC".
const char* AffinityOf(const QString& declaredType);

// Copies every ordinary table of source's main database into target's main database: the same
// table and column names, each column declared with only the affinity of its declared type and
// the text collation, no constraints and no indexes (so a scan returns rows in stored order),
// the rows in the source's stored order. Names are quoted and values bound, one prepared
// statement at a time, so nothing in the source's schema is ever run as a statement. Both
// databases stay owned by the caller. On failure returns false with SQLite's message in failure.
bool CopyTables(sqlite3* source, sqlite3* target, QString& failure);
