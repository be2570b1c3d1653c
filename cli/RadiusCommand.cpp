// qiwu-cli radius TYPE X Y R: the display names of the features of TYPE lying wholly inside the
// circle of R metres around (X, Y), one a line, in the order the radius panel lists them.
#include <QStringList>
#include <cstdio>

#include "cli/Command.h"
#include "features/SpatialSearch.h"

namespace {

int RunRadius(const CliContext& context, const QStringList& args) {
  bool okX = false, okY = false;
  const double x = args.size() == 4 ? args[1].toDouble(&okX) : 0;
  const double y = args.size() == 4 ? args[2].toDouble(&okY) : 0;
  if (!okX || !okY) {
    std::fprintf(stderr, "usage: qiwu-cli radius TYPE X Y R\n");
    return 2;
  }
  Workspace workspace;
  const MapResult loaded = LoadWorkspace(context.MainWorkspacePath(), workspace);
  if (!loaded.ok) {
    std::fprintf(stderr, "%s\n", qUtf8Printable(loaded.description));
    return 1;
  }
  const QString& type = args[0];
  const float radius = RadiusFromText(args[3]);
  Layer* layer = FindWorkspaceLayer(workspace, type);
  QString refusal = SearchRefusal(type, layer, false);
  if (refusal.isEmpty()) refusal = RadiusRefusal(radius);
  if (!refusal.isEmpty()) {
    std::fprintf(stderr, "%s\n", qUtf8Printable(refusal));
    return 1;
  }
  QString out;
  for (const Feature& feature : FeaturesInRadius(*layer, {x, y}, radius))
    out += feature.DisplayName() + u'\n';
  WriteOut(out);
  return 0;
}

const CommandRegistration registration{"radius", "radius TYPE X Y R", &RunRadius};

}  // namespace
