#pragma once
// Answers straight from a city database file, bypassing the program, for comparison.
#include <QSet>
#include <QString>

// The distinct values of the first column of a statement on the SQLite file at path (opened
// read-only); parameter, when the statement has one, is bound to ?1.
QSet<QString> DatabaseColumn(const QString& path, const QString& sql, const QString& parameter = QString());
