// Timed plans and departures as riders read them and as JSON, from plans made here on a small
// timetable: the wall clock on the days the clocks change, the fields scripts read, and feed text
// that must come out as written.
#include <gtest/gtest.h>

#include <QJsonArray>

#include "bus/TimedPlanText.h"
#include "tests/support/TimedLegs.h"

using namespace trip;

namespace {

constexpr int kHour = 3600, kMinute = 60;

citygen::Timetable SmallTimetable() {
  citygen::Timetable t;
  t.timeZone = "Asia/Shanghai";
  t.platforms = {{"f:n1", "北门", true, {0, 0}},
                 {"f:m1", "中山路", true, {900, 0}},
                 {"f:s1", "南湖", true, {2000, 0}},
                 {"f:s2", "南湖", true, {2050, 0}},
                 {"f:e1", "东站", true, {5000, 0}}};
  t.trips = {{"f:t12",
              "12路",
              "f:wk",
              "",
              {{0, 8 * kHour + 10 * kMinute, 8 * kHour + 12 * kMinute},
               {1, 8 * kHour + 20 * kMinute, 8 * kHour + 20 * kMinute},
               {2, 8 * kHour + 30 * kMinute, 8 * kHour + 30 * kMinute}}},
             {"f:t3",
              "3路",
              "f:wk",
              "东站",
              {{3, 8 * kHour + 40 * kMinute, 8 * kHour + 40 * kMinute},
               {4, 8 * kHour + 47 * kMinute, 8 * kHour + 47 * kMinute}}}};
  return t;
}

class TimedText : public testing::Test {
 protected:
  citygen::Timetable timetable_ = SmallTimetable();
  TimedEnd from_{"学校", {}, true, {-100, 0}};
  TimedEnd to_{"医院", {}, true, {5150, 0}};
  TimedAsk ask_{from_, to_, QTimeZone("Asia/Shanghai"), QDate(2019, 5, 7), "2019-05-07 08:10"};
  // Walk to 北门, 12路 to 南湖, walk across to the other 南湖 platform, 3路 to 东站, walk on.
  TimedPlan twoRides_ = PlanOf({WalkLeg(-1, 0, 130.4, 8 * kHour + 10 * kMinute, 8 * kHour + 12 * kMinute),
                                RideLeg(timetable_, 0, 0, 2),
                                WalkLeg(2, 3, 65.04, 8 * kHour + 30 * kMinute, 8 * kHour + 31 * kMinute),
                                RideLeg(timetable_, 1, 0, 1),
                                WalkLeg(4, -1, 195.0, 8 * kHour + 47 * kMinute, 8 * kHour + 50 * kMinute)});
};

TEST(WallClock, ServiceTimesOnTheCitysClock) {
  const QTimeZone berlin("Europe/Berlin"), shanghai("Asia/Shanghai");
  struct Case {
    const QTimeZone& zone;
    QDate day;
    int seconds;
    const char* shown;
  } const cases[] = {
      {berlin, {2019, 5, 7}, 15 * kHour + 24 * kMinute, "15:24"},
      {berlin, {2019, 5, 7}, 24 * kHour + 10 * kMinute, "次日 00:10"},
      {berlin, {2019, 5, 7}, -10 * kMinute, "前日 23:50"},
      // Clocks go forward on 31 March 2019: noon minus 12 h is 23:00 of the day before.
      {berlin, {2019, 3, 31}, 0, "前日 23:00"},
      {berlin, {2019, 3, 31}, 3 * kHour, "03:00"},
      // A trip of 30 March past 24:00 runs into the change.
      {berlin, {2019, 3, 30}, 25 * kHour + 55 * kMinute, "次日 01:55"},
      {berlin, {2019, 3, 30}, 26 * kHour + 3 * kMinute, "次日 03:03"},
      // Clocks go back on 27 October 2019: noon minus 12 h is 01:00.
      {berlin, {2019, 10, 27}, 0, "01:00"},
      {berlin, {2019, 10, 27}, 3 * kHour, "03:00"},  // 02:00 came twice: 01:00 + 3 h is 03:00
      {shanghai, {2019, 5, 7}, 8 * kHour + 12 * kMinute, "08:12"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(WallClockText(c.zone, c.day, c.seconds), QString::fromUtf8(c.shown))
        << c.day.toString(Qt::ISODate).toStdString() << " " << c.seconds;
}

TEST_F(TimedText, PlanReadsAsARiderReadsIt) {
  const QString text = TimedPlanText(timetable_, ask_, twoRides_);
  const QStringList lines = text.split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 6) << text.toStdString();
  EXPECT_TRUE(lines[0].startsWith("08:10 出发 → 08:50 到达，用时 40.0 分钟，步行 390 米，换乘 1 次"))
      << lines[0].toStdString();
  EXPECT_EQ(lines[1], "  1. 步行 130 米到 北门");
  EXPECT_EQ(lines[2], "  2. 08:12 在 北门 乘 12路（往 南湖），08:30 到 南湖，坐 2 站");
  EXPECT_EQ(lines[3], "  3. 步行 65 米到 南湖");
  EXPECT_EQ(lines[4], "  4. 换乘，08:40 在 南湖 乘 3路（往 东站，候车 9.0 分钟），08:47 到 东站，坐 1 站");
  EXPECT_EQ(lines[5], "  5. 步行 195 米到 医院");
}

TEST_F(TimedText, NoStepAtAStopThatIsTheEndIsNotWritten) {
  const int arrive = 8 * kHour + 30 * kMinute;
  const TimedPlan plan = PlanOf({RideLeg(timetable_, 0, 0, 2), WalkLeg(2, -1, 0.2, arrive, arrive)});
  const QStringList lines = TimedPlanText(timetable_, ask_, plan).split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 2) << lines.join('\n').toStdString();
  EXPECT_TRUE(lines[1].startsWith("  1. 08:12 在 北门 乘 12路")) << lines[1].toStdString();
  EXPECT_EQ(TimedPlansJson(timetable_, ask_, {plan})["plans"][0]["legs"].toArray().size(), 2)
      << "JSON keeps it";
}

TEST_F(TimedText, JsonNamesPlatformsTripsAndTimes) {
  const QJsonObject json = TimedPlansJson(timetable_, ask_, {twoRides_});
  EXPECT_EQ(json["estimate"], false);
  EXPECT_EQ(json["at"], "2019-05-07 08:10");
  EXPECT_EQ(json["from"], "学校");
  const QJsonObject plan = json["plans"][0].toObject();
  EXPECT_EQ(plan["rides"], 2);
  EXPECT_EQ(plan["changes"], 1);
  EXPECT_EQ(plan["minutes"].toDouble(), 40.0);
  EXPECT_EQ(plan["walk_metres"].toDouble(), 390.4) << "the walks as written, 130.4 + 65.0 + 195.0";
  EXPECT_EQ(plan["depart"], ServiceTimeText(twoRides_.depart));
  EXPECT_EQ(plan["arrive"], ServiceTimeText(twoRides_.arrive));
  const QJsonArray legs = plan["legs"].toArray();
  ASSERT_EQ(legs.size(), 5);
  struct Expected {
    const char *mode, *from, *fromId, *to, *toId;
  } const expected[] = {{"walk", nullptr, nullptr, "北门", "f:n1"},
                        {"ride", "北门", "f:n1", "南湖", "f:s1"},
                        {"walk", "南湖", "f:s1", "南湖", "f:s2"},
                        {"ride", "南湖", "f:s2", "东站", "f:e1"},
                        {"walk", "东站", "f:e1", nullptr, nullptr}};
  auto textOrNull = [](const char* text) {
    return text ? QJsonValue(QString::fromUtf8(text)) : QJsonValue();
  };
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(legs[i]["mode"], expected[i].mode);
    EXPECT_EQ(legs[i]["from"], textOrNull(expected[i].from));
    EXPECT_EQ(legs[i]["from_id"], textOrNull(expected[i].fromId));
    EXPECT_EQ(legs[i]["to"], textOrNull(expected[i].to));
    EXPECT_EQ(legs[i]["to_id"], textOrNull(expected[i].toId));
  }
  EXPECT_EQ(legs[1]["trip"], "f:t12");
  EXPECT_EQ(legs[1]["line"], "12路");
  EXPECT_EQ(legs[1]["stops"], QJsonArray({"北门", "中山路", "南湖"}));
  EXPECT_EQ(legs[1]["depart"], ServiceTimeText(twoRides_.legs[1].depart));
  EXPECT_EQ(legs[3]["arrive"], ServiceTimeText(twoRides_.legs[3].arrive));
  EXPECT_EQ(legs[2]["metres"].toDouble(), 65.0);
}

