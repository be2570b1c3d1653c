// qiwu-cli trip and departures on the published sample GTFS feed, imported by qiwu-import: plans
// by the feed's clock, and departure lists checked against the feed's own files read here.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTimeZone>
#include <map>
#include <memory>
#include <set>
#include <tuple>

#include "tests/support/CliRun.h"
#include "tests/support/RealFixtures.h"

namespace {

const QString kCity = QStringLiteral("样例线网");
const QString kFeed = QStringLiteral("gtfs");  // gtfs.zip: the platforms' and trips' prefix

QString Program(const char* name) { return QCoreApplication::applicationDirPath() + "/" + name; }

// A table of the unpacked feed: its rows as column → value.
using Rows = std::vector<std::map<QString, QString>>;

Rows ReadFeedTable(const char* file) {
  QFile in(realdata::Fixture("sample-gtfs-feed/gtfs/") + file);
  if (!in.open(QIODevice::ReadOnly)) throw std::runtime_error(file);
  const QStringList lines = QString::fromUtf8(in.readAll()).split('\n', Qt::SkipEmptyParts);
  const QStringList header = lines.front().trimmed().split(',');
  Rows rows;
  for (qsizetype i = 1; i < lines.size(); ++i) {
    const QStringList values = lines[i].trimmed().split(',');
    auto& row = rows.emplace_back();
    for (qsizetype c = 0; c < header.size() && c < values.size(); ++c) row[header[c]] = values[c];
  }
  return rows;
}

int Seconds(const QString& text) {
  const QStringList parts = text.split(':');
  return parts[0].toInt() * 3600 + parts[1].toInt() * 60 + parts[2].toInt();
}

QString TimeText(int seconds) {
  return QString::asprintf("%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
}

bool ServiceRuns(const QString& service, QDate day) {
  const QString date = day.toString("yyyyMMdd");
  for (const auto& row : ReadFeedTable("calendar_dates.txt"))
    if (row.at("service_id") == service && row.at("date") == date) return row.at("exception_type") == "1";
  static const char* kDays[] = {"monday", "tuesday", "wednesday", "thursday", "friday", "saturday", "sunday"};
  for (const auto& row : ReadFeedTable("calendar.txt"))
    if (row.at("service_id") == service)
      return row.at(kDays[day.dayOfWeek() - 1]) == "1" && row.at("start_date") <= date &&
             date <= row.at("end_date");
  return false;
}

// Noon minus 12 h of day on the feed's clock (its first agency's zone), where its times count from:
// 23:00 or 01:00 of the wall clock on the days the clocks change.
QDateTime DayStart(QDate day) {
  return QDateTime(day, QTime(12, 0), QTimeZone("Europe/Warsaw")).addSecs(-12 * 3600);
}

using DepartureKey =
    std::tuple<QString, QString, QString, QString, QString>;  // trip, platform, depart, line, headsign

QString StopName(const QString& id) {
  for (const auto& row : ReadFeedTable("stops.txt"))
    if (row.at("stop_id") == id) return row.at("stop_name");
  return {};
}

// The line a trip belongs to: its route's short name (every route of this feed has one, no two alike).
QString LineOf(const QString& route) {
  for (const auto& row : ReadFeedTable("routes.txt"))
    if (row.at("route_id") == route) return row.at("route_short_name");
  return {};
}

// The departures at the platforms named stop within window seconds from the wall time on day,
// straight from the feed, in seconds from DayStart(day): the trips of day and of the day before (past 24:00),
// frequencies expanded, no last calls and no calls without pickup. Every call of this feed's trips that
// departs has a time.
std::set<DepartureKey> FeedDepartures(const QString& stop, QDate day, QTime time, int window) {
  const int at = int(DayStart(day).secsTo(QDateTime(day, time, QTimeZone("Europe/Warsaw"))));
  std::set<QString> platforms;
  for (const auto& row : ReadFeedTable("stops.txt"))
    if (row.at("stop_name") == stop) platforms.insert(row.at("stop_id"));
  std::map<QString, std::map<int, std::map<QString, QString>>> calls;  // trip → sequence → row
  for (const auto& row : ReadFeedTable("stop_times.txt"))
    calls[row.at("trip_id")][row.at("stop_sequence").toInt()] = row;
  std::set<DepartureKey> found;
  for (const auto& trip : ReadFeedTable("trips.txt")) {
    const auto& tripCalls = calls[trip.at("trip_id")];
    auto departure = [](const std::map<QString, QString>& call) {
      return Seconds(call.at("departure_time").isEmpty() ? call.at("arrival_time")
                                                         : call.at("departure_time"));
    };
    const int first = departure(tripCalls.begin()->second);
    const QString headsign = trip.at("trip_headsign").isEmpty()
                                 ? StopName(tripCalls.rbegin()->second.at("stop_id"))
                                 : trip.at("trip_headsign");
    std::vector<int> offsets;
    for (const auto& f : ReadFeedTable("frequencies.txt"))
      if (f.at("trip_id") == trip.at("trip_id"))
        for (int t = Seconds(f.at("start_time")); t < Seconds(f.at("end_time"));
             t += f.at("headway_secs").toInt())
          offsets.push_back(t - first);
    if (offsets.empty()) offsets.push_back(0);
    for (int daysBack : {0, 1}) {
      if (!ServiceRuns(trip.at("service_id"), day.addDays(-daysBack))) continue;
      for (auto call = tripCalls.begin(); std::next(call) != tripCalls.end(); ++call) {
        if (!platforms.count(call->second.at("stop_id")) || call->second.at("pickup_type") == "1") continue;
        for (int offset : offsets) {
          const int depart =
              departure(call->second) + offset - int(DayStart(day.addDays(-daysBack)).secsTo(DayStart(day)));
          if (depart >= at && depart <= at + window)
            found.insert({kFeed + ':' + trip.at("trip_id"), kFeed + ':' + call->second.at("stop_id"),
                          TimeText(depart), LineOf(trip.at("route_id")), headsign});
        }
      }
    }
  }
  return found;
}

class SampleFeedProgram : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!realdata::Installed()) return;
    root_ = std::make_unique<QTemporaryDir>();
    imported_ = RunProgram(Program("qiwu-import"),
                           {"--city", kCity, "--out", root_->path(), "--gtfs", realdata::Feed()});
  }
  static void TearDownTestSuite() { root_.reset(); }
  void SetUp() override {
    REQUIRE_REAL_FIXTURES();
    ASSERT_EQ(imported_.exitCode, 0) << imported_.err.toStdString();
  }
  static CliRun Cli(const QStringList& command) {
    return RunProgram(Program("qiwu-cli"), QStringList{"--root", root_->path(), "--city", kCity} + command);
  }
  static QJsonObject Json(const CliRun& run) { return QJsonDocument::fromJson(run.out).object(); }

  static inline std::unique_ptr<QTemporaryDir> root_;
  static inline CliRun imported_{-1, {}, {}};
};

