#pragma once
// Copies every table of a Jet (Access .mdb) file into an SQLite database, rows in stored order.
// Runs inside the qiwu-jet-reader helper process only: libmdb may loop or fault on a damaged file.
#include <sqlite3.h>

#include <string>

// Reads the Jet file at path (UTF-8 file name) into db (an empty SQLite database owned by the
// caller). Text arrives as UTF-8; numbers as INTEGER or REAL; dates as "YYYY-MM-DD hh:mm:ss"
// text; OLE and binary values as BLOB; an empty Jet text is indistinguishable from null in
// libmdb and arrives as NULL. On failure returns false with a message in Chinese in failure.
bool CopyJetToSqlite(const std::string& path, sqlite3* db, std::string& failure);