TEST_F(TimedText, NoPlanSaysWhichEndTheTimetableCannotReach) {
  const TimedEnd unplaced{"无名", {}, false, {}};
  const TimedEnd far{"远郊", {}, true, {0, 5000}};
  const TimedEnd stop{"北门", {0}, false, {}};
  struct Case {
    const TimedEnd &from, &to;
    const char* reason;
  } const cases[] = {{unplaced, to_, "起点 800 米内没有站台"},
                     {far, to_, "起点 800 米内没有站台"},
                     {from_, far, "终点 800 米内没有站台"},
                     {stop, to_, "2019-05-07 08:10 换乘 1 次以内没有到达的班次"}};
  for (const Case& c : cases) {
    const TimedAsk ask{c.from, c.to, ask_.zone, ask_.day, ask_.at, 2};
    const QJsonObject json = TimedPlansJson(timetable_, ask, {});
    EXPECT_EQ(json["plans"], QJsonArray());
    EXPECT_EQ(json["reason"], QString::fromUtf8(c.reason)) << c.from.label.toStdString();
  }
}

TEST_F(TimedText, DeparturesKeepTheFeedsTextAsWritten) {
  timetable_.trips[1].headsign = "%1 往%2";  // feed text is data, never a pattern
  const std::vector<Departure> departures = {
      {0, 0, 8 * kHour + 12 * kMinute, "12路", HeadsignOf(timetable_, 0)},
      {1, 3, 8 * kHour + 40 * kMinute, "%3", HeadsignOf(timetable_, 1)}};
  const int asked = 8 * kHour + 5 * kMinute;
  const QStringList lines =
      DeparturesText(timetable_, ask_.zone, ask_.day, asked, departures).split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 2);
  EXPECT_EQ(lines[0], "08:12  12路 往 南湖  站台 f:n1  7 分钟后");
  EXPECT_EQ(lines[1], "08:40  %3 往 %1 往%2  站台 f:s2  35 分钟后");

  const QJsonObject json = DeparturesJson(timetable_, "南湖", "2019-05-07 08:05", departures);
  EXPECT_EQ(json["stop"], "南湖");
  const QJsonObject second = json["departures"][1].toObject();
  EXPECT_EQ(second["headsign"], "%1 往%2");
  EXPECT_EQ(second["platform"], "f:s2");
  EXPECT_EQ(second["trip"], "f:t3");
  EXPECT_EQ(second["depart"], ServiceTimeText(8 * kHour + 40 * kMinute));
}

}  // namespace
