#include "data/SourceDatabase.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <cstring>

#include "data/JetImport.h"
#include "data/SqliteGuards.h"
#include "kit/DataSetFile.h"

namespace {

QString SqliteMessage(sqlite3* db) { return QString::fromUtf8(sqlite3_errmsg(db)); }

// Opens a URI read-only. The file name is percent-encoded, so blanks, '?', '#' and Chinese
// letters stay part of it.
SqliteDb OpenReadOnly(const QString& path, const char* parameters, QString& failure) {
  const QByteArray uri =
      "file:" + QUrl::toPercentEncoding(QFileInfo(path).absoluteFilePath(), "/") + parameters;
  sqlite3* raw = nullptr;
  const int rc = sqlite3_open_v2(uri.constData(), &raw,
                                 SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, nullptr);
  SqliteDb db(raw);
  if (rc != SQLITE_OK) {
    failure = raw ? SqliteMessage(raw) : QStringLiteral("内存不足");
    return nullptr;
  }
  return db;
}

// The Jet reader's SQLite image as a read-only database in memory.
SqliteDb OpenImage(const QByteArray& image, QString& failure) {
  sqlite3* raw = nullptr;
  const int rc = sqlite3_open_v2(":memory:", &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
  SqliteDb db(raw);
  auto* copy = static_cast<unsigned char*>(sqlite3_malloc64(sqlite3_uint64(image.size())));
  if (rc != SQLITE_OK || copy == nullptr) {
    failure = QStringLiteral("内存不足");
    return nullptr;
  }
  std::memcpy(copy, image.constData(), size_t(image.size()));
  if (sqlite3_deserialize(raw, "main", copy, image.size(), image.size(),
                          SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_READONLY) != SQLITE_OK) {
    failure = SqliteMessage(raw);
    return nullptr;
  }
  return db;
}

// Copies the database and its -wal into a new private folder; the copy of the database, or empty.
QString PrivateCopy(const QString& path, const QString& wal, QTemporaryDir& folder, QString& failure) {
  const QString copy = folder.filePath(QStringLiteral("city.db"));
  for (const auto& [from, to] : {std::pair(path, copy), std::pair(wal, copy + "-wal")}) {
    if (!QFile::copy(from, to) || !QFile::setPermissions(to, QFile::ReadOwner | QFile::WriteOwner)) {
      failure = QStringLiteral("无法复制到临时文件夹“%1”").arg(folder.path());
      return QString();
    }
  }
  return copy;
}

SqliteDb OpenSqliteFile(const QString& path, SourceDatabase& source, QString& failure) {
  const QString wal = path + QStringLiteral("-wal");
  if (!QFileInfo::exists(wal)) return OpenReadOnly(path, "?immutable=1", failure);
  // The -wal file is part of the data set too: a link elsewhere, a FIFO or a device is refused.
  const qiwu::DataSetFile checked = qiwu::CheckDataSetFile(wal, {QFileInfo(path).absolutePath()});
  if (!checked.ok()) {
    failure = checked.error;
    return nullptr;
  }
  source.privateCopy = std::make_unique<QTemporaryDir>();
  if (!source.privateCopy->isValid()) {
    failure = QStringLiteral("无法建立临时文件夹");
    return nullptr;
  }
  const QString copy = PrivateCopy(path, checked.path, *source.privateCopy, failure);
  return copy.isEmpty() ? nullptr : OpenReadOnly(copy, "", failure);
}

}  // namespace

bool OpenSourceDatabase(const QString& path, DatabaseFormat format, SourceDatabase& source,
                        QString& failure) {
  if (format == DatabaseFormat::Jet) {
    const QByteArray image = ReadJetFile(path, failure);
    if (!image.isEmpty()) source.db = OpenImage(image, failure);
  } else {
    source.db = OpenSqliteFile(path, source, failure);
  }
  if (!source.db) return false;
  sqlite3* db = source.db.get();
  sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
  sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
  AllowReadingOnly(db);
  return true;
}
