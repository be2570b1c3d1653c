#include "tests/hostile/DataSetEdits.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <QFile>
#include <QRegularExpression>
#include <QtEndian>
#include <cstring>

#include "tests/app/ProgramDir.h"

namespace hostile {
namespace {

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) ADD_FAILURE() << "cannot read " << path.toStdString();
  return file.readAll();
}

// ST_MinX and friends of a GeoPackage point, for the layer's R-tree triggers: the header's
// envelope is skipped, then the little-endian WKB point gives x and y.
void PointCoordinate(sqlite3_context* context, int, sqlite3_value** values) {
  const auto* blob = static_cast<const unsigned char*>(sqlite3_value_blob(values[0]));
  const int size = sqlite3_value_bytes(values[0]);
  static const int kEnvelopeBytes[] = {0, 32, 48, 48, 64, 0, 0, 0};
  const int wkb = blob && size >= 8 ? 8 + kEnvelopeBytes[(blob[3] >> 1) & 7] : size;
  const int axis = *static_cast<const int*>(sqlite3_user_data(context));
  if (wkb + 21 > size) return sqlite3_result_null(context);
  if (axis < 0) return sqlite3_result_int(context, 0);  // ST_IsEmpty
  double value;
  std::memcpy(&value, blob + wkb + 5 + 8 * axis, sizeof value);
  sqlite3_result_double(context, value);
}

void RegisterPointFunctions(sqlite3* db) {
  static const int kEmpty = -1, kX = 0, kY = 1;
  const std::pair<const char*, const int*> functions[] = {
      {"ST_IsEmpty", &kEmpty}, {"ST_MinX", &kX}, {"ST_MaxX", &kX}, {"ST_MinY", &kY}, {"ST_MaxY", &kY}};
  for (const auto& [name, axis] : functions)
    sqlite3_create_function(db, name, 1, SQLITE_UTF8, const_cast<int*>(axis), PointCoordinate, nullptr,
                            nullptr);
}

void Exec(sqlite3* db, const QString& sql) {
  char* error = nullptr;
  if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK)
    ADD_FAILURE() << sql.toStdString() << ": " << (error ? error : "");
  sqlite3_free(error);
}

}  // namespace

QString DatabaseFile(const QString& root) { return root + "/data/" + apptest::kCity + ".mdb"; }
QString CityFolder(const QString& root) { return root + "/map/" + apptest::kCity; }
QString LayerFile(const QString& root) { return CityFolder(root) + "/" + apptest::kCity + ".gpkg"; }
QString WorkspaceFile(const QString& root) { return CityFolder(root) + "/" + apptest::kCity + ".gst"; }

void ExecSql(const QString& file, const QString& sql) {
  sqlite3* db = nullptr;
  if (sqlite3_open(file.toUtf8().constData(), &db) == SQLITE_OK) {
    RegisterPointFunctions(db);
    Exec(db, sql);
  } else {
    ADD_FAILURE() << "cannot open " << file.toStdString();
  }
  sqlite3_close(db);
}

void ReplaceInWorkspace(const QString& root, const QString& from, const QString& to) {
  QString text = QString::fromUtf8(ReadAll(WorkspaceFile(root)));
  if (!text.contains(from)) ADD_FAILURE() << "the workspace lacks " << from.toStdString();
  WriteFile(WorkspaceFile(root), text.replace(from, to).toUtf8());
}

void AddWorkspaceLayer(const QString& root, const QString& file, const QString& layer) {
  const QString text = QString::fromUtf8(ReadAll(WorkspaceFile(root)));
  int last = 0;
  auto numbers = QRegularExpression(QStringLiteral(R"("\\TABLE\\(\d+)\\)")).globalMatch(text);
  while (numbers.hasNext()) last = std::max(last, numbers.next().captured(1).toInt());
  const QString key = QStringLiteral("\"\\TABLE\\%1\\").arg(last + 1);
  const QString lines = key + "FILE\" = \"" + file + "\"\n" + key + "LAYER\" = \"" + layer + "\"\n" + key +
                        "NAME\" = \"" + layer + "\"\n" + key + "ISVISIBLE\" = \"TRUE\"\n";
  ReplaceInWorkspace(root, QStringLiteral("end_metadata"), lines + "end_metadata");
}

void MakeFifo(const QString& path) {
  QFile::remove(path);
  if (::mkfifo(QFile::encodeName(path).constData(), 0644) != 0)
    ADD_FAILURE() << "no FIFO " << path.toStdString();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
    ADD_FAILURE() << "cannot write " << path.toStdString();
}

void LeaveRowsInWal(const QString& file, const QString& sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(file.toUtf8().constData(), &db), SQLITE_OK);
  sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
  RegisterPointFunctions(db);
  Exec(db, QStringLiteral("pragma journal_mode = wal; pragma wal_autocheckpoint = 0; ") + sql);
  sqlite3_close(db);
  EXPECT_GT(QFile(file + "-wal").size(), 0) << "the rows did not stay in the WAL file";
  QFile::remove(file + "-shm");  // a copied data set carries the log, rarely the reader's index
}

QString GeoPackagePoint(double x, double y, int srsId) {
  QByteArray blob("GP\0\1", 4);  // version 0, flags: little-endian, no envelope
  const auto append = [&blob](const auto value) {
    const auto little = qToLittleEndian(value);
    blob.append(reinterpret_cast<const char*>(&little), sizeof little);
  };
  append(static_cast<qint32>(srsId));
  blob.append('\1');                // WKB little-endian
  append(static_cast<quint32>(1));  // point
  append(x);
  append(y);
  return "X'" + QString::fromLatin1(blob.toHex()) + "'";
}

}  // namespace hostile
