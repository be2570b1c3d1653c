#pragma once
// The city database file opened as a read-only SQLite connection of its own, the source the
// in-memory copy is made from. Nothing beside the file is created or changed, and read-only
// media work.
#include <QString>
#include <QTemporaryDir>
#include <memory>

#include "data/DatabaseLoader.h"
#include "data/SqliteHandles.h"

struct SourceDatabase {
  // A private copy of an SQLite file in WAL mode and its -wal file; removed after db is closed.
  std::unique_ptr<QTemporaryDir> privateCopy;
  SqliteDb db;
};

// Opens the file at path, a regular file already checked to lie in the data set, in the given
// format (Jet or Sqlite):
// - a Jet file is read by the Jet reader (JetImport.h) and its image opened in memory;
// - an SQLite file with no -wal file beside it is opened immutable: one read-only open, no
//   locks, no -wal or -shm created;
// - an SQLite file with a -wal file beside it is copied with its -wal into a private temporary
//   folder and the copy opened, so rows not yet checkpointed into the file are read as well.
// The connection allows reading only (SqliteGuards.h) from its first statement on, and no
// function or view of the file's schema runs with more than ordinary trust. On failure returns
// false with a reason in Chinese in failure.
bool OpenSourceDatabase(const QString& path, DatabaseFormat format, SourceDatabase& source, QString& failure);
