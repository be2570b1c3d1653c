// The command lines of `trip` and `departures`: what each option sets, and the lines refused
// (qiwu-cli answers those with its usage and exit code 2).
#include <gtest/gtest.h>

#include "bus/TripModel.h"
#include "cli/ClockArgs.h"

namespace {

struct Accepted {
  QStringList args;
  QString at;  // the wall time read, "" for now
  bool arriveBy, estimate, json;
  int window, maxRides;
};

TEST(ClockArgs, TripReadsEveryOption) {
  const Accepted cases[] = {
      {{"A", "B"}, "", false, false, false, 0, trip::kMaxRides},
      {{"A", "B", "--at", "2019-05-07 15:20"}, "2019-05-07 15:20", false, false, false, 0, trip::kMaxRides},
      {{"--at", "2019-05-07 15:20", "A", "B"}, "2019-05-07 15:20", false, false, false, 0, trip::kMaxRides},
      {{"A", "B", "--arrive-by", "2019-05-07 9:05", "--window", "30"},
       "2019-05-07 09:05",
       true,
       false,
       false,
       30,
       trip::kMaxRides},
      {{"A", "B", "--estimate", "--max-changes", "0", "--json"}, "", false, true, true, 0, 1},
      {{"A", "B", "--max-changes", "3", "--window", "0"}, "", false, false, false, 0, 4},
      {{"A", "B", "--at", "2020-02-29 00:00"}, "2020-02-29 00:00", false, false, false, 0, trip::kMaxRides},
      {{"-500,12.5", "B", "--at", "2019-12-31 23:59"},
       "2019-12-31 23:59",
       false,
       false,
       false,
       0,
       trip::kMaxRides},
  };
  for (const Accepted& c : cases) {
    SCOPED_TRACE(c.args.join(' ').toStdString());
    const std::optional<ClockArgs> read = ReadTripArgs(c.args);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->names.size(), 2);
    EXPECT_EQ(read->timed, !c.at.isEmpty());
    EXPECT_EQ(read->timed ? WallTimeText(read->day, read->time) : QString(), c.at);
    EXPECT_EQ(read->arriveBy, c.arriveBy);
    EXPECT_EQ(read->estimate, c.estimate);
    EXPECT_EQ(read->json, c.json);
    EXPECT_EQ(read->windowMinutes, c.window);
    EXPECT_EQ(read->maxRides, c.maxRides);
  }
}

TEST(ClockArgs, TripRefusesWhatItCannotUse) {
  const QStringList cases[] = {
      {"A"},
      {"A", "B", "C"},
      {"A", "B", "--at"},
      {"A", "B", "--at", "2019-02-29 10:00"},  // not a leap year
      {"A", "B", "--at", "2019-04-31 10:00"},
      {"A", "B", "--at", "2019-13-01 10:00"},
      {"A", "B", "--at", "2019-05-07 24:00"},
      {"A", "B", "--at", "2019-05-07 10:60"},
      {"A", "B", "--at", "2019-05-07"},
      {"A", "B", "--at", "2019-5-7 10:00"},
      {"A", "B", "--at", "2019-05-07 10:00:00"},
      {"A", "B", "--at", "tomorrow"},
      {"A", "B", "--at", "2019-05-07 10:00", "--arrive-by", "2019-05-07 11:00"},
      {"A", "B", "--at", "2019-05-07 10:00", "--estimate"},
      {"A", "B", "--at", "2019-05-07 10:00", "--at", "2019-05-07 11:00"},
      {"A", "B", "--window", "-5"},
      {"A", "B", "--window", "ten"},
      {"A", "B", "--window", "1441"},
      {"A", "B", "--max-changes", "4"},
      {"A", "B", "--max-changes", "-1"},
      {"A", "B", "--json", "--json"},
      {"A", "B", "--frobnicate"},
  };
  for (const QStringList& args : cases) EXPECT_FALSE(ReadTripArgs(args)) << args.join(' ').toStdString();
}

TEST(ClockArgs, DeparturesTakeAStopAndAnHourByDefault) {
  const std::optional<ClockArgs> plain = ReadDeparturesArgs({"Platform 1"});
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->names, QStringList{"Platform 1"});
  EXPECT_EQ(plain->windowMinutes, 60);
  EXPECT_FALSE(plain->timed);
  const std::optional<ClockArgs> full =
      ReadDeparturesArgs({"Platform 1", "--window", "15", "--json", "--at", "2019-05-07 15:20"});
  ASSERT_TRUE(full);
  EXPECT_EQ(full->windowMinutes, 15);
  EXPECT_TRUE(full->json);
  EXPECT_EQ(WallTimeText(full->day, full->time), "2019-05-07 15:20");

  const QStringList refused[] = {{},
                                 {"A", "B"},
                                 {"A", "--arrive-by", "2019-05-07 10:00"},
                                 {"A", "--estimate"},
                                 {"A", "--max-changes", "1"},
                                 {"A", "--at", "2019-02-30 10:00"}};
  for (const QStringList& args : refused)
    EXPECT_FALSE(ReadDeparturesArgs(args)) << args.join(' ').toStdString();
}

}  // namespace
