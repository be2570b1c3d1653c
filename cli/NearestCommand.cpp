// qiwu-cli nearest TYPE X Y: the name of the feature of TYPE nearest to (X, Y), a tab, and its
// distance in metres with two decimals, as the nearest panel finds it.
#include <QStringList>
#include <cstdio>

#include "cli/Command.h"
#include "features/SpatialSearch.h"
#include "map/Geometry.h"

namespace {

int RunNearest(const CliContext& context, const QStringList& args) {
  bool okX = false, okY = false;
  const double x = args.size() == 3 ? args[1].toDouble(&okX) : 0;
  const double y = args.size() == 3 ? args[2].toDouble(&okY) : 0;
  if (!okX || !okY) {
    std::fprintf(stderr, "usage: qiwu-cli nearest TYPE X Y\n");
    return 2;
  }
  Workspace workspace;
  const MapResult loaded = LoadWorkspace(context.MainWorkspacePath(), workspace);
  if (!loaded.ok) {
    std::fprintf(stderr, "%s\n", qUtf8Printable(loaded.description));
    return 1;
  }
  const QString& type = args[0];
  Layer* layer = FindWorkspaceLayer(workspace, type);
  const QString refusal = SearchRefusal(type, layer, true);
  if (!refusal.isEmpty()) {
    std::fprintf(stderr, "%s\n", qUtf8Printable(refusal));
    return 1;
  }
  const Feature nearest = layer->NearestFeature({x, y});
  const double distance = Distance({x, y}, nearest.Center());
  WriteOut(nearest.DisplayName() + u'\t' + QString::number(distance, 'f', 2) + u'\n');
  return 0;
}

const CommandRegistration registration{"nearest", "nearest TYPE X Y", &RunNearest};

}  // namespace
