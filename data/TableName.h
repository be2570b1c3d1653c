#pragma once
// Names of tables as the program's statements use them: unquoted, matched without regard to
// the case of Latin letters, as the Jet engine matched them.
#include <QString>

// A name that stands in a statement unquoted and means just that table: letters, digits,
// underscores and non-ASCII characters, not starting with a digit.
bool IsPlainTableName(const QString& name);

// Two names are the same when they differ at most in the case of the Latin letters A-Z.
bool SameName(const QString& a, const QString& b);
