#include "tests/data/CityFixture.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QFile>

#include "data/modDBAccess.h"

QStringList SmallCityStatements() {
  QStringList statements{
      "CREATE TABLE 公交信息 (线路名 TEXT, 站名 TEXT, 顺序 INTEGER, ID INTEGER)",
      // Stored out of 顺序 order on purpose: queries without order by keep this order.
      "INSERT INTO 公交信息 VALUES ('2路', '北门', 2, 20), ('2路', '南门', 1, 20), ('1路', '南门', 1, 10),"
      " ('1路', '西市', 2, 10), ('1路', '北门', 3, 10), ('K1路', '东站', 1, 5)",
      "CREATE TABLE 地物类型 (typeName TEXT, type TEXT)",
      "INSERT INTO 地物类型 VALUES ('餐饮娱乐', '点'), ('主干道', '线'), ('医院诊所', '点'),"
      " ('医院诊所', '点'), ('大中专院校', '点'), ('支路', '线')",
      "CREATE TABLE 餐饮娱乐 (name TEXT, linkman TEXT, tel TEXT, address TEXT, web TEXT)",
      "INSERT INTO 餐饮娱乐 VALUES ('Tony''s 西餐厅', '托尼', '0571-1234', '中山路 1 号', "
      "'http://tony.example'), ('老张面馆', NULL, '0571-5678', '北门外', NULL), ('PIZZA 小屋', '王五', "
      "NULL, NULL, NULL), ('五折%优惠店', NULL, NULL, NULL, NULL), ('五折优惠店', NULL, NULL, NULL, NULL)",
      "CREATE TABLE 主干道 (name TEXT)",
      "INSERT INTO 主干道 VALUES ('中山路'), ('老张面馆'), ('A_B路'), ('AXB路')",
  };
  for (const char* table : {"大中专院校", "旅游景点", "医院诊所", "金融银行", "次干道", "支路"}) {
    statements << QStringLiteral("CREATE TABLE %1 (name TEXT)").arg(QString::fromUtf8(table));
  }
  statements << "INSERT INTO 医院诊所 VALUES ('北门医院'), ('pizza 诊所'), ('pizza 小屋')"
             << "INSERT INTO 旅游景点 VALUES ('北门'), ('阿房宫'), ('八达岭'), ('长城'), ('Zoo'), ('apple园')"
             << "INSERT INTO 支路 VALUES ('南门巷'), ('东门巷')";
  return statements;
}

namespace {
void Exec(sqlite3* db, const QByteArray& sql) {
  EXPECT_EQ(sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK) << sql.constData();
}
}  // namespace

QString WriteJournalledCity(const QString& folder, const char* journalMode, bool keepWal) {
  QTemporaryDir work;
  const QString written = work.filePath("city.mdb");
  const QString path = folder + "/city.mdb";
  sqlite3* db = nullptr;
  sqlite3_open(written.toUtf8().constData(), &db);
  Exec(db, QByteArray("PRAGMA journal_mode = ") + journalMode);
  Exec(db, "PRAGMA wal_autocheckpoint = 0; CREATE TABLE t (v INTEGER); INSERT INTO t VALUES (1)");
  Exec(db, "PRAGMA wal_checkpoint(TRUNCATE); INSERT INTO t VALUES (2)");
  // Copied while the writer still holds them: closing would checkpoint row 2 and remove the -wal.
  if (keepWal) {
    QFile::copy(written, path);
    QFile::copy(written + "-wal", path + "-wal");
  }
  sqlite3_close(db);
  if (!keepWal) QFile::copy(written, path);
  return path;
}

QString JetFixturePath() { return QStringLiteral(QIWU_DATA_FIXTURES "/node-adodb.mdb"); }

void SmallCityTest::SetUp() {
  const QString path = dir.filePath("栖坞市.mdb");
  testcity::WriteSql(path, SmallCityStatements());
  ASSERT_TRUE(modDBAccess::OpenConnection(path));
}
