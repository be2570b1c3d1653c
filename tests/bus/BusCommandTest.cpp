// qiwu-cli bus on a small bus table: the plan text byte for byte, batches, failures.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "tests/bus/BusNetworkFixture.h"
#include "tests/support/CliRun.h"

namespace {

CliRun Cli(const QStringList& args) { return RunProgram(QStringLiteral(QIWU_CLI), args); }

std::vector<BusRow> Network() {
  return {{"3路", "甲站", 2, 1},
          {"3路", "乙站", 8, 1},
          {"3路", "丙站", 9, 1},
          {"12路", "丙站", 4, 2},
          {"12路", "丁站", 10, 2}};
}

TEST(BusCommand, PrintsThePlanTextExactly) {
  BusDatabase database(Network());
  const struct {
    QString from, to;
    QByteArray out;
  } cases[] = {
      {"甲站", "乙站", "3路  直达；经过 6 站\r\n"},
      {"甲站", "丁站", "3路-->丙站 换 12路 经过 13 站\r\n======***======*****======***======"},
      {"甲站", "无此站", "站名输入有误！\r\n======***======*****======***======"},
  };
  for (const auto& c : cases) {
    const CliRun run = Cli({"--db", database.Path(), "bus", c.from, c.to});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, c.out);
  }
}

TEST(BusCommand, BatchAnswersAreSeparatedByAFormFeedLine) {
  BusDatabase database(Network());
  QTemporaryDir dir;
  QFile batch(dir.filePath("pairs.txt"));
  ASSERT_TRUE(batch.open(QIODevice::WriteOnly));
  batch.write("甲站\t乙站\r\n甲站\t无此站\n\n乙站\t甲站\n");
  batch.close();
  const CliRun run = Cli({"--db", database.Path(), "bus", "--batch", batch.fileName()});
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_EQ(run.out,
            "3路  直达；经过 6 站\r\n\n\f\n站名输入有误！\r\n======***======*****======***======\n\f\n"
            "3路  直达；经过 6 站\r\n");
}

TEST(BusCommand, FailuresGoToStandardError) {
  BusDatabase otherTable(Network(), "其他表");
  QTemporaryDir dir;
  const struct {
    QStringList args;
    int exitCode;
    QByteArray err;
  } cases[] = {
      // The bus panel's refusals, before any query.
      {{"--db", otherTable.Path(), "bus", "甲站", "甲站"}, 1, "公交查询: 出发站名与目的站名相同"},
      {{"--db", otherTable.Path(), "bus", "", "乙站"}, 1, "公交查询: 请输入站名"},
      {{"--db", otherTable.Path(), "bus", "甲站", ""}, 1, "公交查询: 请输入站名"},
      {{"--db", otherTable.Path(), "bus", "甲站", "乙站"}, 1, "运行时错误..."},
      {{"--db", otherTable.Path(), "bus", "--batch", dir.filePath("absent.txt")}, 2, "cannot read"},
      // An endless line is refused once it passes the longest a line may be.
      {{"--db", otherTable.Path(), "bus", "--batch", "/dev/zero"}, 2, "line longer than 4096 bytes"},
      {{"--db", dir.filePath("absent.mdb"), "bus", "甲站", "乙站"}, 1, "错误描述："},
  };
  for (const auto& c : cases) {
    const CliRun run = Cli(c.args);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.args.join(' ').toStdString();
    EXPECT_TRUE(run.err.contains(c.err)) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
  }
}

}  // namespace
