#pragma once
// Reading a city database file into an in-memory SQLite database with the program's collation.
#include <QByteArray>
#include <QString>

#include "kit/Outcome.h"

struct sqlite3;

enum class DatabaseFormat { Jet, Sqlite, Unknown };

// The format a file's first bytes announce: "Standard Jet DB" / "Standard ACE DB" at offset 4
// (Access, Jet 3 and 4 and later), "SQLite format 3" at offset 0.
DatabaseFormat DetectFormat(const QByteArray& head);

// Reads the database at path (Jet or SQLite) into a new in-memory SQLite database: every table
// and row, text columns with the collation of TextCollation.h, no indexes, double-quoted string
// literals accepted, and reading only allowed afterwards (SqliteGuards.h). Only a regular file
// that lies in path's own folder once links are resolved is opened (SourceDatabase.h: read-only,
// nothing created beside it). Returns the database, owned by the caller (close with
// sqlite3_close_v2), or null with error set: a description in Chinese naming the file, number
// kErrorOpenFailed.
sqlite3* LoadDatabase(const QString& path, Outcome& error);
