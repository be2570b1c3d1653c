#include "data/DatabaseLoader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <cstring>

#include "data/JetImport.h"
#include "data/SqliteHandles.h"
#include "data/TableCopy.h"
#include "data/TextCollation.h"

namespace {

constexpr char kSource[] = "source";

bool Exec(sqlite3* db, const char* sql) {
  return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

SqliteDb NewMemoryDatabase() {
  sqlite3* raw = nullptr;
  const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX;
  SqliteDb db(sqlite3_open_v2(":memory:", &raw, flags, nullptr) == SQLITE_OK ? raw : nullptr);
  if (!db) {
    sqlite3_close_v2(raw);
    return nullptr;
  }
  // The statements of the program write text literals in double quotes: where type = "点".
  sqlite3_db_config(db.get(), SQLITE_DBCONFIG_DQS_DML, 1, nullptr);
  sqlite3_db_config(db.get(), SQLITE_DBCONFIG_DQS_DDL, 1, nullptr);
  if (RegisterTextFunctions(db.get()) != SQLITE_OK) return nullptr;
  return db;
}

// Attaches the SQLite file read-only under kSource. The file name goes in as a URI so that
// mode=ro applies; blanks, '?' and '#' and Chinese letters are percent-encoded.
bool AttachSqliteFile(sqlite3* db, const QString& path) {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  const QByteArray uri = "file:" + QUrl::toPercentEncoding(absolute, "/") + "?mode=ro";
  SqliteStatement attach = Prepare(db, QByteArray("ATTACH ?1 AS ") + kSource);
  if (!attach) return false;
  sqlite3_bind_text(attach.get(), 1, uri.constData(), int(uri.size()), SQLITE_TRANSIENT);
  return sqlite3_step(attach.get()) == SQLITE_DONE;
}

// Attaches an SQLite image (from the Jet reader) as the read-only database kSource.
bool AttachImage(sqlite3* db, const QByteArray& image) {
  if (!Exec(db, (QByteArray("ATTACH ':memory:' AS ") + kSource).constData())) return false;
  auto* copy = static_cast<unsigned char*>(sqlite3_malloc64(sqlite3_uint64(image.size())));
  if (copy == nullptr) return false;
  std::memcpy(copy, image.constData(), size_t(image.size()));
  return sqlite3_deserialize(db, kSource, copy, image.size(), image.size(),
                             SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_READONLY) == SQLITE_OK;
}

QString Damaged(const QString& shown, const QString& reason) {
  return QStringLiteral("数据库文件“%1”已损坏或不完整，无法读取（%2）。").arg(shown, reason);
}

}  // namespace

DatabaseFormat DetectFormat(const QByteArray& head) {
  if (head.startsWith(QByteArrayLiteral("SQLite format 3\0"))) return DatabaseFormat::Sqlite;
  const QByteArray signature = head.mid(4, 15);
  if (signature == "Standard Jet DB" || signature == "Standard ACE DB") return DatabaseFormat::Jet;
  return DatabaseFormat::Unknown;
}

sqlite3* LoadDatabase(const QString& path, DbError& error) {
  error = DbError{QString(), kErrorOpenFailed};
  const QString shown = QDir::toNativeSeparators(path);
  const QFileInfo info(path);
  if (path.isEmpty() || !info.exists()) {
    error.description = QStringLiteral("找不到数据库文件“%1”。").arg(shown);
    return nullptr;
  }
  QFile file(path);
  if (info.isDir() || !file.open(QIODevice::ReadOnly)) {
    error.description = QStringLiteral("无法打开数据库文件“%1”：%2。")
                            .arg(shown, info.isDir() ? QStringLiteral("这是一个文件夹")
                                                     : QStringLiteral("没有读取权限或文件被占用"));
    return nullptr;
  }
  const QByteArray head = file.read(32);
  file.close();
  if (head.isEmpty()) {
    error.description = QStringLiteral("数据库文件“%1”是空的。").arg(shown);
    return nullptr;
  }
  const DatabaseFormat format = DetectFormat(head);
  if (format == DatabaseFormat::Unknown) {
    error.description =
        QStringLiteral("文件“%1”不是可以识别的数据库（既不是 Access 数据库，也不是 SQLite 数据库）。")
            .arg(shown);
    return nullptr;
  }

  SqliteDb db = NewMemoryDatabase();
  if (!db) {
    error.description = QStringLiteral("内存不足，无法读取数据库文件“%1”。").arg(shown);
    return nullptr;
  }
  bool attached = false;
  if (format == DatabaseFormat::Jet) {
    QString failure;
    const QByteArray image = ReadJetFile(path, failure);
    if (image.isEmpty()) {
      error.description = Damaged(shown, failure);
      return nullptr;
    }
    attached = AttachImage(db.get(), image);
  } else {
    attached = AttachSqliteFile(db.get(), path);
  }
  QString failure;
  if (!attached) failure = QString::fromUtf8(sqlite3_errmsg(db.get()));
  if (!attached || !CopyTables(db.get(), QString::fromLatin1(kSource), failure)) {
    error.description = Damaged(shown, failure);
    return nullptr;
  }
  // The copy is the program's working data; nothing may change it once loaded.
  if (!Exec(db.get(), (QByteArray("DETACH ") + kSource).constData()) ||
      !Exec(db.get(), "PRAGMA query_only = 1")) {
    error.description = Damaged(shown, QString::fromUtf8(sqlite3_errmsg(db.get())));
    return nullptr;
  }
  return db.release();
}
