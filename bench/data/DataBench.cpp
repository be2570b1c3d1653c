// The data layer's speed: the keyword search over 100,000 names, opening a city database, and
// the costliest statements on a city a hundred times the demo's size.
//   build-data/bin/data_bench --benchmark_repetitions=9 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "bench/data/CityGenerator.h"
#include "data/SqliteHandles.h"
#include "data/TextCollation.h"
#include "data/modDBAccess.h"
#include "data/modGetRecord.h"

namespace {

// The benchmark program owns the city database the routines read, as the program does.
CityDatabase benchDatabase;
const modDBAccess::CurrentCity benchCity(benchDatabase);

QTemporaryDir& Folder() {
  static QTemporaryDir folder;
  return folder;
}

// The keyword tables hold 100,000 names in all; the bus table a city's worth of stops.
const QString& KeywordCity() {
  static const QString path = [] {
    const QString file = Folder().filePath("关键字 城市.mdb");
    WriteCity(file, 100000, 2000);
    return file;
  }();
  return path;
}

void BM_FillListByKeyword(benchmark::State& state, const char* keyword) {
  if (!modDBAccess::OpenConnection(KeywordCity())) state.SkipWithError("cannot open the city");
  const QString text = QString::fromUtf8(keyword);
  TextItemList names;
  for (auto _ : state) {
    modGetRecord::FillListByKeyword(QStringLiteral("name"), text, names);
    benchmark::DoNotOptimize(names.items.size());
  }
  state.counters["names"] = double(names.items.size());
}
BENCHMARK_CAPTURE(BM_FillListByKeyword, rare, "凤鸣第一5")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FillListByKeyword, common, "东湖")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FillListByKeyword, latin, "sunny")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FillListByKeyword, none, "不存在")->Unit(benchmark::kMillisecond);

// The keyword statement on the keyword city as the program loads it (its own like(), LikePattern.h)
// and on a copy of it that has only the collation, where SQLite's own like() answers.
sqlite3* KeywordCopyWithSqlitesLike() {
  static const SqliteDb copy = []() -> SqliteDb {
    if (!modDBAccess::OpenConnection(KeywordCity())) return nullptr;
    sqlite3* raw = nullptr;
    sqlite3_open(":memory:", &raw);
    SqliteDb db(raw);
    const auto collation = [](void*, int lengthA, const void* a, int lengthB, const void* b) {
      return CompareText(std::string_view(static_cast<const char*>(a), std::size_t(lengthA)),
                         std::string_view(static_cast<const char*>(b), std::size_t(lengthB)));
    };
    if (sqlite3_create_collation_v2(raw, kTextCollation, SQLITE_UTF8, nullptr, collation, nullptr) !=
        SQLITE_OK)
      return nullptr;
    sqlite3_backup* backup = sqlite3_backup_init(raw, "main", benchDatabase.Handle(), "main");
    if (backup == nullptr || sqlite3_backup_step(backup, -1) != SQLITE_DONE) return nullptr;
    sqlite3_backup_finish(backup);
    return db;
  }();
  return copy.get();
}

void BM_KeywordLike(benchmark::State& state, const char* keyword, bool sqlitesLike) {
  sqlite3* db = sqlitesLike ? KeywordCopyWithSqlitesLike() : nullptr;
  if (!sqlitesLike && modDBAccess::OpenConnection(KeywordCity())) db = benchDatabase.Handle();
  if (db == nullptr) return state.SkipWithError("cannot open the city");
  const std::string sql =
      modGetRecord::KeywordStatement(QStringLiteral("name"), QString::fromUtf8(keyword)).toStdString();
  std::size_t rows = 0;
  for (auto _ : state) {
    const SqliteStatement statement = Prepare(db, sql);
    rows = 0;
    while (statement && sqlite3_step(statement.get()) == SQLITE_ROW) {
      benchmark::DoNotOptimize(sqlite3_column_text(statement.get(), 0));
      ++rows;
    }
  }
  state.counters["names"] = double(rows);
}
BENCHMARK_CAPTURE(BM_KeywordLike, common_ours, "东湖", false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_KeywordLike, common_sqlite, "东湖", true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_KeywordLike, latin_ours, "sunny", false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_KeywordLike, latin_sqlite, "sunny", true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_KeywordLike, none_ours, "不存在", false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_KeywordLike, none_sqlite, "不存在", true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_KeywordLike, wildcard_ours, "5%", false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_KeywordLike, wildcard_sqlite, "5%", true)->Unit(benchmark::kMillisecond);

