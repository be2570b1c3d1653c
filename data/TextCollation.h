#pragma once
// The program's text comparison inside SQLite: the case of Latin letters is ignored, and
// Chinese text sorts by pinyin (ICU's zh collator), as Chinese users expect in lists.
#include <QString>
#include <string_view>

struct sqlite3;

// The collation name the in-memory copy declares on its columns.
inline constexpr char kTextCollation[] = "qiwu_text";

// Compares two UTF-8 texts: pinyin order of their Latin-lower-cased forms, then their bytes.
// Two texts are equal exactly when they differ only in the case of Latin letters A-Z, so the
// order is total and agrees with = and DISTINCT. Returns <0, 0 or >0.
int CompareText(std::string_view a, std::string_view b);

// Installs the collation kTextCollation and the like() of LikePattern.h on db (owned by the caller).
// Returns an SQLite result code.
int RegisterTextFunctions(sqlite3* db);

// The text with the Latin letters A-Z lower-cased: two names are equal under the database's =
// exactly when these agree (the server folds the same letters). For look-ups outside the engine.
QString FoldLatinCase(const QString& text);
