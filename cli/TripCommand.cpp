// qiwu-cli trip FROM TO [--at T | --arrive-by T | --estimate] [--window MIN] [--max-changes N]
// [--json]: trip plans from place to place by the city's timetable, walking and riding with up to
// three changes; on a city without timetables, or with --estimate, the estimate at 20 km/h. FROM
// and TO are stop names, names of point features, or X,Y in map metres. docs/trip-planner.md
// describes the models and the JSON.
#include <QJsonDocument>
#include <cstdio>

#include "bus/TimedCity.h"
#include "bus/TimedPlanText.h"
#include "bus/TripCity.h"
#include "bus/TripPlanText.h"
#include "bus/TripSearch.h"
#include "cli/ClockArgs.h"
#include "cli/ClockTime.h"
#include "cli/Command.h"
#include "data/CityVocabulary.h"
#include "data/modDBAccess.h"
#include "map/MapReach.h"
#include "map/Workspace.h"

namespace {

constexpr const char* kUsage =
    "trip FROM TO [--at 'YYYY-MM-DD HH:MM' | --arrive-by 'YYYY-MM-DD HH:MM' | --estimate] [--window MIN] "
    "[--max-changes N] [--json] (FROM, TO: a stop, a place or X,Y)";

const QString kEstimateNote = QStringLiteral("（估计：不按时刻表，每程按时速 20 公里计）\n");

int Usage() {
  std::fprintf(stderr, "usage: qiwu-cli %s\n", kUsage);
  return 2;
}

// The point layers are searched from the top of the map downwards, as the keyword pick does.
std::vector<Layer*> LayersFromTop(const Workspace& workspace) {
  std::vector<Layer*> layers;
  for (auto it = workspace.layers.rbegin(); it != workspace.layers.rend(); ++it) layers.push_back(it->get());
  return layers;
}

int Estimate(const trip::Index& index, const trip::Place& from, const trip::Place& to,
             const ClockArgs& args) {
  const std::vector<trip::Plan> plans = trip::Search(index, from, to, {args.maxRides}).plans;
  if (args.json) {
    QJsonObject json = trip::PlansJson(index, from, to, plans, args.maxRides);
    json.insert("estimate", true);
    WriteOut(QString::fromUtf8(QJsonDocument(json).toJson(QJsonDocument::Indented)));
    return 0;
  }
  WriteOut(QStringLiteral("从 %1 到 %2\n").arg(from.label, to.label) + kEstimateNote);
  if (plans.empty()) WriteOut(trip::NoPlanReason(index, from, to, args.maxRides) + u'\n');
  for (std::size_t i = 0; i < plans.size(); ++i)
    WriteOut(QStringLiteral("\n方案 %1：").arg(i + 1) + trip::PlanText(index, plans[i], to));
  return 0;
}

int ByTheClock(const trip::TimedIndex& index, const trip::TimedEnd& from, const trip::TimedEnd& to,
               const ClockArgs& args) {
  const QTimeZone zone = trip::TimeZoneOf(index);
  const ClockTime when = ClockTimeOf(args, zone);
  trip::TimedQuery query{from, to, when.day, when.seconds};
  query.mode = args.arriveBy ? trip::TimedMode::ArriveBy : trip::TimedMode::DepartAt;
  query.windowSeconds = args.windowMinutes * 60;
  query.maxRides = args.maxRides;
  const std::vector<trip::TimedPlan> plans = trip::SearchTimed(index, query);
  const citygen::Timetable& timetable = trip::TimetableOf(index);
  const trip::TimedAsk ask{from, to, zone, when.day, when.at, args.maxRides};
  if (args.json) {
    QJsonObject json = trip::TimedPlansJson(timetable, ask, plans);
    if (args.arriveBy) json.insert("arrive_by", true);
    WriteOut(QString::fromUtf8(QJsonDocument(json).toJson(QJsonDocument::Indented)));
    return 0;
  }
  WriteOut(QStringLiteral("从 %1 到 %2，%3%4\n")
               .arg(from.label, to.label, when.at,
                    args.arriveBy ? QStringLiteral(" 前到达") : QStringLiteral(" 出发")));
  if (plans.empty()) WriteOut(trip::NoTimedPlanReason(timetable, ask) + u'\n');
  for (std::size_t i = 0; i < plans.size(); ++i)
    WriteOut(QStringLiteral("\n方案 %1：").arg(i + 1) + trip::TimedPlanText(timetable, ask, plans[i]));
  return 0;
}

int RunTrip(const CliContext& context, const QStringList& commandLine) {
  const std::optional<ClockArgs> parsed = ReadTripArgs(commandLine);
  if (!parsed) return Usage();
  const ClockArgs& args = *parsed;
  if (!OpenDatabase(context)) return 1;
  Workspace workspace;
  const Outcome loaded = LoadWorkspace(context.MainWorkspacePath(), workspace, context.serverConnection);
  if (!loaded.ok()) {
    std::fprintf(stderr, "%s\n", qUtf8Printable(loaded.description));
    return 1;
  }
  const std::vector<Layer*> layers = LayersFromTop(workspace);
  const Layer* stopLayer = nullptr;
  for (Layer* layer : layers)
    if (!stopLayer && layer->Name() == QString::fromUtf8(city::layer::kBusStops)) stopLayer = layer;
  QString error;
  const trip::Index* const found = trip::IndexOf(*modDBAccess::cnnCity, stopLayer, layers, error);
  if (!found) {
    std::fprintf(stderr, "trip: %s\n", qUtf8Printable(error));
    return 1;
  }
  const trip::TimedIndex* timed = nullptr;
  if (!args.estimate) {
    timed = trip::TimedIndexOf(*modDBAccess::cnnCity, layers, error);
    if (!timed && !error.isEmpty())
      std::fprintf(stderr, "trip: 时刻表不能用，按估计规划：%s\n", qUtf8Printable(error));
  }
  const std::optional<MapRect> extent = LayersExtent(std::vector<const Layer*>(layers.begin(), layers.end()));
  std::optional<trip::Place> places[2];
  trip::TimedEnd ends[2];
  for (int i = 0; i < 2; ++i) {
    const QString& name = args.names[i];
    places[i] = trip::FindPlace(*found, name, layers);
    if (timed) ends[i] = trip::TimedEndOf(*timed, name, places[i]);
    if (!places[i] && ends[i].platforms.empty()) {
      std::fprintf(stderr, "trip: 找不到地点“%s”\n", qUtf8Printable(name));
      return 1;
    }
    if (const QString off = places[i] ? trip::PlaceOffMap(*places[i], extent) : QString(); !off.isEmpty()) {
      std::fprintf(stderr, "trip: %s\n", qUtf8Printable(off));
      return 1;
    }
  }
  if (timed) return ByTheClock(*timed, ends[0], ends[1], args);
  return Estimate(*found, *places[0], *places[1], args);
}

const CommandRegistration registration{"trip", kUsage, &RunTrip};

}  // namespace