// The plan arriving first, or an empty object.
QJsonObject Earliest(const QJsonObject& answer) {
  QJsonObject best;
  for (const QJsonValue plan : answer["plans"].toArray())
    if (best.isEmpty() || plan["arrive"].toString() < best["arrive"].toString()) best = plan.toObject();
  return best;
}

QJsonArray Rides(const QJsonObject& plan) {
  QJsonArray rides;
  for (const QJsonValue leg : plan["legs"].toArray())
    if (leg["mode"] == "ride") rides.append(leg);
  return rides;
}

TEST_F(SampleFeedProgram, PlansByTheFeedsClock) {
  const CliRun run = Cli({"trip", "Platform 1", "City Center", "--at", "2019-05-07 15:20", "--json"});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  const QJsonObject answer = Json(run);
  EXPECT_EQ(answer["estimate"], false);
  EXPECT_EQ(answer["at"], "2019-05-07 15:20");
  const QJsonObject plan = Earliest(answer);
  EXPECT_EQ(plan["arrive"], "15:35:00") << run.out.toStdString();
  EXPECT_EQ(plan["depart"], "15:24:00");
  EXPECT_EQ(plan["rides"], 1);
  const QJsonArray rides = Rides(plan);
  ASSERT_EQ(rides.size(), 1);
  EXPECT_EQ(rides[0]["trip"], kFeed + ":a-downtown-all-day");
  EXPECT_EQ(rides[0]["from_id"], kFeed + ":airport-1");
  EXPECT_EQ(rides[0]["to_id"], kFeed + ":center");
  EXPECT_EQ(rides[0]["depart"], "15:24:00");
  EXPECT_EQ(rides[0]["arrive"], "15:35:00");

  const CliRun text = Cli({"trip", "Platform 1", "City Center", "--at", "2019-05-07 15:20"});
  ASSERT_EQ(text.exitCode, 0) << text.err.toStdString();
  EXPECT_TRUE(QString::fromUtf8(text.out).contains("15:24 出发 → 15:35 到达")) << text.out.toStdString();
}

