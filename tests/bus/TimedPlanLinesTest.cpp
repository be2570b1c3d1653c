// Plans and departures by the clock as the planner window lists them, for plans made by hand:
// wall-clock times through the city's zone (past midnight, the day before, the night the clocks
// change), waits, walks, and the stop each line names; and the pages of 更早 / 更晚.
#include <gtest/gtest.h>

#include "bus/TimedPaging.h"
#include "bus/TimedPlanLines.h"
#include "tests/bus/HandTimetable.h"

namespace {

TEST(TimedPlanLines, ServiceTimesReadOnTheWallClockOfTheCity) {
  const struct {
    const char* zone;
    QDate day;
    int seconds;
    QString text;
  } cases[] = {
      {"UTC", {2026, 5, 7}, 0, "00:00"},
      {"UTC", {2026, 5, 7}, Clock(8, 12, 59), "08:12"},
      {"UTC", {2026, 5, 7}, Clock(23, 59), "23:59"},
      {"UTC", {2026, 5, 7}, Clock(24, 12), "次日 00:12"},
      {"UTC", {2026, 5, 7}, Clock(47, 59), "次日 23:59"},
      {"UTC", {2026, 5, 7}, -600, "前日 23:50"},
      {"Asia/Shanghai", {2026, 5, 7}, Clock(15, 24), "15:24"},
      // Clocks go forward at 02:00 on 29 March in Berlin: noon minus 12 h is 23:00 the day before.
      {"Europe/Berlin", {2026, 3, 29}, 1800, "前日 23:30"},
      {"Europe/Berlin", {2026, 3, 29}, Clock(3, 0), "03:00"},
      {"Europe/Berlin", {2026, 3, 29}, Clock(12, 0), "12:00"},
      // And back at 03:00 on 25 October: noon minus 12 h is 01:00.
      {"Europe/Berlin", {2026, 10, 25}, Clock(1, 0), "02:00"},
      {"Europe/Berlin", {2026, 10, 25}, Clock(24, 30), "次日 00:30"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.zone) + " " + std::to_string(c.seconds));
    const trip::ServiceClock clock(QTimeZone(c.zone), c.day);
    EXPECT_EQ(clock.Text(c.seconds), c.text);
    EXPECT_EQ(clock.SecondsAt(clock.At(c.seconds)), c.seconds);
  }
}

// The oracle: the minutes between two times read back from the clock's text.
int MinutesBetweenShown(const trip::ServiceClock& clock, int from, int to) {
  const auto minuteOf = [&](int seconds) {
    const QString text = clock.Text(seconds);
    const QTime time = QTime::fromString(text.right(5), QStringLiteral("HH:mm"));
    const int day = text.startsWith(QStringLiteral("次日"))   ? 1
                    : text.startsWith(QStringLiteral("前日")) ? -1
                                                              : 0;
    return day * 1440 + time.hour() * 60 + time.minute();
  };
  return std::max(minuteOf(to) - minuteOf(from), 0);
}

TEST(TimedPlanLines, DurationsAreWhatTheClockTimesShownDifferBy) {
  const struct {
    int depart, arrive;
    QString text;
  } cases[] = {{Clock(8, 0), Clock(8, 0, 59), "0 分钟"},
               {Clock(8, 0, 50), Clock(8, 1, 10), "1 分钟"},
               {Clock(8, 0), Clock(8, 52, 32), "52 分钟"},
               {Clock(8, 0), Clock(9, 5), "1 小时 5 分钟"},
               {-30, 30, "1 分钟"},
               {-600, Clock(0, 7), "17 分钟"},
               {Clock(23, 50), Clock(24, 10), "20 分钟"},
               {Clock(8, 0), Clock(7, 0), "0 分钟"}};
  const trip::ServiceClock clock(QTimeZone("UTC"), {2026, 5, 7});
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.depart) + " " + std::to_string(c.arrive));
    EXPECT_EQ(trip::DurationText(c.depart, c.arrive), c.text);
    const int minutes = MinutesBetweenShown(clock, c.depart, c.arrive);
    EXPECT_EQ(trip::DurationText(c.depart, c.arrive),
              minutes < 60 ? QStringLiteral("%1 分钟").arg(minutes)
                           : QStringLiteral("%1 小时 %2 分钟").arg(minutes / 60).arg(minutes % 60));
  }
}

struct PlanCase {
  const char* name;
  trip::TimedPlan plan;
  QString headline;
  std::vector<trip::TimedLegLine> lines;
};

