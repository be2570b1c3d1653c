// The indexed search against the search by statements on many random pairs: the answers and
// the message boxes must be the same, pair by pair.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QFileInfo>
#include <map>

#include "bus/BusPlanText.h"
#include "bus/modBusChange.h"
#include "data/SqliteGuards.h"
#include "data/modDBAccess.h"
#include "tests/bus/BusNetworkFixture.h"
#include "tests/support/MessageRecorder.h"

namespace {

const QString kTable = QStringLiteral("公交信息");

QString ShapeOf(const QString& answer) {
  if (answer.isEmpty()) return QStringLiteral("empty");
  if (answer == modBusChange::WrongNameAnswer()) return QStringLiteral("wrong name");
  if (answer == modBusChange::TooFarAnswer()) return QStringLiteral("too far");
  if (answer.endsWith(modBusChange::kSeparator)) return QStringLiteral("one change");
  return QStringLiteral("direct");
}

bool SameMessages(const std::vector<qiwu::Message>& a, const std::vector<qiwu::Message>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](const qiwu::Message& x, const qiwu::Message& y) {
                      return x.text == y.text && x.title == y.title && x.icon == y.icon;
                    });
}

// Compares both searches on every pair; returns how many answers of each shape came.
std::map<QString, int> ExpectSameAnswers(const std::vector<std::pair<QString, QString>>& pairs) {
  std::map<QString, int> shapes;
  int mismatches = 0;
  for (const auto& [from, to] : pairs) {
    MessageRecorder messages;
    const QString expected = modBusChange::FindBusChangeByQueries(from, to, kTable);
    const std::vector<qiwu::Message> expectedMessages = messages.Messages();
    messages.Clear();
    const QString answer = modBusChange::FindBusChange(from, to, kTable);
    ++shapes[ShapeOf(expected)];
    if (answer == expected && SameMessages(messages.Messages(), expectedMessages)) continue;
    ADD_FAILURE() << from.toStdString() << " → " << to.toStdString() << "\nby statements:\n"
                  << expected.toStdString() << "\nindexed:\n"
                  << answer.toStdString();
    if (++mismatches == 10) break;
  }
  return shapes;
}

// The search by statements scans the whole table for every statement, dozens per search. For
// 10,000 pairs the test gives the in-memory copy indexes on 站名 and 线路名: an index orders rows
// with keys equal under the column's collation by rowid, so each statement returns the same rows
// in the same stored order, only sooner. The first pairs run without them as a check.
void AddLookupIndexes() {
  sqlite3* db = modDBAccess::cnnCity->Handle();
  sqlite3_set_authorizer(db, nullptr, nullptr);  // the copy allows only reading; the test lifts that
  for (const char* sql : {"PRAGMA query_only = 0", "create index 站名索引 on 公交信息 (站名)",
                          "create index 线路名索引 on 公交信息 (线路名)", "PRAGMA query_only = 1"}) {
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
  }
  AllowReadingOnly(db);
}

std::map<QString, int> ExpectSameAnswersOnAllPairs(const std::vector<std::pair<QString, QString>>& pairs) {
  constexpr std::size_t kWithoutIndexes = 200;
  ExpectSameAnswers({pairs.begin(), pairs.begin() + std::min(pairs.size(), kWithoutIndexes)});
  AddLookupIndexes();
  return ExpectSameAnswers(pairs);
}

TEST(BusEquivalence, GeneratedNetworkWithQuirks) {
  const std::vector<BusRow> rows =
      GenerateNetwork({.lines = 2000, .stopsPerLine = 6, .gridSide = 60, .seed = 7});
  BusDatabase database(rows);
  ASSERT_TRUE(database.Open());
  const std::map<QString, int> shapes = ExpectSameAnswersOnAllPairs(RandomPairs(StopNames(rows), 10000, 11));
  for (const char* shape : {"direct", "one change", "too far", "wrong name"}) {
    EXPECT_GT(shapes.count(shape) ? shapes.at(shape) : 0, 0) << shape;
  }
}

TEST(BusEquivalence, DemoCity) {
  const QString path = QStringLiteral(QIWU_PROGRAM_DIR "/data/栖坞市.mdb");
  if (!QFileInfo::exists(path)) GTEST_SKIP() << "no demo city at " << path.toStdString();
  ASSERT_TRUE(modDBAccess::OpenConnection(path));
  ASSERT_TRUE(modDBAccess::ExecuteQuery("select Distinct 站名 , 站名 from 公交信息  order by 站名"));
  QStringList stops;
  ResultSet& result = *modDBAccess::rsResult();
  for (result.MoveFirst(); !result.AtEnd(); result.MoveNext()) stops << result.Field("站名")->toString();
  ASSERT_GT(stops.size(), 1);
  const std::map<QString, int> shapes = ExpectSameAnswersOnAllPairs(RandomPairs(stops, 10000, 13));
  EXPECT_GT(shapes.count("direct") ? shapes.at("direct") : 0, 0);
}

}  // namespace