TEST_F(SampleFeedProgram, ArrivesByTheTimeAskedLeavingAsLateAsItCan) {
  const CliRun run = Cli({"trip", "Platform 1", "City Center", "--arrive-by", "2019-05-07 15:40", "--json"});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  QString latest;
  for (const QJsonValue plan : Json(run)["plans"].toArray()) {
    EXPECT_LE(plan["arrive"].toString(), "15:40:00");
    if (plan["rides"].toInt() > 0) latest = std::max(latest, plan["depart"].toString());
  }
  EXPECT_EQ(latest, "15:24:00") << run.out.toStdString();
}

TEST_F(SampleFeedProgram, EstimatesWhenAskedAndRefusesBadTimes) {
  const CliRun estimate = Cli({"trip", "Platform 1", "City Center", "--estimate", "--json"});
  ASSERT_EQ(estimate.exitCode, 0) << estimate.err.toStdString();
  EXPECT_EQ(Json(estimate)["estimate"], true);
  EXPECT_FALSE(Json(estimate)["plans"].toArray().isEmpty());
  for (const char* bad : {"2019-02-29 10:00", "2019-05-07 25:00", "next tuesday"}) {
    const CliRun refused = Cli({"trip", "Platform 1", "City Center", "--at", bad});
    EXPECT_EQ(refused.exitCode, 2) << bad;
    EXPECT_TRUE(refused.err.contains("usage")) << bad;
    EXPECT_EQ(Cli({"departures", "Platform 1", "--at", bad}).exitCode, 2) << bad;
  }
}

TEST_F(SampleFeedProgram, DeparturesAreTheFeedsOwn) {
  struct Case {
    const char* stop;
    QDate day;
    const char* time;
    int windowMinutes;
  };
  const Case cases[] = {
      {"Platform 1", {2019, 5, 7}, "15:00", 60},                   // a Tuesday: the all-day line
      {"Platform 1", {2019, 5, 1}, "15:00", 60},                   // all-day is taken off on May 1
      {"Platform 1", {2019, 5, 11}, "15:00", 300},                 // a Saturday: the weekend trip too
      {"City Center", {2019, 5, 7}, "15:00", 60},                  // every 10 minutes by frequencies.txt
      {"City Center", {2019, 5, 7}, "15:10", 0},                   // one run, at the window's only second
      {"International Airport (ABC)", {2019, 5, 7}, "07:30", 60},  // every 5 minutes from 08:00
      {"Lake", {2019, 5, 11}, "13:00", 60},                        // the weekend trip takes no one on there
      {"Lake", {2019, 5, 7}, "08:00", 60},                         // ask the driver: a departure all the same
      // A trip of 30 March past 24:00, asked that night and after midnight, when the clocks go forward.
      {"International Airport (ABC)", {2019, 3, 30}, "23:50", 180},
      {"International Airport (ABC)", {2019, 3, 31}, "00:30", 120},
  };
  for (const Case& c : cases) {
    const QString at = c.day.toString("yyyy-MM-dd") + ' ' + c.time;
    SCOPED_TRACE((c.stop + (" " + at)).toStdString());
    const CliRun run =
        Cli({"departures", c.stop, "--at", at, "--window", QString::number(c.windowMinutes), "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject answer = Json(run);
    EXPECT_EQ(answer["stop"], c.stop);
    EXPECT_EQ(answer["at"], at);
    std::set<DepartureKey> listed;
    QString previous;
    for (const QJsonValue d : answer["departures"].toArray()) {
      listed.insert({d["trip"].toString(), d["platform"].toString(), d["depart"].toString(),
                     d["line"].toString(), d["headsign"].toString()});
      EXPECT_GE(d["depart"].toString(), previous) << "by time";
      previous = d["depart"].toString();
    }
    EXPECT_EQ(listed, FeedDepartures(c.stop, c.day, QTime::fromString(c.time, "HH:mm"), c.windowMinutes * 60))
        << run.out.toStdString();
  }
}

}  // namespace
