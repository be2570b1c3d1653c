// The timetable the GTFS reader keeps: every trip of the kept lines with its calls' times, the
// platforms, calendars, frequencies and the time zone; broken trips counted, bad values refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "import/InputError.h"
#include "import/MapProjection.h"
#include "import/TransitToCity.h"
#include "import/gtfs/FieldText.h"
#include "import/gtfs/GtfsReader.h"
#include "tests/import/GtfsFeedFixture.h"

namespace {

using gtfsfixture::Feed;
using gtfsfixture::Files;
using gtfsfixture::PlainRows;
using gtfsfixture::Row;
using qiwu::import::InputError;
using qiwu::import::ReadGtfsFeeds;
using qiwu::import::TransitNetwork;

class GtfsTimetableTest : public gtfsfixture::FeedTest {};

std::string Clock(int seconds) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
  return text;
}

std::string WithoutFeed(const std::string& id) { return id.substr(id.find(':') + 1); }

// "stop arrival-departure" for each call, with " p<pickup>d<drop-off>" where either is not 0.
std::string Calls(const TransitNetwork& network, const citygen::Trip& trip) {
  std::string text;
  for (const citygen::Call& call : trip.calls) {
    if (!text.empty()) text += ", ";
    text += WithoutFeed(network.timetable.platforms.at(std::size_t(call.platform)).id) + " " +
            Clock(call.arrival) + "-" + Clock(call.departure);
    if (call.pickup || call.dropOff)
      text += " p" + std::to_string(call.pickup) + "d" + std::to_string(call.dropOff);
  }
  return text;
}

constexpr const char* kTimedHeader = "trip_id,stop_id,stop_sequence,arrival_time,departure_time\n";

