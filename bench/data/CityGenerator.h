#pragma once
// Synthetic city databases for the benchmarks, deterministic for a given size.
#include <QString>

// Writes an SQLite city database at path: 公交信息 (lines of 25 stops), 地物类型, and the eight
// keyword tables holding `names` plausible Chinese names in all (a few with Latin letters).
// Returns the number of rows written.
int WriteCity(const QString& path, int names, int busRows);
