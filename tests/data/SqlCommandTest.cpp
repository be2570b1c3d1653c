// qiwu-cli sql: one statement that reads, and a city read whole from a read-only mount.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QTemporaryDir>

#include "tests/data/CityFixture.h"
#include "tests/support/CliRun.h"

namespace {

CliRun Sql(const QString& database, const QString& statement) {
  return RunProgram(QStringLiteral(QIWU_CLI), {"--db", database, "sql", statement});
}

TEST(SqlCommand, RunsExactlyOneStatementThatOnlyReads) {
  QTemporaryDir dir;
  const QString path = WriteJournalledCity(dir.path(), "DELETE", false);
  const struct {
    QString statement;
    int exitCode;
    QByteArray out, err;
  } cases[] = {
      {"select v from t; -- the rows", 0, "v\n1\n2\n", ""},
      {"select v from t; drop table t", 1, "", "一次只能运行一条语句"},
      {"vacuum into '" + dir.filePath("copy.db") + "'", 1, "", "只能运行读取数据的语句"},
      {"pragma query_only = 0", 1, "", "只能运行读取数据的语句"},
  };
  const QMap<QString, QByteArray> before = Fingerprint(dir.path());
  for (const auto& c : cases) {
    const CliRun run = Sql(path, c.statement);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.statement.toStdString();
    EXPECT_EQ(run.out, c.out) << c.statement.toStdString();
    EXPECT_TRUE(run.err.contains(c.err)) << run.err.toStdString();
  }
  EXPECT_EQ(Fingerprint(dir.path()), before);
}

// As root the data set is bind-mounted read-only in a private mount namespace; as another user
// its files and folder lose their write permission.
TEST(SqlCommand, ReadsEveryRowFromAReadOnlyDataSetInAnyJournalMode) {
  for (const bool keepWal : {false, true}) {
    QTemporaryDir dir;
    const QString path = WriteJournalledCity(dir.path(), "WAL", keepWal);
    const QMap<QString, QByteArray> before = Fingerprint(dir.path());
    const QString statement = QStringLiteral("select group_concat(v) as rows from t");
    CliRun run;
    if (::geteuid() == 0) {
      const QString script =
          QStringLiteral("mount --bind -o ro \"$1\" \"$1\" && exec \"$2\" --db \"$3\" sql \"$4\"");
      run = RunProgram("unshare", {"-m", "sh", "-c", script, "sh", dir.path(), QIWU_CLI, path, statement});
      if (run.err.contains("mount") || run.err.contains("unshare"))
        GTEST_SKIP() << "no read-only mount here: " << run.err.toStdString();
    } else {
      for (const QString& file : before.keys()) QFile::setPermissions(dir.filePath(file), QFile::ReadOwner);
      QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
      run = Sql(path, statement);
      QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "rows\n1,2\n") << "with -wal: " << keepWal;
    EXPECT_EQ(Fingerprint(dir.path()), before);
  }
}

}  // namespace
