#include "cli/PointSearchArgs.h"

#include <cstdio>

#include "features/SpatialSearch.h"

int ReadPointSearch(const CliContext& context, const QStringList& args, int argCount, const char* usage,
                    PointSearchArgs& out) {
  bool okX = false, okY = false;
  if (args.size() == argCount) {
    out.x = args[1].toDouble(&okX);
    out.y = args[2].toDouble(&okY);
  }
  if (!okX || !okY) {
    std::fprintf(stderr, "usage: qiwu-cli %s\n", usage);
    return 2;
  }
  const MapResult loaded = LoadWorkspace(context.MainWorkspacePath(), out.workspace);
  if (!loaded.ok) {
    std::fprintf(stderr, "%s\n", qUtf8Printable(loaded.description));
    return 1;
  }
  out.type = args[0];
  out.layer = FindWorkspaceLayer(out.workspace, out.type);
  return 0;
}
