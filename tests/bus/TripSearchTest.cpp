// The trip search against its Dijkstra referee on random trips, the model's rules on small
// networks, the places a user names, and how often it helps where the transfer search gives up.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <random>

#include "bus/BusPlanText.h"
#include "bus/TripCity.h"
#include "bus/TripSearch.h"
#include "bus/modBusChange.h"
#include "data/BusTable.h"
#include "data/CityVocabulary.h"
#include "data/modDBAccess.h"
#include "map/Workspace.h"
#include "tests/bus/TripDemoCity.h"
#include "tests/support/CliRun.h"
#include "tests/support/TripOracle.h"

using namespace trip;

namespace {

// The answer the referee's times give: per ride count, kept when quicker than every kept count
// with fewer rides.
std::vector<std::pair<int, double>> KeptByRule(const std::array<double, kMaxRides + 1>& best) {
  std::vector<std::pair<int, double>> kept;
  double quickest = kNoTrip;
  for (int r = 0; r <= kMaxRides; ++r)
    if (best[r] < quickest - kTieMinutes) kept.push_back({r, quickest = best[r]});
  return kept;
}

// Plans chosen among ties may be slower than the quickest by up to the tie.
bool SameTime(double a, double b) { return a == b || std::abs(a - b) <= kTieMinutes + 1e-9; }

void ExpectAgreement(const Network& network, int trips) {
  const Index index(network);
  const TripOracle oracle(index.Net());
  int disagreements = 0;
  for (const auto& [from, to] : RandomTrips(index.Net(), trips, 16)) {
    const std::array<double, kMaxRides + 1> expected = oracle.BestMinutes(from, to);
    const SearchResult every = Search(index, from, to, {kMaxRides, true});
    const SearchResult answer = Search(index, from, to);
    std::vector<std::pair<int, double>> got;
    for (const Plan& plan : answer.plans) got.push_back({plan.rides, plan.minutes});
    std::sort(got.begin(), got.end());
    const auto kept = KeptByRule(expected);
    bool same = got.size() == kept.size();
    for (std::size_t i = 0; same && i < got.size(); ++i)
      same = got[i].first == kept[i].first && SameTime(got[i].second, kept[i].second);
    for (int r = 0; r <= kMaxRides; ++r) same = same && SameTime(every.bestMinutes[r], expected[r]);
    if (same) continue;
    ADD_FAILURE() << from.label.toStdString() << " → " << to.label.toStdString();
    if (++disagreements == 5) return;
  }
}

TEST(TripSearch, AgreesWithDijkstraOnTheDemoCity) { ExpectAgreement(DemoCity::Get().index->Net(), 500); }

TEST(TripSearch, AgreesWithDijkstraOnAGeneratedNetworkOf3000Lines) {
  ExpectAgreement(GeneratedTripNetwork(3000, 7), 500);
}

// Where the transfer search says more than one change is needed, the planner should find a bus.
TEST(TripSearch, FindsARideForMostPairsTheTransferSearchGivesUpOn) {
  DemoCity& demo = DemoCity::Get();
  const modDBAccess::CurrentCity current(demo.database);
  const Network& network = demo.index->Net();
  std::mt19937 random(3);
  int tooFar = 0, ridden = 0;
  while (tooFar < 300) {
    const int a = int(random() % network.stops.size()), b = int(random() % network.stops.size());
    if (a == b) continue;
    const QString from = network.stops[a].name, to = network.stops[b].name;
    if (modBusChange::FindBusChange(from, to, QString::fromUtf8(city::kBusTable)) !=
        modBusChange::TooFarAnswer())
      continue;
    ++tooFar;
    const auto plans =
        Search(*demo.index, *FindPlace(*demo.index, from, {}), *FindPlace(*demo.index, to, {})).plans;
    ridden += std::any_of(plans.begin(), plans.end(), [](const Plan& p) { return p.rides > 0; });
  }
  std::printf("a ride for %d of %d pairs the transfer search gives up on\n", ridden, tooFar);
  EXPECT_GE(ridden * 100, tooFar * 95) << ridden << " of " << tooFar;
}

// A network on a straight street: stops named by their x in metres ("0", "500", …), lines by the
// stops they pass; "-" marks a stop without position.
Network Street(const std::vector<QString>& stops, const std::vector<std::vector<int>>& lines) {
  Network network;
  for (const QString& name : stops) {
    Stop& stop = network.stops.emplace_back();
    stop.name = name;
    stop.placed = name != QStringLiteral("-");
    stop.position = {name.toDouble(), 0};
  }
  for (std::size_t l = 0; l < lines.size(); ++l) {
    Line& line = network.lines.emplace_back();
    line.name = QStringLiteral("%1路").arg(l + 1);
    line.stops = lines[l];
  }
  return network;
}

Place At(double x) { return {QString::number(x), -1, true, {x, 0}}; }

TEST(TripSearch, FollowsTheModel) {
  struct Case {
    const char* what;
    Network network;
    Place from, to;
    std::vector<int> rides;  // of the answer's plans, in order
  };
  const Case cases[] = {
      {"a short trip: walking is quickest and alone", Street({"0", "3000"}, {{0, 1}}), At(0), At(100), {0}},
      {"riding beats walking; walking still listed",
       Street({"0", "3000"}, {{0, 1}}),
       At(0),
       At(3000),
       {1, 0}},
      {"no stop within 800 m of the start", Street({"0", "5000"}, {{0, 1}}), At(-801), At(5000), {0}},
      {"a change by walking 250 m",
       Street({"0", "6000", "6250", "12000"}, {{0, 1}, {2, 3}}),
       At(0),
       At(12000),
       {2, 0}},
      {"no change by walking 350 m",
       Street({"0", "6000", "6350", "12000"}, {{0, 1}, {2, 3}}),
       At(0),
       At(12000),
       {0}},
      {"a line is ridden either way", Street({"0", "9000"}, {{1, 0}}), At(0), At(9000), {1, 0}},
      {"at most four rides",
       Street({"0", "4000", "8000", "12000", "16000", "20000"}, {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 5}}),
       At(0),
       At(20000),
       {0}},
      {"stops without position are boarded by name",
       Street({"0", "-", "-", "9000"}, {{0, 1}, {1, 2}, {2, 3}}),
       At(0),
       At(9000),
       {3, 0}},
  };
  for (const Case& c : cases) {
    const Index index(c.network);
    std::vector<int> rides;
    for (const Plan& plan : Search(index, c.from, c.to).plans) rides.push_back(plan.rides);
    EXPECT_EQ(rides, c.rides) << c.what;
  }
}

