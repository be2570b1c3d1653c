// The transfer search on small hand-made bus tables: every case runs through both the search
// by statements and the indexed search, and both must give the expected answer.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "bus/BusPlanText.h"
#include "bus/modBusChange.h"
#include "data/modDBAccess.h"
#include "tests/bus/BusNetworkFixture.h"
#include "tests/bus/StatementTrace.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/TestCity.h"

namespace {

using modBusChange::kSeparator;
const QString kTable = QStringLiteral("公交信息");

BusRow R(const QVariant& line, const QVariant& stop, const QVariant& position) {
  return {line, stop, position, 1};
}

// A line's rows with positions 1, 2, … in stored order.
std::vector<BusRow> Line(const QString& line, const QStringList& stops) {
  std::vector<BusRow> rows;
  for (int i = 0; i < stops.size(); ++i) rows.push_back(R(line, stops[i], i + 1));
  return rows;
}

std::vector<BusRow> Join(std::initializer_list<std::vector<BusRow>> parts) {
  std::vector<BusRow> rows;
  for (const auto& part : parts) rows.insert(rows.end(), part.begin(), part.end());
  return rows;
}

struct SearchCase {
  const char* name;
  std::vector<BusRow> rows;
  QString from;
  QString to;
  QString expected;
};

std::vector<SearchCase> Cases() {
  const QString n = QStringLiteral("\r\n");
  return {
      {"one change, worked example",
       Join({Line("3路", {"一", "甲站", "三", "四", "五", "六", "丙站", "八"}),
             Line("12路", {"壹", "贰", "叁", "丙站", "伍", "陆", "柒", "捌", "玖", "乙站"})}),
       "甲站", "乙站", "3路-->丙站 换 12路 经过 11 站" + n + kSeparator},
      {"direct lines, worked example: two blanks after a 2-character name",
       std::vector<BusRow>{R("3路", "甲站", 2), R("3路", "乙站", 8), R("12路", "乙站", 5),
                           R("12路", "甲站", 9)},
       "甲站", "乙站", "3路  直达；经过 6 站" + n + "12路 直达；经过 4 站" + n},
      {"direct lines: the spacer lines up names of 1 and of 4 or more characters",
       Join({Line("K", {"甲", "乙"}), Line("K101路", {"乙", "甲"}), Line("专线十二", {"甲", "乙"})}), "甲",
       "乙", "K   直达；经过 1 站" + n + "K101路 直达；经过 1 站" + n + "专线十二 直达；经过 1 站" + n},
      {"a loop line passing the departure twice gives two identical direct lines",
       Line("1路", {"甲", "乙", "丙", "甲"}), "甲", "乙",
       "1路  直达；经过 1 站" + n + "1路  直达；经过 1 站" + n},
      {"departure missing", Line("1路", {"甲", "乙"}), "丁", "乙", "站名输入有误！" + n + kSeparator},
      {"destination missing", Line("1路", {"甲", "乙"}), "甲", "丁", "站名输入有误！" + n + kSeparator},
      {"no pair of lines meets", Join({Line("1路", {"甲", "乙"}), Line("2路", {"丙", "丁"})}), "甲", "丁",
       "需要转车一次以上！" + n + kSeparator},
      {"plans sorted stably by the whole count: 7, 7, then 105",
       std::vector<BusRow>{R("X", "起", 1), R("Z", "起", 1), R("Y", "起", 1), R("X", "中一", 105),
                           R("Y", "中二", 6), R("Z", "中三", 5), R("W", "终", 1), R("W", "中一", 2),
                           R("W", "中二", 3), R("W", "中三", 4)},
       "起", "终",
       "Z-->中三 换 W 经过 7 站" + n + "Y-->中二 换 W 经过 7 站" + n + "X-->中一 换 W 经过 105 站" + n +
           kSeparator},
      {"lines meeting twice change at the first meeting stop along the first line",
       Join({Line("A", {"起", "甲", "乙"}), Line("B", {"乙", "甲", "终"})}), "起", "终",
       "A-->甲 换 B 经过 2 站" + n + kSeparator},
      {"an empty position counts as 0",
       std::vector<BusRow>{R("1路", "甲", QVariant()), R("1路", "乙", 5), R("2路", "丙", QString()),
                           R("2路", "丁", 3)},
       "甲", "乙", "1路  直达；经过 5 站" + n},
      {"a position given as text counts by its leading number",
       std::vector<BusRow>{R("1路", "甲", QStringLiteral(" 4号")), R("1路", "乙", QStringLiteral("12"))},
       "甲", "乙", "1路  直达；经过 8 站" + n},
      {"positions beyond 16 bits", std::vector<BusRow>{R("1路", "甲", 1), R("1路", "乙", 40000)}, "甲", "乙",
       "1路  直达；经过 39999 站" + n},
      {"names with an apostrophe are found", Line("1路", {"Tony's店", "乙"}), "Tony's店", "乙",
       "1路  直达；经过 1 站" + n},
      {"a typed name matches its stop whatever the Latin case", Line("1路", {"PARK1", "乙"}), "park1", "乙",
       "1路  直达；经过 1 站" + n},
      // K1 and k1 are different lines to the search, the same line to the database's =.
      {"lines differing in Latin case are one line to the lookups",
       std::vector<BusRow>{R("K1", "起", 1), R("K1", "中", 2), R("k1", "中", 1), R("k1", "终", 2)}, "起",
       "终", "K1-->起 换 k1 经过 1 站" + n + kSeparator},
      {"a stop list with no row ends the search with an empty answer",
       std::vector<BusRow>{R(QVariant(), "起", 1), R("1路", "终", 1), R("1路", "中", 2)}, "起", "终", ""},
  };
}

using SearchFn = QString (*)(const QString&, const QString&, const QString&);
const std::pair<const char*, SearchFn> kSearches[] = {
    {"by statements", &modBusChange::FindBusChangeByQueries}, {"indexed", &modBusChange::FindBusChange}};

TEST(FindBusChange, AnswersEachCaseLikeThePlanText) {
  for (const SearchCase& c : Cases()) {
    BusDatabase database(c.rows);
    ASSERT_TRUE(database.Open()) << c.name;
    for (const auto& [how, search] : kSearches) {
      MessageRecorder messages;
      EXPECT_EQ(search(c.from, c.to, kTable), c.expected) << c.name << " (" << how << ")";
      EXPECT_TRUE(messages.Messages().empty()) << c.name << " (" << how << ")";
    }
  }
}

// The statements in their order, the names quoted by doubling apostrophes; a wrong departure
// never queries the destination.
TEST(FindBusChange, IssuesTheStatementsInTheirOrder) {
  const auto linesAt = [](const QString& stop) {
    return "select 线路名  from 公交信息 where 站名 = '" + stop + "' ";
  };
  const struct {
    std::vector<BusRow> rows;
    QString from, to;
    QStringList statements;
  } cases[] = {
      {Cases()[0].rows, "甲站", "乙站",
       QStringList{linesAt("甲站"), linesAt("乙站"),
                   "select 顺序 from 公交信息 where 站名='甲站' and 线路名='3路'",
                   "select 顺序 from 公交信息 where 站名='乙站' and 线路名='12路'",
                   "select 站名  from 公交信息 where 线路名 = '3路' ",
                   "select 站名  from 公交信息 where 线路名 = '12路' ",
                   "select 顺序 from 公交信息 where 站名='丙站' and 线路名='3路'",
                   "select 顺序 from 公交信息 where 站名='丙站' and 线路名='12路'"}},
      {Line("1路", {"甲", "乙"}), "丁", "乙", QStringList{linesAt("丁")}},
      {Line("1路", {"Tony's店", "乙"}), "Tony's店", "丁", QStringList{linesAt("Tony''s店"), linesAt("丁")}},
  };
  for (const auto& c : cases) {
    BusDatabase database(c.rows);
    ASSERT_TRUE(database.Open());
    StatementTrace trace;
    modBusChange::FindBusChangeByQueries(c.from, c.to, kTable);
    EXPECT_EQ(trace.Statements(), c.statements);
  }
}

TEST(FindBusChange, TheIndexIsReadOncePerConnection) {
  BusDatabase first(Line("1路", {"甲", "乙"}));
  BusDatabase second(Line("2路", {"甲", "丙", "乙"}));
  ASSERT_TRUE(first.Open());
  {
    StatementTrace trace;
    EXPECT_EQ(modBusChange::FindBusChange("甲", "乙", kTable), "1路  直达；经过 1 站\r\n");
    EXPECT_EQ(modBusChange::FindBusChange("乙", "甲", kTable), "1路  直达；经过 1 站\r\n");
    EXPECT_EQ(trace.Statements(), QStringList({"select 线路名, 站名, 顺序 from 公交信息"}));
  }
  ASSERT_TRUE(second.Open());
  EXPECT_EQ(modBusChange::FindBusChange("甲", "乙", kTable), "2路  直达；经过 2 站\r\n");
}

// Failures show the same boxes, in the same order, whichever search runs.
TEST(FindBusChange, FailedQueriesShowTheSameBoxesBothWays) {
  std::vector<BusRow> rows = Line("1路", {"甲", "乙"});
  BusDatabase database(rows);
  BusDatabase withoutPositions(rows, QStringLiteral("公交信息"), /*withPositions=*/false);
  struct FailureCase {
    const char* name;
    const BusDatabase& database;
    QString table;
    QString expected;
    int boxes;
  };
  const FailureCase cases[] = {
      {"table missing", database, "无此表", "", 2},
      {"position column missing: every lookup fails and counts as 0", withoutPositions, kTable,
       "1路  直达；经过 0 站\r\n", 4},
  };
  for (const FailureCase& c : cases) {
    ASSERT_TRUE(c.database.Open()) << c.name;
    std::vector<std::vector<qiwu::Message>> shown;
    for (const auto& [how, search] : kSearches) {
      MessageRecorder messages;
      EXPECT_EQ(search("甲", "乙", c.table), c.expected) << c.name << " (" << how << ")";
      shown.push_back(messages.Messages());
    }
    ASSERT_EQ(shown[0].size(), std::size_t(c.boxes)) << c.name;
    ASSERT_EQ(shown[1].size(), shown[0].size()) << c.name;
    for (std::size_t i = 0; i < shown[0].size(); ++i) {
      const bool databaseBox = i % 2 == 0;
      EXPECT_EQ(shown[0][i].title, databaseBox ? "打开数据库错误" : "运行错误") << c.name;
      EXPECT_EQ(shown[0][i].icon, qiwu::MsgIcon::Critical) << c.name;
      if (databaseBox) {
        EXPECT_TRUE(shown[0][i].text.startsWith("错误描述：")) << c.name;
      } else {
        EXPECT_EQ(shown[0][i].text, "运行时错误...") << c.name;
      }
      EXPECT_EQ(shown[1][i].text, shown[0][i].text) << c.name;
      EXPECT_EQ(shown[1][i].title, shown[0][i].title) << c.name;
    }
  }
}

// Names and table names that the index does not try to match itself: the statements answer,
// with whatever boxes they show, the same both ways.
TEST(FindBusChange, UnusualNamesGetTheSameAnswerBothWays) {
  BusDatabase database(Line("1路", {"甲", "乙"}));
  ASSERT_TRUE(database.Open());
  const struct {
    QString from, to, table;
  } cases[] = {
      {QStringLiteral("甲") + QChar(u'\0'), "乙", kTable},
      {"甲", QString(QChar(0xD800)), kTable},
      {"甲", "乙", "公交信息 where 1=1"},
      {"甲", "乙", "\"公交信息\""},
  };
  for (const auto& c : cases) {
    MessageRecorder byStatements;
    const QString expected = modBusChange::FindBusChangeByQueries(c.from, c.to, c.table);
    const QStringList expectedTexts = byStatements.Texts();
    byStatements.Clear();
    EXPECT_EQ(modBusChange::FindBusChange(c.from, c.to, c.table), expected) << c.table.toStdString();
    EXPECT_EQ(byStatements.Texts(), expectedTexts) << c.table.toStdString();
  }
}

// Stored values the index cannot match as the statements would (bytes that are not UTF-8 read
// back as U+FFFD, a NUL inside a text, bytes where a name belongs, a fraction for a position):
// the statements answer, the names typed as the rows read back.
TEST(FindBusChange, StoredValuesTheIndexCannotMatchLeaveTheAnswerToTheStatements) {
  const struct {
    const char* name;
    const char* line;  // SQL values of the row of 1路's first stop
    const char* stop;
    const char* position;
  } cases[] = {
      {"a stop name that is not UTF-8", "'1路'", "cast(x'e794b2ff' as text)", "1"},
      {"a stop name holding NUL", "'1路'", "cast(x'e794b200e794b2' as text)", "1"},
      {"a line name stored as bytes", "x'31e8b7af'", "'甲'", "1"},
      {"a position that is a fraction", "'1路'", "'甲'", "1.5"},
  };
  for (const auto& c : cases) {
    QTemporaryDir dir;
    const QString path = dir.filePath("bus.db");
    testcity::WriteSql(
        path,
        {"create table 公交信息 (线路名 text, 站名 text, 顺序, ID integer)",
         QString("insert into 公交信息 values (%1, %2, %3, 1)").arg(c.line, c.stop, c.position),
         "insert into 公交信息 values ('1路', '乙', 4, 2)", "insert into 公交信息 values ('2路', '乙', 1, 3)",
         "insert into 公交信息 values ('2路', '丙', 2, 4)"});
    ASSERT_TRUE(modDBAccess::OpenConnection(path)) << c.name;
    Outcome error;
    const auto rows = modDBAccess::cnnCity->Query("select 站名 from 公交信息 where ID = 1", error);
    ASSERT_TRUE(rows) << c.name;
    const QString typed = rows->Rows().at(0).at(0).toString();
    for (const QString& to : {QStringLiteral("乙"), QStringLiteral("丙")}) {
      MessageRecorder messages;
      const QString expected = modBusChange::FindBusChangeByQueries(typed, to, kTable);
      const QStringList expectedTexts = messages.Texts();
      messages.Clear();
      EXPECT_EQ(modBusChange::FindBusChange(typed, to, kTable).toStdString(), expected.toStdString())
          << c.name;
      EXPECT_EQ(messages.Texts(), expectedTexts) << c.name;
    }
  }
}

}  // namespace
