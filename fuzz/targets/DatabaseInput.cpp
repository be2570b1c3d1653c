// Fuzz body for opening the city database: any bytes as data/<city>.mdb, with or without the
// first bytes of a Jet 4.0 or an SQLite file.
#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "data/DatabaseLoader.h"
#include "fuzz/targets/FuzzCheck.h"
#include "fuzz/targets/FuzzTargets.h"

namespace qiwufuzz {

namespace {

// What the input's first byte puts in front of the rest.
QByteArray Header(std::uint8_t choice) {
  switch (choice % 3) {
    case 1:
      return QByteArray("SQLite format 3\0", 16);
    case 2:  // page 0 of a Jet 4.0 file: magic, signature, version byte 1
      return QByteArray("\x00\x01\x00\x00Standard Jet DB\x00\x01", 21);
    default:
      return {};
  }
}

QString DatabasePath() {
  static QTemporaryDir dir;
  Check(dir.isValid() && QDir(dir.path()).mkpath(QStringLiteral("data")), "temporary program folder");
  return dir.filePath(QStringLiteral("data/栖坞市.mdb"));
}

}  // namespace

int DatabaseInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static const QString path = DatabasePath();
  {
    QFile mdb(path);
    Check(mdb.open(QIODevice::WriteOnly | QIODevice::Truncate), "write the database file");
    mdb.write(Header(data[0]));
    mdb.write(reinterpret_cast<const char*>(data + 1), qint64(size - 1));
  }
  Outcome error;
  sqlite3* db = LoadDatabase(path, error);
  if (db == nullptr) {
    Check(!error.description.isEmpty() && error.number == kErrorOpenFailed, "a failed open says why");
    return 0;
  }
  // The copy is read-only: a write is refused, whatever the file held.
  const int written = sqlite3_exec(db, "create table fuzz_written(x)", nullptr, nullptr, nullptr);
  sqlite3_close_v2(db);
  Check(written != SQLITE_OK, "the loaded copy refuses changes");
  return 0;
}

}  // namespace qiwufuzz
