#include "data/DatabaseLoader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "data/SourceDatabase.h"
#include "data/SqliteGuards.h"
#include "data/SqliteHandles.h"
#include "data/SqliteStep.h"
#include "data/TableCopy.h"
#include "data/TextCollation.h"
#include "kit/DataSetFile.h"

namespace {

SqliteDb NewMemoryDatabase() {
  sqlite3* raw = nullptr;
  const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
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

// Copies the source into db within the load time limit.
bool CopyInTime(sqlite3* source, sqlite3* db, QString& failure) {
  const StatementDeadline sourceDeadline(source, kLoadTimeLimit);
  const StatementDeadline copyDeadline(db, kLoadTimeLimit);
  if (CopyTables(source, db, failure)) return true;
  if (sourceDeadline.Passed()) failure = QStringLiteral("读取超时，文件可能已损坏");
  return false;
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

sqlite3* LoadDatabase(const QString& path, Outcome& error) {
  error = Outcome::Failure(kErrorOpenFailed, QString());
  const QString shown = QDir::toNativeSeparators(path);
  const QFileInfo info(path);
  if (path.isEmpty() || !info.exists()) {
    error.description = QStringLiteral("找不到数据库文件“%1”。").arg(shown);
    return nullptr;
  }
  if (info.isDir()) {
    error.description = QStringLiteral("无法打开数据库文件“%1”：这是一个文件夹。").arg(shown);
    return nullptr;
  }
  // Only a regular file inside its own folder is opened: a FIFO would block, a link may lead
  // anywhere.
  const qiwu::DataSetFile checked = qiwu::CheckDataSetFile(path, {info.absolutePath()});
  if (!checked.ok()) {
    error.description = checked.error;
    return nullptr;
  }
  QFile file(checked.path);
  if (!file.open(QIODevice::ReadOnly)) {
    error.description = QStringLiteral("无法打开数据库文件“%1”：没有读取权限或文件被占用。").arg(shown);
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

  SourceDatabase source;
  QString failure;
  if (!OpenSourceDatabase(checked.path, format, source, failure)) {
    error.description = Damaged(shown, failure);
    return nullptr;
  }
  SqliteDb db = NewMemoryDatabase();
  if (!db) {
    error.description = QStringLiteral("内存不足，无法读取数据库文件“%1”。").arg(shown);
    return nullptr;
  }
  // The copy is the program's working data; nothing may change it once loaded.
  if (!CopyInTime(source.db.get(), db.get(), failure) ||
      RunOneStatement(db.get(), "PRAGMA query_only = 1") != SQLITE_OK) {
    error.description =
        Damaged(shown, failure.isEmpty() ? QString::fromUtf8(sqlite3_errmsg(db.get())) : failure);
    return nullptr;
  }
  AllowReadingOnly(db.get());
  error = Outcome{};
  return db.release();
}
