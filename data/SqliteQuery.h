#pragma once
// One statement run on an SQLite database, the way the program runs every statement.
#include <QString>
#include <memory>

#include "data/ResultSet.h"
#include "kit/Outcome.h"

struct sqlite3;

// Runs one statement on db (owned by the caller) and returns all its rows; null with error set
// (a description, number kErrorStatementFailed) when the statement fails: SQLite rejects it,
// another statement follows it in sql, or it runs longer than kStatementTimeLimit
// (SqliteGuards.h). Shows nothing.
std::unique_ptr<ResultSet> RunStatement(sqlite3* db, const QString& sql, Outcome& error);
