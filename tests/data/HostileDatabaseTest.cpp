// City databases made by an attacker: texts in the file never run as statements, the copy only
// reads, names from the data are checked before they become table names, no statement runs
// for ever.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QDir>
#include <QTemporaryDir>

#include "data/modDBAccess.h"
#include "data/modGetRecord.h"
#include "tests/data/CityFixture.h"
#include "tests/support/MessageRecorder.h"

namespace {

// "typeof:quote" of every value of column c of table t, as SQLite itself stored them.
QStringList StoredValues(sqlite3* db, const QString& column) {
  QStringList values;
  sqlite3_stmt* statement = nullptr;
  const QByteArray sql = ("select typeof(" + column + ") || ':' || quote(" + column + ") from t").toUtf8();
  EXPECT_EQ(sqlite3_prepare_v2(db, sql.constData(), -1, &statement, nullptr), SQLITE_OK);
  while (sqlite3_step(statement) == SQLITE_ROW)
    values << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
  sqlite3_finalize(statement);
  return values;
}

TEST(HostileDatabase, DeclaredTypesKeepTheirAffinityAndAreNeverRun) {
  QTemporaryDir dir;
  const QString evil = dir.filePath("evil.db");
  const QStringList types{
      "INT",
      "VARCHAR(10)",
      "CLOB",
      "BLOB",
      "",
      "REAL",
      "FLOATING POINT",
      "DOUBLE",
      "DECIMAL(5,2)",
      "BOOLEAN",
      "CHARINT",
      "BLOBREAL",
      "TEXTBLOB",
      "x); COMMIT; ATTACH '" + evil + "' AS p; CREATE TABLE p.x(y); BEGIN; CREATE TABLE main.zz (q"};
  QStringList columns;
  for (int i = 0; i < types.size(); ++i)
    columns << QStringLiteral("c%1").arg(i) + (types[i].isEmpty() ? QString() : " \"" + types[i] + '"');
  const QString path = dir.filePath("city.mdb");
  QStringList statements{"CREATE TABLE t (" + columns.join(", ") + ")"};
  for (const char* value : {"'12'", "12", "2.0", "'abc'", "x'00ff'", "NULL"})
    statements << "INSERT INTO t VALUES (" + QStringList(types.size(), value).join(", ") + ")";
  testcity::WriteSql(path, statements);

  MessageRecorder recorder;
  ASSERT_TRUE(modDBAccess::OpenConnection(path)) << recorder.Texts().join('\n').toStdString();
  EXPECT_FALSE(QFile::exists(evil));
  EXPECT_FALSE(modDBAccess::cnnCity->HasTable("zz"));
  sqlite3* file = nullptr;
  ASSERT_EQ(sqlite3_open_v2(path.toUtf8().constData(), &file, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  for (int i = 0; i < types.size(); ++i) {
    const QString column = QStringLiteral("c%1").arg(i);
    EXPECT_EQ(StoredValues(modDBAccess::cnnCity->Handle(), column), StoredValues(file, column))
        << types[i].toStdString();
  }
  sqlite3_close(file);
}

using CityCopy = SmallCityTest;

TEST_F(CityCopy, OnlyOneStatementThatReadsRunsAndNoneRunsForEver) {
  const struct {
    QString sql;
    const char* failure;  // a part of the description; null: the statement runs
  } cases[] = {
      {"select count(*) from 支路; -- one statement, then a comment", nullptr},
      {"select 1; delete from 支路", "一次只能运行一条语句"},
      {"attach '" + dir.filePath("attached.db") + "' as a", "只能运行读取数据的语句"},
      {"vacuum into '" + dir.filePath("vacuumed.db") + "'", "只能运行读取数据的语句"},
      {"pragma query_only = 0", "只能运行读取数据的语句"},
      {"create temp table scratch (x)", "只能运行读取数据的语句"},
      {"select load_extension('libm.so.6')", "load_extension"},
      {"with recursive c(i) as (select 1 union all select i + 1 from c) select count(*) from c", "已被中止"},
  };
  const QMap<QString, QByteArray> before = Fingerprint(dir.path());
  for (const auto& c : cases) {
    recorder.Clear();
    EXPECT_EQ(modDBAccess::ExecuteQuery(c.sql), c.failure == nullptr) << c.sql.toStdString();
    if (c.failure == nullptr) continue;
    ASSERT_EQ(recorder.Messages().size(), 1u) << c.sql.toStdString();
    EXPECT_TRUE(recorder.Messages()[0].text.contains(QString::fromUtf8(c.failure)))
        << recorder.Messages()[0].text.toStdString();
  }
  EXPECT_EQ(Fingerprint(dir.path()), before);
  ASSERT_TRUE(modDBAccess::ExecuteQuery("select count(*) as n from 支路"));
  EXPECT_EQ(modDBAccess::rsResult()->Field("n")->toInt(), 2);
}

TEST(HostileDatabase, ANameFromTheDataIsATableOnlyWhenTheDatabaseHasThatPlainName) {
  // Run as a statement, this type name would never end: "select Distinct name , name from " + it.
  const QString query =
      "x union select 1, 1 from (with recursive c(i) as (select 1 union all select i+1 from c) select i from "
      "c)";
  QTemporaryDir dir;
  const QString path = dir.filePath("city.mdb");
  // A table even carries the query's text as its name, so only its form gives it away.
  testcity::WriteSql(path, SmallCityStatements() << "CREATE TABLE x (name TEXT)"
                                                 << "CREATE TABLE \"" + query + "\" (name TEXT)"
                                                 << "INSERT INTO 地物类型 VALUES ('" + query + "', '点')"
                                                 << "CREATE TABLE Shops (name TEXT)"
                                                 << "INSERT INTO Shops VALUES ('小店')");
  MessageRecorder recorder;
  ASSERT_TRUE(modDBAccess::OpenConnection(path));
  const struct {
    QString table;
    QStringList items;  // "old": refused
  } cases[] = {
      {query, {"old"}},           {"无此表", {"old"}},
      {"main.餐饮娱乐", {"old"}}, {"餐饮娱乐 where 1 = 1 or name", {"old"}},
      {"shops", {"小店"}},
  };
  for (const auto& c : cases) {
    recorder.Clear();
    RecordingList list;
    list.items = QStringList{"old"};
    modGetRecord::FillList(c.table, "name", list, "", "name", true, false);
    EXPECT_EQ(list.items, c.items) << c.table.toStdString();
    if (c.items == QStringList{"old"}) {
      ASSERT_EQ(recorder.Texts().size(), 2) << c.table.toStdString();
      EXPECT_TRUE(recorder.Texts()[0].contains("数据库中没有名为")) << recorder.Texts()[0].toStdString();
      EXPECT_EQ(recorder.Texts()[1], "运行时错误...");
      EXPECT_FALSE(modDBAccess::rsResult());
      EXPECT_EQ(modGetRecord::GetFieldValue(c.table, "name", ""), "");
    }
  }
}

}  // namespace
