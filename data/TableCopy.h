#pragma once
// Copying an attached SQLite database into the main in-memory one with the program's collation.
#include <QString>

struct sqlite3;

// Copies every ordinary table of the attached database `schema` into the main database of db:
// the same table and column names and declared types, every column declared with the text
// collation, no constraints and no indexes (so a scan returns rows in stored order), the rows
// in the source's stored order. db stays owned by the caller. On failure returns false with
// SQLite's message in failure.
bool CopyTables(sqlite3* db, const QString& schema, QString& failure);