TEST(TimedPlanLines, PlansReadAsRidersReadThem) {
  const HandTimetable hand;
  const citygen::Timetable& t = hand.table;
  const QString end = QStringLiteral("终点的名字");
  const PlanCase cases[] = {
      {"a walk, a ride, a walk",
       PlanOf({WalkLeg(-1, 0, 200, Clock(7, 55), Clock(7, 58)), RideLeg(t, 0, 0, 5),
               WalkLeg(5, -1, 300, Clock(8, 15), Clock(8, 19, 10))}),
       "07:55 出发 → 08:19 到达",
       {{"步行 200 米（约 3 分钟）到 东门", 0, Clock(7, 58)},
        {"08:00 在 东门 乘 1路（往 码头），候车 2 分钟", 0, Clock(7, 58)},
        {"08:15 到 老街 下车，坐 5 站", 5, Clock(8, 15)},
        {"步行 300 米（约 5 分钟）到 终点的名字", -1, Clock(8, 19, 10)}}},
      {"past midnight, a change on the same platform",
       PlanOf({RideLeg(t, 1, 0, 2), WalkLeg(2, 2, 0, Clock(24, 18), Clock(24, 18)), RideLeg(t, 2, 0, 2)}),
       "次日 00:12 出发 → 次日 00:24 到达",
       {{"次日 00:12 在 东门 乘 1路（往 码头），无需候车", 0, Clock(24, 12)},
        {"次日 00:18 到 北桥 下车，坐 2 站", 2, Clock(24, 18)},
        {"换乘：次日 00:20 在 北桥 乘 2路（往 北站），候车 2 分钟", 2, Clock(24, 18)},
        {"次日 00:24 到 花园 下车，坐 2 站", 4, Clock(24, 24)}}},
      {"the whole way on foot, from the day before",
       PlanOf({WalkLeg(-1, -1, 5000, -600, Clock(1, 7))}),
       "前日 23:50 出发 → 01:07 到达",
       {{"步行 5000 米（约 77 分钟）到 终点的名字", -1, Clock(1, 7)}}},
  };
  const trip::ServiceClock clock(hand.zone, {2026, 5, 7});
  for (const PlanCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(trip::TimedHeadline(clock, c.plan), c.headline);
    const std::vector<trip::TimedLegLine> lines = trip::TimedLegLines(t, clock, c.plan, end);
    ASSERT_EQ(lines.size(), c.lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
      EXPECT_EQ(lines[i].text, c.lines[i].text);
      EXPECT_EQ(lines[i].platform, c.lines[i].platform) << i;
      EXPECT_EQ(lines[i].seconds, c.lines[i].seconds) << i;
    }
  }
}

TEST(TimedPlanLines, DeparturesSayTheLineItsDirectionAndTheMinutesUntil) {
  const HandTimetable hand;
  const struct {
    trip::Departure departure;
    int from;
    QStringList columns;
  } cases[] = {
      {{0, 0, Clock(8, 0, 59), "1路", ""}, Clock(8, 0), {"1路", "往 码头", "即将发车（08:00）"}},
      {{0, 1, Clock(8, 3), "1路", "码头"}, Clock(8, 0), {"1路", "往 码头", "3 分钟后（08:03）"}},
      {{2, 2, Clock(24, 20), "2路", "北站"}, Clock(23, 58), {"2路", "往 北站", "22 分钟后（次日 00:20）"}},
      {{2, 3, Clock(24, 22), "2路", "另一个方向"},
       Clock(24, 0),
       {"2路", "往 另一个方向", "22 分钟后（次日 00:22）"}},
  };
  const trip::ServiceClock clock(hand.zone, {2026, 5, 7});
  for (const auto& c : cases)
    EXPECT_EQ(trip::DepartureColumns(hand.table, clock, c.departure, c.from), c.columns)
        << c.departure.depart;
}

// The pages follow each other without a gap or an overlap, an hour each, on the query's own axis.
TEST(TimedPaging, EarlierAndLaterPagesBorderTheTimesShown) {
  trip::TimedPlan leaves(PlanOf({WalkLeg(-1, -1, 10, Clock(8, 40), Clock(9, 30))}));
  const struct {
    trip::TimedMode mode;
    int seconds, window;
    std::vector<trip::TimedPlan> plans;
    trip::TimeSpan shown;
  } cases[] = {
      {trip::TimedMode::DepartAt, Clock(8, 0), 0, {}, {Clock(8, 0), Clock(8, 0)}},
      {trip::TimedMode::DepartAt, Clock(8, 0), 0, {leaves}, {Clock(8, 0), Clock(8, 40)}},
      {trip::TimedMode::DepartAt, Clock(8, 0), 3600, {leaves}, {Clock(8, 0), Clock(9, 0)}},
      {trip::TimedMode::ArriveBy, Clock(10, 0), 0, {leaves}, {Clock(9, 30), Clock(10, 0)}},
      {trip::TimedMode::ArriveBy, Clock(10, 0), 3600, {leaves}, {Clock(9, 0), Clock(10, 0)}},
  };
  for (const auto& c : cases) {
    trip::TimedQuery query;
    query.mode = c.mode;
    query.seconds = c.seconds;
    query.windowSeconds = c.window;
    const trip::TimeSpan shown = trip::SpanShown(query, c.plans);
    SCOPED_TRACE(std::to_string(c.seconds) + (c.mode == trip::TimedMode::DepartAt ? " depart" : " arrive"));
    EXPECT_EQ(shown.from, c.shown.from);
    EXPECT_EQ(shown.to, c.shown.to);
    // The span a page query asks for, as the search reads it.
    auto asked = [](const trip::TimedQuery& q) {
      return q.mode == trip::TimedMode::DepartAt ? trip::TimeSpan{q.seconds, q.seconds + q.windowSeconds}
                                                 : trip::TimeSpan{q.seconds - q.windowSeconds, q.seconds};
    };
    const trip::TimedQuery earlier = trip::EarlierPage(query, shown), later = trip::LaterPage(query, shown);
    EXPECT_EQ(earlier.mode, c.mode);
    EXPECT_EQ(later.mode, c.mode);
    EXPECT_EQ(asked(earlier).to, shown.from - 1);
    EXPECT_EQ(asked(earlier).from, shown.from - 1 - trip::kPageSeconds);
    EXPECT_EQ(asked(later).from, shown.to + 1);
    EXPECT_EQ(asked(later).to, shown.to + 1 + trip::kPageSeconds);
  }
}

}  // namespace
