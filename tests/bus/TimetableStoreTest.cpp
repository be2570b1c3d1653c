// The timetable tables: what the writer stores the reader gives back, from random timetables of
// every shape; what the writer cannot have written the reader refuses.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QTemporaryDir>
#include <map>

#include "bus/TimetableRead.h"
#include "data/CityVocabulary.h"
#include "dataset/Writers.h"
#include "tests/support/RandomTimetable.h"
#include "tests/support/TimetableText.h"

namespace {

using testtimetable::RandomTimetable;
using testtimetable::TimetableText;

// A city holding only a timetable, written into a fresh folder; edits run on the file before
// the database is opened.
class StoredCity {
 public:
  explicit StoredCity(citygen::Timetable timetable) {
    city_.name = "时刻市";
    city_.timetable = std::move(timetable);
    path_ = folder_.filePath("city.mdb");
    written_ = citygen::WriteDatabase(city_, path_.toStdString());
  }

  const citygen::City& City() const { return city_; }
  const std::string& WriteError() const { return written_; }

  void Edit(const std::string& sql) const {
    sqlite3* db = nullptr;
    sqlite3_open(path_.toUtf8().constData(), &db);
    char* message = nullptr;
    const int status = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
    EXPECT_EQ(status, SQLITE_OK) << sql << ": " << (message ? message : "");
    sqlite3_free(message);
    sqlite3_close(db);
  }

  // The first column of the rows of sql, as text.
  std::vector<std::string> Column(const std::string& sql) const {
    sqlite3* db = nullptr;
    sqlite3_open(path_.toUtf8().constData(), &db);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr);
    std::vector<std::string> values;
    while (statement && sqlite3_step(statement) == SQLITE_ROW) {
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
      values.emplace_back(text ? text : "");
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return values;
  }

  citygen::Timetable Read(QString& error) const {
    CityDatabase db;
    Outcome outcome;
    if (!db.Open(path_, outcome)) {
      error = outcome.description;
      return {};
    }
    return trip::ReadTimetable(db, error);
  }