void BM_OpenSqliteCity(benchmark::State& state) {
  const QString file = Folder().filePath("五万行城市.mdb");
  const int rows = WriteCity(file, 40000, 10000);
  for (auto _ : state) {
    if (!modDBAccess::OpenConnection(file)) state.SkipWithError("cannot open the city");
  }
  state.counters["rows"] = rows;
}
BENCHMARK(BM_OpenSqliteCity)->Unit(benchmark::kMillisecond);

// The demo city holds about 3,900 names and 4,880 stop rows; this one a hundred times as many.
// Its statements show how far the legitimate ones stay below the bound every statement runs
// under (kStatementTimeLimit), and its opening how far below the bound on loading.
const QString& HundredfoldCity() {
  static const QString path = [] {
    const QString file = Folder().filePath("百倍城市.mdb");
    WriteCity(file, 400000, 500000);
    return file;
  }();
  return path;
}

void BM_HundredfoldCityStatement(benchmark::State& state, const char* statement) {
  if (!modDBAccess::OpenConnection(HundredfoldCity())) state.SkipWithError("cannot open the city");
  const QString sql = QString::fromUtf8(statement);
  for (auto _ : state) {
    if (!modDBAccess::ExecuteQuery(sql)) state.SkipWithError("the statement failed");
  }
  state.counters["rows"] = double(modDBAccess::rsResult() ? modDBAccess::rsResult()->Rows().size() : 0);
}
BENCHMARK_CAPTURE(BM_HundredfoldCityStatement, stop_list,
                  "select Distinct 站名 , 站名 from 公交信息  order by 站名")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_HundredfoldCityStatement, line_list,
                  "select Distinct 线路名 , id from 公交信息  order by id")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_HundredfoldCityStatement, station_suggestions,
                  "select Distinct 站名 , 站名 from 公交信息  where  站名  like '%东%'  order by 站名")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_HundredfoldCityStatement, type_list,
                  "select Distinct name , name from 餐饮娱乐  order by name")
    ->Unit(benchmark::kMillisecond);

void BM_HundredfoldCityKeyword(benchmark::State& state) {
  if (!modDBAccess::OpenConnection(HundredfoldCity())) state.SkipWithError("cannot open the city");
  const QString sql = modGetRecord::KeywordStatement(QStringLiteral("name"), QStringLiteral("东"));
  for (auto _ : state) {
    if (!modDBAccess::ExecuteQuery(sql)) state.SkipWithError("the statement failed");
  }
  state.counters["rows"] = double(modDBAccess::rsResult() ? modDBAccess::rsResult()->Rows().size() : 0);
}
BENCHMARK(BM_HundredfoldCityKeyword)->Unit(benchmark::kMillisecond);

void BM_OpenHundredfoldCity(benchmark::State& state) {
  for (auto _ : state) {
    if (!modDBAccess::OpenConnection(HundredfoldCity())) state.SkipWithError("cannot open the city");
  }
}
BENCHMARK(BM_OpenHundredfoldCity)->Unit(benchmark::kMillisecond);

// The small Jet fixture: the cost of reading through the reader process.
void BM_OpenJetFile(benchmark::State& state) {
  for (auto _ : state) {
    if (!modDBAccess::OpenConnection(QStringLiteral(QIWU_DATA_FIXTURES "/node-adodb.mdb"))) {
      state.SkipWithError("cannot open the Jet file");
    }
  }
}
BENCHMARK(BM_OpenJetFile)->Unit(benchmark::kMillisecond);

}  // namespace