TEST(TripSearch, NamesAStopAPointFeatureOrAPoint) {
  DemoCity& demo = DemoCity::Get();
  Layer* sights = nullptr;
  for (Layer* layer : demo.layersFromTop)
    if (layer->Name() == QString::fromUtf8(city::layer::kSights)) sights = layer;
  ASSERT_TRUE(sights);
  const Feature sight = sights->FeatureForId(1);
  const QString stop = demo.index->Net().stops[0].name;
  struct Case {
    QString text;
    bool found;
    int stop;
    MapPoint point;
  };
  const Case cases[] = {
      {stop, true, 0, demo.index->Net().stops[0].position},
      {sight.DisplayName(), true, -1, sight.Center()},
      {QStringLiteral("501000.5, 3401000"), true, -1, {501000.5, 3401000}},
      {QStringLiteral("1,nan"), false, -1, {}},
      {QStringLiteral("没有这个地方"), false, -1, {}},
  };
  for (const Case& c : cases) {
    const auto place = FindPlace(*demo.index, c.text, demo.layersFromTop);
    ASSERT_EQ(place.has_value(), c.found) << c.text.toStdString();
    if (!place) continue;
    EXPECT_EQ(place->stop, c.stop) << c.text.toStdString();
    EXPECT_EQ(place->point, c.point) << c.text.toStdString();
  }
}

// The JSON holds together, by the demo city's timetable and as the estimate: walks' metres add up
// to walk_metres, rides list their ends.
TEST(TripCommand, WritesPlansAsJson) {
  const Network& network = DemoCity::Get().index->Net();
  const QStringList pairs[] = {{network.stops[3].name, network.stops[400].name},
                               {QStringLiteral("499000,3399000"), QStringLiteral("499100,3399000")},
                               {QStringLiteral("499000,3399000"), network.stops[9].name}};
  const QStringList when[] = {{"--at", "2024-03-05 08:00"}, {"--estimate"}};
  for (const QStringList& pair : pairs)
    for (const QStringList& how : when) {
      const CliRun run =
          RunProgram(QStringLiteral(QIWU_CLI),
                     QStringList{"--root", kDemoDir, "trip", pair[0], pair[1], "--json"} + how);
      ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
      const QJsonObject json = QJsonDocument::fromJson(run.out).object();
      EXPECT_EQ(json["from"].toString(), pair[0]);
      EXPECT_EQ(json["estimate"].toBool(), how.contains("--estimate"));
      const QJsonArray plans = json["plans"].toArray();
      EXPECT_EQ(plans.isEmpty(), json.contains("reason")) << run.out.toStdString();
      for (const QJsonValue& plan : plans) {
        double walked = 0;
        int rides = 0;
        for (const QJsonValue& leg : plan["legs"].toArray()) {
          if (leg["mode"] == "walk") walked += leg["metres"].toDouble();
          if (leg["mode"] != "ride") continue;
          ++rides;
          const QJsonArray stops = leg["stops"].toArray();
          EXPECT_EQ(stops.first(), leg["from"]);
          EXPECT_EQ(stops.last(), leg["to"]);
        }
        EXPECT_NEAR(plan["walk_metres"].toDouble(), walked, 0.051);
        EXPECT_EQ(plan["changes"].toInt(), std::max(rides - 1, 0));
      }
    }
}

}  // namespace