 private:
  QTemporaryDir folder_;
  citygen::City city_;
  QString path_;
  std::string written_;
};

struct ShapeCase {
  const char* name;
  testtimetable::Shape shape;
};

testtimetable::Shape With(void (*change)(testtimetable::Shape&)) {
  testtimetable::Shape shape;
  change(shape);
  return shape;
}

const ShapeCase kShapes[] = {
    {"default", {}},
    {"one platform pair, one line",
     With([](auto& s) { s.platforms = 2, s.lines = 1, s.tripsPerPattern = 1; })},
    {"nothing placed", With([](auto& s) { s.unplaced = 1; })},
    {"every trip by frequency and with rules", With([](auto& s) { s.byFrequency = 1, s.withRules = 1; })},
    {"all past midnight", With([](auto& s) { s.pastMidnight = 1; })},
    {"many platforms (varints of two bytes)", With([](auto& s) { s.platforms = 400, s.lines = 30; })},
    {"one service", With([](auto& s) { s.services = 1; })},
    {"no time zone", With([](auto& s) { s.timeZone.clear(); })},
};

TEST(TimetableStore, RandomTimetablesComeBackAsWritten) {
  for (const ShapeCase& shape : kShapes) {
    for (std::uint64_t seed = 1; seed <= 5; ++seed) {
      const StoredCity stored(RandomTimetable(seed, shape.shape));
      ASSERT_EQ(stored.WriteError(), "") << shape.name;
      QString error;
      const citygen::Timetable back = stored.Read(error);
      EXPECT_EQ(error, QString()) << shape.name << " seed " << seed;
      EXPECT_THAT(TimetableText(back),
                  testing::ContainerEq(TimetableText(stored.City().timetable, stored.City().origin)))
          << shape.name << " seed " << seed;
    }
  }
}

// Trips of one stop pattern follow each other by their first departure, so that a search can
// take a pattern's trips as one sorted run.
TEST(TimetableStore, TripsOfAPatternFollowEachOtherByFirstDeparture) {
  const StoredCity stored(RandomTimetable(7));
  QString error;
  const citygen::Timetable back = stored.Read(error);
  ASSERT_FALSE(back.Empty()) << error.toStdString();
  std::map<std::vector<int>, std::size_t> lastOfPattern;
  for (std::size_t t = 0; t < back.trips.size(); ++t) {
    std::vector<int> pattern;
    for (const citygen::Call& call : back.trips[t].calls) pattern.push_back(call.platform);
    const auto found = lastOfPattern.find(pattern);
    if (found != lastOfPattern.end()) {
      EXPECT_EQ(found->second, t - 1) << back.trips[t].id << " is apart from its pattern's other trips";
      EXPECT_LE(back.trips[t - 1].calls[0].departure, back.trips[t].calls[0].departure) << back.trips[t].id;
    }
    lastOfPattern[pattern] = t;
  }
}

TEST(TimetableStore, ACityWithoutTimetableHasNoTablesAndReadsEmpty) {
  StoredCity stored({});
  ASSERT_EQ(stored.WriteError(), "");
  QString error;
  EXPECT_TRUE(stored.Read(error).Empty());
  EXPECT_EQ(error, QString());
  EXPECT_EQ(stored.Column("select name from sqlite_master where name like '时刻%' or name = '城市信息'"),
            std::vector<std::string>());
}

// A timetable of two calls at platforms 0 and 2 of three, every packed value one byte: times
// 0a 00 0a 05 (arrive 10, no dwell, 10 s on, 5 s there), rules 01 04.
citygen::Timetable Small() {
  citygen::Timetable timetable;
  timetable.timeZone = "Asia/Shanghai";
  for (int k = 0; k < 3; ++k)
    timetable.platforms.push_back({"f:p" + std::to_string(k), "站", k != 1, {1.5, 2.5}});
  citygen::Trip trip{"f:t", "1路", "f:s", "", {}};
  trip.calls = {{0, 10, 10, 1, 0}, {2, 20, 25, 0, 1}};
  timetable.trips.push_back(trip);
  timetable.services.push_back({"f:s", true, {true}, "20240101", "20241231", {}});
  return timetable;
}

TEST(TimetableStore, TheSmallTimetableIsPackedAsDocumented) {
  const StoredCity stored(Small());
  ASSERT_EQ(stored.WriteError(), "");
  EXPECT_EQ(stored.Column("select hex(platforms) from 时刻模式"), std::vector<std::string>{"0002"});
  EXPECT_EQ(stored.Column("select hex(times) || ' ' || hex(rules) from 时刻班次"),
            std::vector<std::string>{"0A000A05 0104"});
  EXPECT_EQ(stored.Column("select coalesce(x, 'null') || ' ' || coalesce(y, 'null') from 时刻站台"),
            (std::vector<std::string>{"500001.5 3400002.5", "null null", "500001.5 3400002.5"}));
  EXPECT_EQ(stored.Column("select value from 城市信息 where key = 'time_zone'"),
            std::vector<std::string>{"Asia/Shanghai"});
}

struct Corruption {
  const char* what;
  const char* sql;
};

const Corruption kCorruptions[] = {
    {"times cut inside a varint", "update 时刻班次 set times = x'0a000a85'"},
    {"times of too few calls", "update 时刻班次 set times = x'0a000a'"},
    {"times of too few calls, long enough", "update 时刻班次 set times = x'8a000a00'"},
    {"times of too many calls", "update 时刻班次 set times = x'0a000a050101'"},
    {"a time past 47:59:59", "update 时刻班次 set times = x'80c60a000a05'"},
    {"the last call past 47:59:59", "update 时刻班次 set times = x'0a00ffc50a05'"},
    {"a varint of six bytes", "update 时刻班次 set times = x'8080808080000a000a05'"},
    {"times as text", "update 时刻班次 set times = 'abcd'"},
    {"times missing", "update 时刻班次 set times = null"},
    {"a platform that does not exist", "update 时刻模式 set platforms = x'0003'"},
    {"a platform cut inside a varint", "update 时刻模式 set platforms = x'0082'"},
    {"a pattern that does not exist", "update 时刻班次 set pattern = 1"},
    {"a negative pattern", "update 时刻班次 set pattern = -1"},
    {"rules of one call for two", "update 时刻班次 set rules = x'01'"},
    {"rules of three calls for two", "update 时刻班次 set rules = x'010400'"},
    {"a rule above 3", "update 时刻班次 set rules = x'1000'"},
    {"platforms out of order", "update 时刻站台 set n = 5 where n = 1"},
    {"a platform with x but no y", "update 时刻站台 set y = null where n = 0"},
    {"a zero headway", "insert into 时刻频率 values ('f:t', 0, 3600, 0, 0)"},
    {"a frequency past 47:59:59", "insert into 时刻频率 values ('f:t', 0, 172800, 600, 0)"},
    {"a pattern table missing", "drop table 时刻模式"},
    {"a calendar table missing", "drop table 时刻日历"},
};

TEST(TimetableStore, WhatTheWriterCannotHaveWrittenIsRefused) {
  {
    const StoredCity intact(Small());
    QString error;
    ASSERT_EQ(TimetableText(intact.Read(error)), TimetableText(Small(), intact.City().origin));
    ASSERT_EQ(error, QString());
  }
  for (const Corruption& corruption : kCorruptions) {
    const StoredCity stored(Small());
    stored.Edit(corruption.sql);
    QString error;
    const citygen::Timetable back = stored.Read(error);
    EXPECT_TRUE(back.Empty() && back.platforms.empty()) << corruption.what;
    EXPECT_FALSE(error.isEmpty()) << corruption.what;
  }
}

struct BadTrip {
  const char* what;
  citygen::Call second;
};

TEST(TimetableStore, TheWriterRefusesATripThatBreaksTheModel) {
  const BadTrip bad[] = {
      {"a platform that does not exist", {3, 20, 25, 0, 0}},
      {"a negative platform", {-1, 20, 25, 0, 0}},
      {"arriving before the last departure", {2, 5, 25, 0, 0}},
      {"leaving before arriving", {2, 20, 15, 0, 0}},
      {"past 47:59:59", {2, 20, 172800, 0, 0}},
      {"a pickup type of 4", {2, 20, 25, 4, 0}},
  };
  for (const BadTrip& trip : bad) {
    citygen::Timetable timetable = Small();
    timetable.trips[0].calls[1] = trip.second;
    EXPECT_NE(StoredCity(timetable).WriteError(), "") << trip.what;
  }
}

}  // namespace