TEST(GtfsTimeTextTest, TimesAreHMMSSUpTo47Hours) {
  struct Case {
    const char* text;
    int seconds;  // -1: refused
  };
  const Case cases[] = {
      {"0:00:00", 0},
      {"00:00:00", 0},
      {"5:03:09", 18189},
      {"05:03:09", 18189},
      {" 23:59:59 ", 86399},
      {"24:00:00", 86400},
      {"47:59:59", 172799},
      {"48:00:00", -1},
      {"99:00:00", -1},
      {"005:00:00", -1},
      {"5:3:09", -1},
      {"5:03", -1},
      {"12:60:00", -1},
      {"12:00:60", -1},
      {"-1:00:00", -1},
      {"+1:00:00", -1},
      {"1:00:00.5", -1},
      {"1:00:00x", -1},
      {"", -1},
      {"a:00:00", -1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(qiwu::import::ParseTime(c.text).value_or(-1), c.seconds) << '"' << c.text << '"';
}

TEST(GtfsTimeTextTest, DatesAreDaysThatExist) {
  // Oracle: a day exists when it is within its month's length, February's by the Gregorian rule.
  const auto exists = [](int year, int month, int day) {
    const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = year % 400 == 0 || (year % 4 == 0 && year % 100 != 0);
    return month >= 1 && month <= 12 && day >= 1 && day <= lengths[month - 1] + (month == 2 && leap);
  };
  for (const int year : {1900, 2000, 2019, 2020, 2100})
    for (int month = 0; month <= 13; ++month)
      for (int day = 0; day <= 32; ++day) {
        char text[16];
        std::snprintf(text, sizeof text, "%04d%02d%02d", year, month, day);
        EXPECT_EQ(qiwu::import::ParseDate(text).has_value(), exists(year, month, day)) << text;
      }
  for (const char* text : {"2019-01-01", "2019011", "201901011", "2019O101", ""})
    EXPECT_FALSE(qiwu::import::ParseDate(text)) << text;
  EXPECT_EQ(qiwu::import::ParseDate(" 20190507 ").value_or(""), "20190507");
}

TEST_F(GtfsTimetableTest, CallsKeepTheirTimesAndRules) {
  struct Case {
    const char* what;
    const char* stopTimes;
    const char* expected;
  };
  const Case cases[] = {
      {"both times", "t1,A,1,08:00:00,08:01:00\nt1,B,2,08:05:00,08:06:30\n",
       "A 08:00:00-08:01:00, B 08:05:00-08:06:30"},
      {"one-sided: each alone serves for both",
       "t1,A,1,,08:00:00\nt1,B,2,08:04:00,\nt1,C,3, 8:09:00 ,\nt1,D,4,,8:10:00\n",
       "A 08:00:00-08:00:00, B 08:04:00-08:04:00, C 08:09:00-08:09:00, D 08:10:00-08:10:00"},
      {"past midnight, up to 47:59:59", "t1,A,1,23:58:00,24:01:00\nt1,B,2,47:59:59,47:59:59\n",
       "A 23:58:00-24:01:00, B 47:59:59-47:59:59"},
      {"riding order by stop_sequence", "t1,B,20,09:00:00,09:00:00\nt1,A,3,08:00:00,08:00:00\n",
       "A 08:00:00-08:00:00, B 09:00:00-09:00:00"},
      {"equal times", "t1,A,1,08:00:00,08:00:00\nt1,B,2,08:00:00,08:00:00\n",
       "A 08:00:00-08:00:00, B 08:00:00-08:00:00"},
  };
  for (const Case& c : cases) {
    const auto network = Read({{"stop_times.txt", (std::string(kTimedHeader) + c.stopTimes).c_str()}});
    ASSERT_EQ(network.timetable.trips.size(), 1u) << c.what;
    EXPECT_EQ(Calls(network, network.timetable.trips[0]), c.expected) << c.what;
  }

  const auto rules =
      Read({{"stop_times.txt",
             "trip_id,stop_id,stop_sequence,arrival_time,departure_time,pickup_type,drop_off_type\n"
             "t1,A,1,08:00:00,08:00:00,0,1\nt1,B,2,08:01:00,08:01:00,1,\n"
             "t1,C,3,08:02:00,08:02:00,2,3\nt1,D,4,08:03:00,08:03:00, ,2\n"}});
  ASSERT_EQ(rules.timetable.trips.size(), 1u);
  EXPECT_EQ(Calls(rules, rules.timetable.trips[0]),
            "A 08:00:00-08:00:00 p0d1, B 08:01:00-08:01:00 p1d0, C 08:02:00-08:02:00 p2d3, "
            "D 08:03:00-08:03:00 p0d2");
}

TEST_F(GtfsTimetableTest, UntimedCallsTakeTheirShareOfTheTimeByDistance) {
  // Stops on one meridian: the distance between two is in proportion to their latitudes' difference.
  struct Case {
    std::vector<double> lats;
    std::vector<const char*> times;  // "" for an untimed call
  };
  const Case cases[] = {
      {{30.0, 30.01, 30.03, 30.06}, {"08:00:00", "", "", "08:06:00"}},
      {{30.0, 30.012, 30.02, 30.05, 30.051, 30.09}, {"07:59:30", "", "08:03:00", "", "", "09:00:00"}},
      {{30.2, 30.1, 30.15, 30.0}, {"23:50:00", "", "", "24:10:00"}},
      {{30.0, 30.0, 30.0, 30.0}, {"08:00:00", "", "", "08:07:00"}},  // one place: even shares
  };
  for (const Case& c : cases) {
    std::string stops = "stop_id,stop_name,stop_lat,stop_lon\n", calls = kTimedHeader;
    for (std::size_t k = 0; k < c.lats.size(); ++k) {
      stops += "S" + std::to_string(k) + ",站," + std::to_string(c.lats[k]) + ",114\n";
      calls +=
          "t1,S" + std::to_string(k) + "," + std::to_string(k) + "," + c.times[k] + "," + c.times[k] + "\n";
    }
    const auto network = Read({{"stops.txt", stops.c_str()}, {"stop_times.txt", calls.c_str()}});
    ASSERT_EQ(network.timetable.trips.size(), 1u) << calls;
    std::vector<int> expected(c.lats.size());
    for (std::size_t from = 0; from + 1 < c.lats.size();) {
      std::size_t to = from + 1;
      while (*c.times[to] == '\0') ++to;
      const int start = *qiwu::import::ParseTime(c.times[from]), end = *qiwu::import::ParseTime(c.times[to]);
      double total = 0;
      for (std::size_t k = from; k < to; ++k) total += std::abs(c.lats[k + 1] - c.lats[k]);
      double along = 0;
      expected[from] = start;
      for (std::size_t k = from + 1; k < to; ++k) {
        along += std::abs(c.lats[k] - c.lats[k - 1]);
        const double share = total > 0 ? along / total : double(k - from) / double(to - from);
        expected[k] = int(std::lround(start + (end - start) * share));
      }
      expected[to] = end;
      from = to;
    }
    std::vector<int> arrivals, departures;
    for (const citygen::Call& call : network.timetable.trips[0].calls) {
      arrivals.push_back(call.arrival);
      departures.push_back(call.departure);
    }
    EXPECT_EQ(arrivals, expected) << calls;
    EXPECT_EQ(departures, expected) << calls;
  }
}

TEST_F(GtfsTimetableTest, TripsThatBreakTheModelAreCountedNotRefused) {
  struct Case {
    const char* what;
    const char* stopTimes;  // of t2; t1 keeps good times
    const char* why;
  };
  const Case cases[] = {
      {"a stop_sequence twice", "t2,A,1,08:00:00,08:00:00\nt2,B,1,08:05:00,08:05:00\n",
       "two calls share a stop_sequence"},
      {"departure before arrival", "t2,A,1,08:00:00,07:59:00\nt2,B,2,08:05:00,08:05:00\n",
       "times go backwards"},
      {"arrival before the last departure", "t2,A,1,08:00:00,08:06:00\nt2,B,2,08:05:00,08:07:00\n",
       "times go backwards"},
      {"backwards across an untimed call", "t2,A,1,08:00:00,08:00:00\nt2,B,2,,\nt2,C,3,07:00:00,07:00:00\n",
       "times go backwards"},
      {"untimed first call", "t2,A,1,,\nt2,B,2,08:05:00,08:05:00\n", "no time at the first or last call"},
      {"untimed last call", "t2,A,1,08:00:00,\nt2,B,2,,\n", "no time at the first or last call"},
  };
  for (const Case& c : cases) {
    const std::string calls =
        std::string(kTimedHeader) + "t1,A,1,09:00:00,09:00:00\nt1,B,2,09:05:00,09:05:00\n" + c.stopTimes;
    const auto network = Read({{"trips.txt", "route_id,trip_id,direction_id\nR,t1,0\nR,t2,0\n"},
                               {"stop_times.txt", calls.c_str()}});
    EXPECT_EQ(network.lines.size(), 1u) << c.what << ": the line stays";
    ASSERT_EQ(network.timetable.trips.size(), 1u) << c.what;
    EXPECT_EQ(WithoutFeed(network.timetable.trips[0].id), "t1") << c.what;
    const auto& report = network.reports.at(0);
    EXPECT_EQ(report.LeftOutCount("trip times", c.why), 1) << c.what << "\n" << report.Text();
    EXPECT_EQ(report.KeptCount("trip times"), 1) << c.what;
    EXPECT_EQ(report.Read("trip times"), report.KeptCount("trips"))
        << c.what << ": each trip with calls once";
  }
  const auto untimed = Read({});
  EXPECT_TRUE(untimed.timetable.trips.empty()) << "a feed without times";
  EXPECT_EQ(untimed.reports.at(0).LeftOutCount("trip times", "no time at the first or last call"), 1);
}

TEST_F(GtfsTimetableTest, BadTimesDatesAndHeadwaysAreRefusedWithFileAndLine) {
  const std::string timed =
      std::string(kTimedHeader) + "t1,A,1,08:00:00,08:00:00\nt1,B,2,08:05:00,08:05:00\n";
  const auto stopTimes = [](const char* rows) { return std::string(kTimedHeader) + rows; };
  static const std::string badArrival = stopTimes("t1,A,1,08:00:00,08:00:00\nt1,B,2,8:5:00,\n");
  static const std::string lateHour = stopTimes("t1,A,1,48:00:00,\nt1,B,2,49:00:00,\n");
  static const std::string badDeparture = stopTimes("t1,A,1,,08.00.00\n");
  static const std::string badPickup = "trip_id,stop_id,stop_sequence,pickup_type\nt1,A,1,0\nt1,B,2,4\n";
  const char* frequencies = "trip_id,start_time,end_time,headway_secs,exact_times\n";
  static const std::string zeroHeadway =
      frequencies + std::string("t1,08:00:00,09:00:00,600,\nt1,10:00:00,11:00:00,0,\n");
  static const std::string negativeHeadway = frequencies + std::string("t1,08:00:00,09:00:00,-600,\n");
  static const std::string badStart = frequencies + std::string("t1,8:00,09:00:00,600,\n");
  static const std::string badExact = frequencies + std::string("t1,08:00:00,09:00:00,600,2\n");
  static const std::string unknownTrip = frequencies + std::string("t9,08:00:00,09:00:00,600,\n");
  const char* calendar =
      "service_id,monday,tuesday,wednesday,thursday,friday,saturday,sunday,start_date,end_date\n";
  static const std::string badDate = calendar + std::string("wk,1,1,1,1,1,0,0,20190101,20190230\n");
  static const std::string badWeekday = calendar + std::string("wk,1,1,1,1,1,0,2,20190101,20191231\n");
  static const std::string twice =
      calendar + std::string("wk,1,1,1,1,1,0,0,20190101,20191231\nwk,1,1,1,1,1,0,0,20190101,20191231\n");
  const char* dates = "service_id,date,exception_type\n";
  static const std::string badException = dates + std::string("wk,20190501,2\nwk,20190502,3\n");
  static const std::string badExceptionDate = dates + std::string("wk,2019-05-01,2\n");
  const std::vector<Bad> cases = {
      {"minutes of one digit", {{"stop_times.txt", badArrival.c_str()}}, "stop_times.txt", 3},
      {"hour 48", {{"stop_times.txt", lateHour.c_str()}}, "stop_times.txt", 2},
      {"dots for colons", {{"stop_times.txt", badDeparture.c_str()}}, "stop_times.txt", 2},
      {"pickup_type 4", {{"stop_times.txt", badPickup.c_str()}}, "stop_times.txt", 3},
      {"zero headway",
       {{"stop_times.txt", timed.c_str()}, {"frequencies.txt", zeroHeadway.c_str()}},
       "frequencies.txt",
       3},
      {"negative headway",
       {{"stop_times.txt", timed.c_str()}, {"frequencies.txt", negativeHeadway.c_str()}},
       "frequencies.txt",
       2},
      {"bad start_time",
       {{"stop_times.txt", timed.c_str()}, {"frequencies.txt", badStart.c_str()}},
       "frequencies.txt",
       2},
      {"exact_times 2",
       {{"stop_times.txt", timed.c_str()}, {"frequencies.txt", badExact.c_str()}},
       "frequencies.txt",
       2},
      {"frequency of an unknown trip", {{"frequencies.txt", unknownTrip.c_str()}}, "frequencies.txt", 2},
      {"30 February", {{"calendar.txt", badDate.c_str()}}, "calendar.txt", 2},
      {"weekday 2", {{"calendar.txt", badWeekday.c_str()}}, "calendar.txt", 2},
      {"a service twice", {{"calendar.txt", twice.c_str()}}, "calendar.txt", 3},
      {"exception_type 3", {{"calendar_dates.txt", badException.c_str()}}, "calendar_dates.txt", 3},
      {"a date with dashes", {{"calendar_dates.txt", badExceptionDate.c_str()}}, "calendar_dates.txt", 2},
      {"a time zone name of markup",
       {{"agency.txt", "agency_name,agency_timezone\nA,Asia/Shanghai\nB,<b>Asia/Tokyo</b>\n"}},
       "agency.txt",
       3},
  };
  ExpectRefused(cases);
}

TEST_F(GtfsTimetableTest, KeepsCalendarsAsGivenAndFrequenciesOfTimetabledTrips) {
  const auto network = Read({
      {"routes.txt", "route_id,route_short_name,route_type\nR,5,3\nX,空,1100\n"},
      {"trips.txt",
       "route_id,trip_id,service_id,trip_headsign\nR,t1,wk,北站\nR,t2,we,\nR,t3,wk,南站\nX,x1,wk,\n"},
      {"stop_times.txt", (std::string(kTimedHeader) +
                          "t1,A,1,08:00:00,08:00:00\nt1,B,2,08:05:00,08:05:00\nt2,A,1,09:00:00,09:00:00\n"
                          "t2,B,2,09:05:00,09:05:00\nt3,A,1,10:00:00,10:00:00\nt3,B,2,09:00:00,09:00:00\n"
                          "x1,C,1,08:00:00,08:00:00\n")
                             .c_str()},
      {"frequencies.txt",
       "trip_id,start_time,end_time,headway_secs,exact_times\nt1,06:00:00,09:00:00,300,1\n"
       "t2,23:00:00,25:30:00,1200,\nt3,06:00:00,07:00:00,600,0\nx1,06:00:00,07:00:00,600,0\n"},
      {"calendar.txt",
       "service_id,monday,tuesday,wednesday,thursday,friday,saturday,sunday,start_date,end_date\n"
       "wk,1,1,1,1,1,0,0,20190101,20191231\nunused,0,0,0,0,0,0,1,20200229,20200301\n"},
      {"calendar_dates.txt", "service_id,date,exception_type\nwk,20190501,2\nwe,20190504,1\nwk,20190502,2\n"},
  });
  std::vector<std::string> trips;
  for (const citygen::Trip& trip : network.timetable.trips)
    trips.push_back(WithoutFeed(trip.id) + " " + trip.line + " " + WithoutFeed(trip.service) + " " +
                    trip.headsign);
  EXPECT_EQ(trips, (std::vector<std::string>{"t1 5 wk 北站", "t2 5 we "}))
      << "t3 goes backwards; x1 is by air";

  std::vector<std::string> frequencies;
  for (const citygen::Frequency& f : network.timetable.frequencies)
    frequencies.push_back(WithoutFeed(f.trip) + " " + Clock(f.start) + " " + Clock(f.end) + " " +
                          std::to_string(f.headway) + (f.exactTimes ? " exact" : ""));
  EXPECT_EQ(frequencies,
            (std::vector<std::string>{"t1 06:00:00 09:00:00 300 exact", "t2 23:00:00 25:30:00 1200"}));

  std::vector<std::string> services;
  for (const citygen::Service& s : network.timetable.services) {
    std::string text = WithoutFeed(s.id) + (s.hasCalendar ? " " : " -");
    if (s.hasCalendar) {
      for (const bool day : s.weekdays) text += day ? '1' : '0';
      text += " " + s.startDate + "-" + s.endDate;
    }
    for (const auto& [date, type] : s.exceptions) text += " " + date + (type == 1 ? "+" : "-");
    services.push_back(text);
  }
  EXPECT_EQ(services, (std::vector<std::string>{"wk 1111100 20190101-20191231 20190501- 20190502-",
                                                "unused 0000001 20200229-20200301", "we - 20190504+"}));
}

TEST_F(GtfsTimetableTest, IdsNameTheirFeedAndFeedsOfOneNameAreNumbered) {
  const std::string calls =
      std::string(kTimedHeader) + "t1,A,1,08:00:00,08:00:00\nt1,B,2,08:05:00,08:05:00\n";
  const Files one =
      Feed({{"stop_times.txt", calls.c_str()},
            {"trips.txt", "route_id,trip_id,service_id\nR,t1,daily\n"},
            {"frequencies.txt", "trip_id,start_time,end_time,headway_secs\nt1,06:00:00,07:00:00,600\n"},
            {"agency.txt", "agency_name,agency_timezone\n甲,Asia/Shanghai\n乙,Asia/Shanghai\n"}});
  // The later feeds call at other stops: C and D, then B and C.
  const std::string otherCalls =
      std::string(kTimedHeader) + "t1,C,1,08:00:00,08:00:00\nt1,D,2,08:05:00,08:05:00\n";
  const std::string thirdCalls =
      std::string(kTimedHeader) + "t1,B,1,08:00:00,08:00:00\nt1,C,2,08:05:00,08:05:00\n";
  Files two = one, three = one;
  two["stop_times.txt"] = otherCalls.c_str();
  two["agency.txt"] = "agency_name,agency_timezone\n丙,Asia/Tokyo\n";
  three["stop_times.txt"] = thirdCalls.c_str();
  three["agency.txt"] = nullptr;
  const auto network = ReadGtfsFeeds(
      {gtfsfixture::WriteFolder(Path("a/gtfs"), one), gtfsfixture::WriteZip(Path("gtfs.zip"), two),
       gtfsfixture::WriteFolder(Path("b/gtfs"), three)},
      {});
  std::vector<std::string> trips, platforms, services, frequencies;
  for (const citygen::Trip& trip : network.timetable.trips) {
    trips.push_back(trip.id + " " + trip.line + " " + trip.service + ": " + Calls(network, trip));
    for (const citygen::Call& call : trip.calls)
      platforms.push_back(network.timetable.platforms.at(std::size_t(call.platform)).id + " " +
                          network.timetable.platforms.at(std::size_t(call.platform)).name);
  }
  for (const citygen::Service& s : network.timetable.services) services.push_back(s.id);
  for (const citygen::Frequency& f : network.timetable.frequencies) frequencies.push_back(f.trip);
  EXPECT_EQ(trips, (std::vector<std::string>{
                       "gtfs:t1 5 (R, gtfs) gtfs:daily: A 08:00:00-08:00:00, B 08:05:00-08:05:00",
                       "gtfs#2:t1 5 (R, gtfs) [2] gtfs#2:daily: C 08:00:00-08:00:00, D 08:05:00-08:05:00",
                       "gtfs#3:t1 5 (R, gtfs) [3] gtfs#3:daily: B 08:00:00-08:00:00, C 08:05:00-08:05:00"}));
  EXPECT_EQ(platforms, (std::vector<std::string>{"gtfs:A 甲", "gtfs:B 乙", "gtfs#2:C 丙", "gtfs#2:D 丁",
                                                 "gtfs#3:B 乙", "gtfs#3:C 丙"}));
  EXPECT_EQ(network.timetable.platforms.size(), 6u) << "a platform a feed's stop called at";
  EXPECT_EQ(frequencies, (std::vector<std::string>{"gtfs:t1", "gtfs#2:t1", "gtfs#3:t1"}));

  EXPECT_EQ(network.timetable.timeZone, "Asia/Shanghai") << "the first feed's first agency's";
  EXPECT_EQ(network.reports.at(0).KeptCount("agency_timezone"), 2);
  EXPECT_EQ(network.reports.at(1).KeptCount("agency_timezone"), 1);
  EXPECT_NE(network.reports.at(1).Text().find("another time zone, its times read in the city's: Asia/Tokyo"),
            std::string::npos)
      << network.reports.at(1).Text();
  EXPECT_EQ(network.reports.at(2).Read("agency_timezone"), 0) << "no agency.txt";
}

TEST_F(GtfsTimetableTest, PlatformsAreProjectedWithTheCitysProjection) {
  const std::string calls =
      std::string(kTimedHeader) + "t1,D,1,08:00:00,08:00:00\nt1,B,2,08:05:00,08:05:00\n";
  TransitNetwork network = Read({{"stop_times.txt", calls.c_str()}});
  const qiwu::import::MapProjection projection(32650, {114.1, 30.1});
  citygen::City city;
  qiwu::import::AddTimetable(std::move(network.timetable), projection, city);
  ASSERT_EQ(city.timetable.platforms.size(), 2u);
  // Oracle: the stops' own positions in the city, as the stop layer holds them.
  qiwu::import::AddTransit(Read({{"stop_times.txt", calls.c_str()}}), projection, city);
  for (std::size_t k = 0; k < 2; ++k) {
    EXPECT_TRUE(city.timetable.platforms[k].placed);
    EXPECT_EQ(city.timetable.platforms[k].at, city.stops.at(k).at) << k;
  }
}

TEST_F(GtfsTimetableTest, TheSampleFeedKeepsEveryTripWithItsTimes) {
  const std::string feed = gtfsfixture::SampleFeed();
  if (!std::filesystem::exists(feed + "/gtfs.zip"))
    GTEST_SKIP() << feed << " is missing: run scripts/install-deps.sh";
  // What its files say, read apart from the importer.
  const auto agencies = PlainRows(feed + "/gtfs/agency.txt");
  std::map<std::string, std::vector<Row>> callsOf;
  for (const Row& call : PlainRows(feed + "/gtfs/stop_times.txt"))
    callsOf[call.at("trip_id")].push_back(call);
  std::set<std::string> expectedTrips;
  for (auto& [trip, calls] : callsOf) {
    std::sort(calls.begin(), calls.end(), [](const Row& a, const Row& b) {
      return std::stoul(a.at("stop_sequence")) < std::stoul(b.at("stop_sequence"));
    });
    std::string text;
    for (const Row& call : calls) {
      const std::string& arrival =
          call.at("arrival_time").empty() ? call.at("departure_time") : call.at("arrival_time");
      const std::string& departure = call.at("departure_time").empty() ? arrival : call.at("departure_time");
      text += (text.empty() ? "" : ", ") + call.at("stop_id") + " " + arrival + "-" + departure;
      const std::string pickup = call.at("pickup_type").empty() ? "0" : call.at("pickup_type");
      const std::string dropOff = call.at("drop_off_type").empty() ? "0" : call.at("drop_off_type");
      if (pickup != "0" || dropOff != "0") text += " p" + pickup + "d" + dropOff;
    }
    expectedTrips.insert(trip + ": " + text);
  }
  std::set<std::string> expectedFrequencies, expectedExceptions;
  for (const Row& f : PlainRows(feed + "/gtfs/frequencies.txt"))
    expectedFrequencies.insert(f.at("trip_id") + " " + f.at("start_time") + " " + f.at("end_time") + " " +
                               f.at("headway_secs") + " " + f.at("exact_times"));
  for (const Row& d : PlainRows(feed + "/gtfs/calendar_dates.txt"))
    expectedExceptions.insert(d.at("service_id") + " " + d.at("date") + " " + d.at("exception_type"));
  const auto calendar = PlainRows(feed + "/gtfs/calendar.txt");

  for (const std::string& path : {feed + "/gtfs.zip", feed + "/gtfs"}) {
    const auto network = ReadGtfsFeeds({path}, {});
    std::set<std::string> trips, frequencies, exceptions;
    for (const citygen::Trip& trip : network.timetable.trips) {
      EXPECT_EQ(trip.id.substr(0, 5), "gtfs:") << trip.id;
      trips.insert(WithoutFeed(trip.id) + ": " + Calls(network, trip));
    }
    EXPECT_EQ(trips, expectedTrips) << path;
    for (const citygen::Frequency& f : network.timetable.frequencies)
      frequencies.insert(WithoutFeed(f.trip) + " " + Clock(f.start) + " " + Clock(f.end) + " " +
                         std::to_string(f.headway) + " " + (f.exactTimes ? "1" : "0"));
    EXPECT_EQ(frequencies, expectedFrequencies) << path;
    std::size_t calendars = 0;
    for (const citygen::Service& s : network.timetable.services) {
      calendars += s.hasCalendar;
      for (const auto& [date, type] : s.exceptions)
        exceptions.insert(WithoutFeed(s.id) + " " + date + " " + std::to_string(type));
    }
    EXPECT_EQ(calendars, calendar.size()) << path;
    EXPECT_EQ(exceptions, expectedExceptions) << path;
    ASSERT_FALSE(agencies.empty());
    EXPECT_EQ(network.timetable.timeZone, agencies[0].at("agency_timezone")) << path;
    for (const Row& agency : agencies)
      if (agency.at("agency_timezone") != network.timetable.timeZone) {
        EXPECT_NE(network.reports.at(0).Text().find(agency.at("agency_timezone")), std::string::npos)
            << "another zone is noted\n"
            << network.reports.at(0).Text();
      }
  }
}

}  // namespace
