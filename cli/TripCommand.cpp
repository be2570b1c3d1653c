// qiwu-cli trip FROM TO [--max-changes N] [--json]: trip plans from place to place, walking and
// riding with up to three changes. FROM and TO are stop names, names of point features, or X,Y in
// map metres. docs/trip-planner.md describes the model and the JSON.
#include <QJsonDocument>
#include <cstdio>

#include "bus/TripCity.h"
#include "bus/TripPlanText.h"
#include "bus/TripSearch.h"
#include "cli/Command.h"
#include "data/CityVocabulary.h"
#include "data/modDBAccess.h"
#include "map/MapReach.h"
#include "map/Workspace.h"

namespace {

constexpr const char* kUsage = "trip FROM TO [--max-changes N] [--json] (FROM, TO: a stop, a place or X,Y)";

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

int RunTrip(const CliContext& context, const QStringList& args) {
  QStringList names;
  bool json = false;
  int maxRides = trip::kMaxRides;
  for (int i = 0; i < args.size(); ++i) {
    if (args[i] == QStringLiteral("--json")) {
      json = true;
    } else if (args[i] == QStringLiteral("--max-changes") && i + 1 < args.size()) {
      bool ok = false;
      const int changes = args[++i].toInt(&ok);
      if (!ok || changes < 0 || changes > trip::kMaxRides - 1) return Usage();
      maxRides = changes + 1;
    } else {
      names << args[i];
    }
  }
  if (names.size() != 2) return Usage();
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
  const trip::Index* const found = trip::IndexOf(*modDBAccess::cnnCity, stopLayer, error);
  if (!found) {
    std::fprintf(stderr, "trip: %s\n", qUtf8Printable(error));
    return 1;
  }
  const trip::Index& index = *found;
  const std::optional<MapRect> extent = LayersExtent(std::vector<const Layer*>(layers.begin(), layers.end()));
  std::optional<trip::Place> places[2];
  for (int i = 0; i < 2; ++i) {
    places[i] = trip::FindPlace(index, names[i], layers);
    if (!places[i]) {
      std::fprintf(stderr, "trip: 找不到地点“%s”\n", qUtf8Printable(names[i]));
      return 1;
    }
    if (const QString off = trip::PlaceOffMap(*places[i], extent); !off.isEmpty()) {
      std::fprintf(stderr, "trip: %s\n", qUtf8Printable(off));
      return 1;
    }
  }
  const trip::Place& from = *places[0];
  const trip::Place& to = *places[1];
  const std::vector<trip::Plan> plans = trip::Search(index, from, to, {maxRides}).plans;
  if (json) {
    WriteOut(QString::fromUtf8(
        QJsonDocument(trip::PlansJson(index, from, to, plans, maxRides)).toJson(QJsonDocument::Indented)));
    return 0;
  }
  WriteOut(QStringLiteral("从 %1 到 %2\n").arg(from.label, to.label));
  if (plans.empty()) WriteOut(trip::NoPlanReason(index, from, to, maxRides) + u'\n');
  for (std::size_t i = 0; i < plans.size(); ++i)
    WriteOut(QStringLiteral("\n方案 %1：").arg(i + 1) + trip::PlanText(index, plans[i], to));
  return 0;
}

const CommandRegistration registration{"trip", kUsage, &RunTrip};

}  // namespace
